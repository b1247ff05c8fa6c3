#include "app/meteredswitch.h"
#include "app/program.h"
#include "meter/oledate.h"
#include "platform/dialogs.h"

#include "support/fakenetworkmanager.h"
#include "support/filefixtures.h"
#include "support/privatebus.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int32_t throttle = 100000000;

AlertReading at(double percent)
{
    AlertReading reading;
    reading.throttleLimit = throttle;
    reading.usedBytes = int64_t(percent * throttle / 100);
    return reading;
}

AlertConfig switchedOn(int percent = 90)
{
    AlertConfig config;
    config.markMetered = true;
    config.meteredPercent = percent;
    return config;
}

} // namespace

Q_DECLARE_METATYPE(std::optional<int32_t>)

// The switch against a NetworkManager of the test's own on a system bus of the test's own.
class TestMeteredSwitch : public QObject
{
    Q_OBJECT

    PrivateBus m_bus{PrivateBus::Kind::System};
    FakeNetworkManager m_manager;
    QTemporaryDir m_folder;

    QString recordFile() const { return MeteredSwitch::recordPath(m_folder.path() + u'/'); }

    // Each tick's change ends before the next tick, as a second between ticks allows.
    void tickThrough(MeteredSwitch &metered, const QList<double> &percents,
                     const QString &interface = FakeNetworkManager::managedInterface)
    {
        for (double percent : percents) {
            metered.tick(at(percent), interface);
            QTRY_VERIFY(!metered.busy());
        }
    }

    // What a program of another maker reads from the device: the applied connection's value.
    std::optional<int32_t> meteredSeenFromOutside()
    {
        QProcess send;
        send.start(u"dbus-send"_s, {u"--bus="_s + m_bus.address(), u"--print-reply"_s,
                                    u"--dest=org.freedesktop.NetworkManager"_s, FakeNetworkManager::managedDevice,
                                    u"org.freedesktop.NetworkManager.Device.GetAppliedConnection"_s, u"uint32:0"_s});
        QSignalSpy ended(&send, &QProcess::finished);
        if (!ended.wait(10000) || send.exitCode() != 0)
            return -1;
        const auto match = QRegularExpression(uR"("metered"\s+variant\s+int32 (-?\d+))"_s)
                               .match(QString::fromUtf8(send.readAllStandardOutput()));
        return match.hasMatch() ? std::optional(match.captured(1).toInt()) : std::nullopt;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!m_bus.start())
            QSKIP("dbus-daemon could not be started (scripts/deps installs the dbus package)");
        QVERIFY(m_manager.start(m_bus.address()));
    }

    void init()
    {
        m_manager.setApplied(2);
        m_manager.setRefusing(false);
        QVERIFY(m_manager.setRunning(true));
        QFile::remove(recordFile());
    }

    // Nothing, ever, on the saved profile.
    void cleanup() { QCOMPARE(m_manager.profileCalls(), QStringList()); }

    void levels_data()
    {
        QTest::addColumn<std::optional<int32_t>>("before");
        QTest::addColumn<QList<double>>("percents");
        QTest::addColumn<QList<int32_t>>("reapplied");
        const std::optional<int32_t> notSet;
        QTest::newRow("at the step: nothing") << std::optional(2) << QList<double>{50, 90} << QList<int32_t>{};
        QTest::newRow("above the step: marked") << std::optional(2) << QList<double>{50, 90.5} << QList<int32_t>{1};
        QTest::newRow("below the step, above the margin: still marked")
            << std::optional(2) << QList<double>{91, 86, 85} << QList<int32_t>{1};
        QTest::newRow("below the step less the margin: no again")
            << std::optional(2) << QList<double>{91, 86, 84.9, 60} << QList<int32_t>{1, 2};
        QTest::newRow("not set: marked, then unknown again") << notSet << QList<double>{95, 10} << QList<int32_t>{1, 0};
        QTest::newRow("each crossing once") << std::optional(0) << QList<double>{95, 50, 95, 96, 50}
                                            << QList<int32_t>{1, 0, 1, 0};
        QTest::newRow("the user's own yes is never turned off")
            << std::optional(1) << QList<double>{95, 50, 95, 20} << QList<int32_t>{};
    }
    void levels()
    {
        QFETCH(std::optional<int32_t>, before);
        QFETCH(QList<double>, percents);
        QFETCH(QList<int32_t>, reapplied);
        m_manager.setApplied(before);
        {
            MeteredSwitch metered(recordFile());
            QSignalSpy lines(&metered, &MeteredSwitch::statusLine);
            metered.setConfig(switchedOn());
            tickThrough(metered, percents);
            QCOMPARE(m_manager.reapplied(), reapplied);
            QVERIFY(m_manager.restUnchanged());
            const bool marked = reapplied.size() % 2 == 1;
            QCOMPARE(meteredSeenFromOutside(),
                     marked ? std::optional(1) : reapplied.isEmpty() ? before : std::optional(before.value_or(0)));
            // Recorded while marked, for a start after a crash.
            QCOMPARE(QFile::exists(recordFile()), marked);
            QCOMPARE(lines.size(), 0);
        }
        // The end puts back what it marked; a value not set goes back as unknown, which it meant.
        QCOMPARE(meteredSeenFromOutside(), reapplied.isEmpty() ? before : std::optional(before.value_or(0)));
        QVERIFY(!QFile::exists(recordFile()));
    }

    // The end comes while the mark is on its way: it waits for it, then puts back.
    void endWhileMarking()
    {
        {
            MeteredSwitch metered(recordFile());
            metered.setConfig(switchedOn());
            metered.tick(at(95), FakeNetworkManager::managedInterface);
            QVERIFY(metered.busy());
        }
        QCOMPARE(m_manager.reapplied(), (QList<int32_t>{1, 2}));
        QVERIFY(!QFile::exists(recordFile()));
    }

    // Turned off in the options while marked: back at the next tick.
    void turnedOff()
    {
        MeteredSwitch metered(recordFile());
        metered.setConfig(switchedOn());
        tickThrough(metered, {95});
        metered.setConfig({});
        tickThrough(metered, {95, 99});
        QCOMPARE(m_manager.reapplied(), (QList<int32_t>{1, 2}));
    }

    // A run that ended while marked left its record; the next start puts the value back, unless
    // the connection is not marked any more (it connected again, or someone changed it). A record
    // NetworkManager refuses to act on stays for the start after.
    void nextStart_data()
    {
        QTest::addColumn<int32_t>("now");
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("refusing");
        QTest::addColumn<QList<int32_t>>("reapplied");
        QTest::addColumn<bool>("kept");
        QTest::newRow("still marked: back") << 1 << true << false << QList<int32_t>{2} << false;
        QTest::newRow("connected again since: nothing") << 2 << true << false << QList<int32_t>{} << false;
        QTest::newRow("NetworkManager gone, and the mark with it") << 1 << false << false << QList<int32_t>{} << false;
        QTest::newRow("refused: kept") << 1 << true << true << QList<int32_t>{} << true;
    }
    void nextStart()
    {
        QFETCH(int32_t, now);
        QFETCH(bool, running);
        QFETCH(bool, refusing);
        QFETCH(QList<int32_t>, reapplied);
        QFETCH(bool, kept);
        m_manager.setApplied(now);
        QVERIFY(m_manager.setRunning(running));
        m_manager.setRefusing(refusing);
        writeBytes(recordFile(), "[Metered]\nInterface=tarvo0\nEarlier=2\n");

        MeteredSwitch metered(recordFile());
        QSignalSpy lines(&metered, &MeteredSwitch::statusLine);
        metered.setConfig(switchedOn());
        metered.resume();
        QTRY_VERIFY(!metered.busy());
        QCOMPARE(m_manager.reapplied(), reapplied);
        QCOMPARE(QFile::exists(recordFile()), kept);
        QCOMPARE(lines.size(), running && !refusing ? 0 : 1);
        // Then the level rules again, after a start that worked.
        tickThrough(metered, {95});
        QCOMPARE(m_manager.reapplied(), lines.isEmpty() ? reapplied + QList<int32_t>{1} : reapplied);
    }

    // No NetworkManager, a refusal, an adapter it does not manage: one line saying why, and no
    // more calls for the rest of the run.
    void cannot_data()
    {
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("refusing");
        QTest::addColumn<QString>("interface");
        QTest::addColumn<QString>("line");
        QTest::newRow("no NetworkManager")
            << false << false << FakeNetworkManager::managedInterface
            << u"NetworkManager is not running: Tarvo cannot change the metered state of tarvo0."_s;
        QTest::newRow("refused") << true << true << FakeNetworkManager::managedInterface
                                 << u"NetworkManager refused to let Tarvo change the metered state of tarvo0."_s;
        QTest::newRow("unmanaged") << true << false << FakeNetworkManager::unmanagedInterface
                                   << u"NetworkManager does not manage unmanaged0: Tarvo cannot change its metered state."_s;
        QTest::newRow("unknown to it")
            << true << false << u"wwan9"_s
            << u"NetworkManager does not manage wwan9: Tarvo cannot change its metered state."_s;
    }
    void cannot()
    {
        QFETCH(bool, running);
        QFETCH(bool, refusing);
        QFETCH(QString, interface);
        QFETCH(QString, line);
        QVERIFY(m_manager.setRunning(running));
        m_manager.setRefusing(refusing);
        MeteredSwitch metered(recordFile());
        QSignalSpy lines(&metered, &MeteredSwitch::statusLine);
        metered.setConfig(switchedOn());
        tickThrough(metered, {95}, interface);
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines.first().first().toString(), line);
        const int calls = m_manager.calls();
        tickThrough(metered, {50, 95, 40, 99}, interface);
        metered.finish();
        QCOMPARE(lines.size(), 1);
        QCOMPARE(m_manager.calls(), calls);
        QCOMPARE(m_manager.reapplied(), QList<int32_t>{});
        QVERIFY(!QFile::exists(recordFile()));
    }

    // The program: the tick marks the captured adapter's connection, the end puts it back; a
    // record left by a run that was killed goes back at the start.
    void theProgram_data()
    {
        QTest::addColumn<bool>("recorded");
        QTest::newRow("a clean start") << false;
        QTest::newRow("after a run that was killed while marked") << true;
    }
    void theProgram()
    {
        QFETCH(bool, recorded);
        Dialogs::setHandler([](const Dialogs::Request &) { return QMessageBox::Ok; });
        m_manager.setApplied(recorded ? 1 : 2);
        if (recorded)
            writeBytes(recordFile(), "[Metered]\nInterface=tarvo0\nEarlier=2\n");
        writeBytes(m_folder.filePath(u"tarvo.ini"_s), "[System]\nadaptername=tarvo0\nlastshut=46366.2\n"
                                                      "[Alerts]\nMarkMetered=1\nMeteredPercent=50\n");
        const QList<int32_t> atStart = recorded ? QList<int32_t>{2} : QList<int32_t>{};
        {
            Program program(ProgramEnvironment{m_folder.path() + u'/', [] { return oleDateToDateTime(46366.25); }});
            Controller &controller = program.controller;
            controller.session().meter().setUsedBytes(40000000); // 62 % of the way to the throttle limit
            // A tick a tenth of a second, as the one-second tick would: one that comes while the
            // value goes back leaves the mark to the next.
            const QDateTime start = oleDateToDateTime(46366.25);
            for (int tick = 0; tick < 100 && m_manager.reapplied().size() <= atStart.size(); ++tick) {
                controller.tickAt(start.addSecs(tick));
                QTest::qWait(100);
            }
            QCOMPARE(m_manager.reapplied(), atStart + QList<int32_t>{1});
            QVERIFY(QFile::exists(recordFile()));
        }
        QCOMPARE(m_manager.reapplied(), atStart + QList<int32_t>({1, 2}));
        QVERIFY(!QFile::exists(recordFile()));
        Dialogs::setHandler({});
    }

    // Off, the switch never reaches the bus.
    void offTouchesNothing()
    {
        bool asked = false;
        {
            MeteredSwitch metered(recordFile(), [&] {
                asked = true;
                return QDBusConnection::systemBus();
            });
            metered.setConfig({});
            metered.resume();
            tickThrough(metered, {50, 120, 0});
        }
        QVERIFY(!asked);
        QCOMPARE(m_manager.calls(), 0);
    }
};

QTEST_MAIN(TestMeteredSwitch)
#include "tst_meteredswitch.moc"
