#pragma once

#include <QObject>

#include <deque>
#include <functional>
#include <mutex>

// Hands work from a worker thread to the thread its owner lives in: each posted function runs
// there, in the order posted, one per queued call, so the owner may be deleted between two; what
// still waits when the owner goes is dropped with it. Keep it as a member of the owner, and join
// the worker before the owner's members go.
//
// The functions wait under a lock both threads take, and each is posted while holding it: Qt's
// event queue locks with futexes ThreadSanitizer cannot see, so this lock is what shows it the
// hand-over, and Qt's event allocated on the worker before it is deleted on the owner's thread.
class OwnerThreadQueue
{
public:
    explicit OwnerThreadQueue(QObject *owner)
        : m_owner(owner)
    {
    }
    OwnerThreadQueue(const OwnerThreadQueue &) = delete;
    OwnerThreadQueue &operator=(const OwnerThreadQueue &) = delete;

    // From any thread.
    void post(std::function<void()> work);

private:
    void runNext();

    QObject *const m_owner;
    std::mutex m_mutex;
    std::deque<std::function<void()>> m_waiting;
};
