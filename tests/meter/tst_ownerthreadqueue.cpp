#include "meter/ownerthreadqueue.h"

#include <QTest>
#include <QThread>

#include <memory>
#include <thread>
#include <vector>

namespace {

// The queue as it is meant to be kept: a member of its owner.
struct Owner : QObject
{
    OwnerThreadQueue queue{this};
};

} // namespace

// Work handed from a worker thread to the thread of the queue's owner.
class TestOwnerThreadQueue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void runsInOrderOnTheOwnersThread()
    {
        constexpr int count = 2000;
        Owner owner;
        std::vector<int> ran;
        bool elsewhere = false;
        std::thread worker([&] {
            for (int i = 0; i < count; ++i) {
                owner.queue.post([&, i] {
                    ran.push_back(i);
                    elsewhere = elsewhere || QThread::currentThread() != owner.thread();
                });
            }
        });
        QVERIFY(ran.empty()); // nothing runs before the owner's thread takes its events
        // Taken while the worker still posts, so a hand-over the race checker cannot see shows.
        QTRY_COMPARE(ran.size(), size_t(count));
        worker.join();
        for (int i = 0; i < count; ++i)
            QCOMPARE(ran[size_t(i)], i);
        QVERIFY(!elsewhere);
    }

    // One queued call per work: the owner may go between two, and what waits goes with it.
    void ownerDeletedBetweenTwo()
    {
        auto owner = std::make_unique<Owner>();
        int ran = 0;
        std::thread worker([&] {
            owner->queue.post([&] {
                ++ran;
                owner.reset();
            });
            owner->queue.post([&] { ++ran; });
        });
        worker.join();
        QTRY_VERIFY(!owner);
        QTest::qWait(20);
        QCOMPARE(ran, 1);
    }
};

QTEST_GUILESS_MAIN(TestOwnerThreadQueue)
#include "tst_ownerthreadqueue.moc"
