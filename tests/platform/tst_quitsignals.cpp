#include "platform/quitsignals.h"

#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <csignal>

// A logout or a kill ends the message loop normally instead of killing the process, so the exit
// save still runs.
class TestQuitSignals : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void signalsEndTheMessageLoop_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }

    void signalsEndTheMessageLoop()
    {
        QFETCH(int, signal);
        const QuitOnSignals quitOnSignals;
        bool timedOut = false;
        QTimer::singleShot(0, [signal] { std::raise(signal); });
        QTimer::singleShot(5000, [&timedOut] {
            timedOut = true;
            QCoreApplication::quit();
        });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!timedOut);
        QVERIFY(quitOnSignals.quitRequested());
    }

    // A signal during a message box shown before the program's own loop: the box's loop ends and
    // the caller learns not to start the program's loop.
    void signalEndsANestedLoop()
    {
        const QuitOnSignals quitOnSignals;
        QEventLoop nested;
        QTimer::singleShot(0, [] { std::raise(SIGTERM); });
        QTimer::singleShot(5000, &nested, [&nested] { nested.exit(1); });
        QCOMPARE(nested.exec(), 0);
        QVERIFY(quitOnSignals.quitRequested());
    }
};

QTEST_GUILESS_MAIN(TestQuitSignals)
#include "tst_quitsignals.moc"
