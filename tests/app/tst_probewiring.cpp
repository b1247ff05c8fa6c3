#include "app/program.h"
#include "meter/oledate.h"
#include "net/latencyprobe.h"
#include "platform/dialogs.h"
#include "support/controls.h"
#include "support/testnetwork.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Takes CAP_NET_RAW out of the calling thread's effective set until the end of the scope, so that
// even root cannot open a raw socket here.
class WithoutRawSockets
{
public:
    WithoutRawSockets()
    {
        ok = ::syscall(SYS_capget, &m_header, m_saved) == 0;
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        reduced[0].effective &= ~(1u << CAP_NET_RAW);
        ok = ok && ::syscall(SYS_capset, &m_header, reduced) == 0;
    }
    ~WithoutRawSockets()
    {
        if (ok)
            ::syscall(SYS_capset, &m_header, m_saved);
    }
    WithoutRawSockets(const WithoutRawSockets &) = delete;
    WithoutRawSockets &operator=(const WithoutRawSockets &) = delete;

    bool ok = false;

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2] = {};
};

} // namespace

// The latency probe in the running program: the label beside "Ping ( ms ):", and the meter tick
// that must keep coming while an echo waits. The probe's socket lives in a network namespace of
// the test's own, with a host that never answers.
class TestProbeWiring : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestNetwork> network;
    std::unique_ptr<QTemporaryDir> dir;
    QStringList shown;

    // A program with `ping` as its "Ping" section, made inside the namespace `ns` so that the
    // probe's socket lives there.
    std::unique_ptr<Program> startProgram(const QString &ns, const QByteArray &ping, bool rawSockets = true)
    {
        QFile ini(dir->filePath(u"tarvo.ini"_s));
        if (!ini.open(QIODevice::WriteOnly) || ini.write("[System]\nlastshut=46366.25\n[Ping]\n" + ping) < 0)
            return nullptr;
        ini.close();
        const InsideNamespace inside(ns);
        std::optional<WithoutRawSockets> withoutRawSockets;
        if (!rawSockets)
            withoutRawSockets.emplace();
        if (!inside.entered || (withoutRawSockets && !withoutRawSockets->ok))
            return nullptr;
        return std::make_unique<Program>(ProgramEnvironment{dir->path() + u'/', [] { return oleDateToDateTime(46366.25); }});
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (::geteuid() != 0)
            QSKIP("the probe tests need root: they make network namespaces and open ICMP sockets");
        network = std::make_unique<TestNetwork>(u"wire"_s);
        QVERIFY2(network->ok, qPrintable(network->error));
    }
    void cleanupTestCase() { network.reset(); }
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        shown.clear();
        Dialogs::setHandler([this](const Dialogs::Request &request) {
            shown << request.text;
            return QMessageBox::Ok;
        });
    }
    void cleanup() { Dialogs::setHandler({}); }

    void unansweredProbeShowsADashAndTheMeterKeepsTicking()
    {
        const auto program = startProgram(network->prober, QByteArray("url=") + TestNetwork::silentAddress
                                                                + "\ntimeout=2000\n");
        QVERIFY(program);
        QCOMPARE(shown, QStringList());
        Controller &controller = program->controller;
        QTimer *pingTimer = controller.findChild<QTimer *>(u"pingTimer"_s);
        QTimer *tickTimer = controller.findChild<QTimer *>(u"tickTimer"_s);
        QLabel *label = findControl<QLabel>(program->monitorWindow, u"pingValue"_s);
        LatencyProbe *probe = controller.latencyProbe();
        QVERIFY(probe);
        QCOMPARE(probe->parameters().timeoutMs, 2000);
        QCOMPARE(label->text(), u"0"_s);

        int ticks = 0;
        int ticksAtRequest = -1;
        int ticksAtResult = -1;
        connect(tickTimer, &QTimer::timeout, this, [&] { ++ticks; });
        // Connected after the controller's probe: a dotted host's echo is under way by then.
        connect(pingTimer, &QTimer::timeout, this, [&] {
            if (ticksAtRequest < 0 && probe->waiting())
                ticksAtRequest = ticks;
        });
        connect(probe, &LatencyProbe::resultReady, this, [&] {
            if (ticksAtResult < 0)
                ticksAtResult = ticks;
        });
        tickTimer->start();
        pingTimer->start(10); // rather than waiting 30 s for the first probe

        QTRY_COMPARE_WITH_TIMEOUT(label->text(), u"-"_s, 20000);
        QVERIFY(ticksAtRequest >= 0);
        QVERIFY2(ticksAtResult > ticksAtRequest, "no meter tick ran while the echo waited");

        // The host is read at every probe.
        controller.session().settings().pingHost = u"127.0.0.1"_s;
        QTRY_VERIFY_WITH_TIMEOUT(label->text() != u"-"_s, 20000);
        bool number = false;
        label->text().toUInt(&number);
        QVERIFY2(number, qPrintable(label->text()));
    }

    void probeThatCannotStartIsReportedOnce()
    {
        // The silent namespace keeps the default ping_group_range: no datagram socket either.
        const auto program = startProgram(network->silent, "url=127.0.0.1\n", false);
        QTimer *pingTimer = program->controller.findChild<QTimer *>(u"pingTimer"_s);
        QVERIFY(program);
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].contains(u"needs CAP_NET_RAW: run scripts/run, or allow ICMP sockets with "
                                   u"net.ipv4.ping_group_range"_s),
                 qPrintable(shown[0]));
        QVERIFY(!program->controller.latencyProbe());

        // The timer runs on; the probe stays inactive.
        pingTimer->start(10);
        QTest::qWait(100);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(findControl<QLabel>(program->monitorWindow, u"pingValue"_s)->text(), u"0"_s);
    }
};

QTEST_MAIN(TestProbeWiring)
#include "tst_probewiring.moc"
