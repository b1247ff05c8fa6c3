#include "app/program.h"
#include "net/latencyprobe.h"
#include "net/pinger.h"
#include "platform/dialogs.h"
#include "support/testnetwork.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

// The latency probe in the running program: the label beside "Ping ( ms ):", and the meter tick
// that must keep coming while an echo waits. The probe's socket lives in a network namespace of
// the test's own, with a host that never answers.
class TestProbeWiring : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { Dialogs::setHandler({}); }

    void unansweredProbeShowsADashAndTheMeterKeepsTicking()
    {
        if (::geteuid() != 0)
            QSKIP("the probe test needs root: it makes network namespaces and opens an ICMP socket");
        const TestNetwork network(u"wire"_s);
        QVERIFY2(network.ok, qPrintable(network.error));
        QStringList shown;
        Dialogs::setHandler([&](const Dialogs::Request &request) {
            shown << request.text;
            return QMessageBox::Ok;
        });

        QTemporaryDir dir;
        QFile ini(dir.filePath(u"tarvo.ini"_s));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(QByteArray("[System]\nlastshut=46366.25\n[Ping]\nurl=") + TestNetwork::silentAddress
                  + "\ntimeout=2000\n");
        ini.close();
        std::unique_ptr<Program> program;
        {
            const InsideNamespace inside(network.prober);
            QVERIFY(inside.entered);
            program = std::make_unique<Program>(ProgramEnvironment{dir.path() + u'/', [] { return 46366.25; }});
        }
        QCOMPARE(shown, QStringList());
        Controller &controller = program->controller;
        QLabel *label = program->monitorWindow.pingValue;
        LatencyProbe *probe = controller.latencyProbe();
        QVERIFY(probe);
        QCOMPARE(probe->pinger().timeout(), 2000);
        QCOMPARE(label->text(), u"0"_s);

        int ticks = 0;
        int ticksAtRequest = -1;
        int ticksAtResult = -1;
        connect(controller.tickTimer, &QTimer::timeout, this, [&] { ++ticks; });
        connect(&probe->pinger(), &Pinger::echoRequest, this, [&] {
            if (ticksAtRequest < 0)
                ticksAtRequest = ticks;
        });
        connect(probe, &LatencyProbe::resultReady, this, [&] {
            if (ticksAtResult < 0)
                ticksAtResult = ticks;
        });
        controller.tickTimer->start();
        controller.pingTimer->start(10); // rather than waiting 30 s for the first probe

        QTRY_COMPARE_WITH_TIMEOUT(label->text(), u"-"_s, 20000);
        QVERIFY(ticksAtRequest >= 0);
        QVERIFY2(ticksAtResult > ticksAtRequest, "no meter tick ran while the echo waited");

        // The host is read at every probe.
        controller.settings.pingHost = u"127.0.0.1"_s;
        QTRY_VERIFY_WITH_TIMEOUT(label->text() != u"-"_s, 20000);
        bool number = false;
        label->text().toUInt(&number);
        QVERIFY2(number, qPrintable(label->text()));
    }
};

QTEST_MAIN(TestProbeWiring)
#include "tst_probewiring.moc"
