#include "meter/oledate.h"
#include "session/monitoringsession.h"
#include "session/sessionstatus.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

const QDateTime noon = QDateTime::fromSecsSinceEpoch(1782907200); // a UTC minute's first second

// What "tarvo.ini" holds as the time of the last save `seconds` before noon.
double savedBefore(int64_t seconds)
{
    return oleDate(noon.addSecs(-seconds));
}

// What a subscriber keeps of a tick: the struct refers to the session's own readouts.
struct SeenTick
{
    QDateTime now;
    TrafficCounters::Tick taken{};
    const FapMeter *meter = nullptr;
    int32_t usedBytes = 0;
    uint64_t dropped = 0;
    QString captureStopMessage;
};

// The adapter's addresses as the test sets them, and the devices asked for.
struct FakeAdapterAddresses : AdapterAddressSource
{
    FakeAdapterAddresses(const QStringList &networks, QList<QByteArray> &asked) : networks(networks), asked(asked) {}
    QStringList ipv6Networks(const QByteArray &device) override
    {
        asked.append(device);
        return networks;
    }
    const QStringList &networks;
    QList<QByteArray> &asked;
};

// The neighbour tables as the test sets them, and how often they were read.
struct FakeNeighbours : NeighbourSource
{
    FakeNeighbours(const std::vector<Neighbour> &table, int &reads) : table(table), reads(reads) {}
    std::vector<Neighbour> neighbours() override
    {
        ++reads;
        return table;
    }
    const std::vector<Neighbour> &table;
    int &reads;
};

using HostRows = std::vector<std::pair<QString, int64_t>>;

} // namespace

// The monitoring core without windows, clocks or a capture: what its tick reports, how the
// bucket catches up for the time the program was off, and what the usage history receives.
class TestMonitoringSession : public QObject
{
    Q_OBJECT

private:
    // Every tick the session reports, as a subscriber sees it.
    static void record(MonitoringSession &session, std::vector<SeenTick> &seen)
    {
        QObject::connect(&session, &MonitoringSession::ticked, &session, [&seen](const SessionTick &tick) {
            seen.push_back({tick.now, tick.taken, &tick.meter, tick.meter.usedBytes(),
                            tick.capture.dropped, tick.captureStopMessage});
        });
    }

private Q_SLOTS:
    void tickReportsWhatTheCountersFed_data()
    {
        QTest::addColumn<int>("download");
        QTest::addColumn<int>("upload");
        QTest::addColumn<int>("packets");
        QTest::addColumn<int>("usedBefore");
        QTest::addColumn<int>("usedAfter");
        QTest::newRow("idle, recharged by one second") << 0 << 0 << 0 << 1000000 << 1000000 - 4096;
        QTest::newRow("download counts once, at the capture") << 20000 << 0 << 9 << 1000000 << 1000000 - 4096;
        QTest::newRow("both ways, recharge stops at empty") << 1500 << 700 << 3 << 1000 << 0;
    }
    // One tick is one report: what it took from the per-tick counters, the bucket after it, at
    // the moment it was given; the per-tick counters start again from zero.
    void tickReportsWhatTheCountersFed()
    {
        QFETCH(int, download);
        QFETCH(int, upload);
        QFETCH(int, packets);
        QFETCH(int, usedBefore);
        QFETCH(int, usedAfter);
        MonitoringSession session;
        session.resume(FapState{usedBefore, noLastUse}, noon);
        std::vector<SeenTick> seen;
        record(session, seen);
        session.counters().tickDownloadBytes = download;
        session.counters().tickUploadBytes = upload;
        session.counters().tickPackets = packets;

        session.tick(noon);
        QCOMPARE(seen.size(), size_t(1));
        const SeenTick &tick = seen[0];
        QCOMPARE(tick.now, noon);
        QCOMPARE(tick.taken.downloadBytes, download);
        QCOMPARE(tick.taken.uploadBytes, upload);
        QCOMPARE(tick.taken.packets, packets);
        QCOMPARE(tick.meter, &session.meter());
        QCOMPARE(tick.usedBytes, usedAfter);
        QCOMPARE(tick.dropped, uint64_t(0)); // no capture
        QVERIFY(tick.captureStopMessage.isEmpty());
        QCOMPARE(session.counters().tickDownloadBytes.load(), 0);
        QCOMPARE(session.counters().tickUploadBytes.load(), 0);
        QCOMPARE(session.counters().tickPackets.load(), 0);
        QVERIFY(session.ticking());
    }

    void resumeDrainsByTheTimeSinceTheSave_data()
    {
        QTest::addColumn<int>("saved");
        QTest::addColumn<double>("lastShut");
        QTest::addColumn<bool>("known");
        QTest::addColumn<int>("expected");
        QTest::newRow("ten seconds") << 1000000 << savedBefore(10) << true << 1000000 - 10 * 4096;
        QTest::newRow("a day drains it all") << 1000000 << savedBefore(86400) << true << 0;
        QTest::newRow("no time of saving: as saved") << 1000000 << noLastUse << false << 1000000;
    }
    void resumeDrainsByTheTimeSinceTheSave()
    {
        QFETCH(int, saved);
        QFETCH(double, lastShut);
        QFETCH(bool, known);
        QFETCH(int, expected);
        MonitoringSession session;
        session.settings().fap.cutOffLimit = 2000000;
        session.resume(FapState{saved, lastShut}, noon);
        QCOMPARE(session.meter().usedBytes(), expected);
        QCOMPARE(session.lastUseKnown(), known);
        QCOMPARE(session.meter().parameters().cutOffLimit, 2000000); // the plan of the settings
        QCOMPARE(session.meter().activeLimit(), 2000000);
    }

    // Before the first tick the waiting bucket drains in whole seconds, the fraction carried to
    // the next drain; from the first tick on only the tick moves it.
    void waitingBucketDrainsUntilTheFirstTick()
    {
        MonitoringSession session;
        session.resume(FapState{1000000, savedBefore(0)}, noon);
        QVERIFY(!session.drainWhileWaiting(noon.addMSecs(500)));
        QCOMPARE(session.meter().usedBytes(), 1000000);
        QVERIFY(session.drainWhileWaiting(noon.addMSecs(2500)));
        QCOMPARE(session.meter().usedBytes(), 1000000 - 2 * 4096);
        QVERIFY(session.drainWhileWaiting(noon.addSecs(3)));
        QCOMPARE(session.meter().usedBytes(), 1000000 - 3 * 4096);
        QVERIFY(!session.drainWhileWaiting(noon)); // a clock set back drains nothing
        QCOMPARE(session.meter().usedBytes(), 1000000 - 3 * 4096);

        session.tick(noon.addSecs(4));
        QVERIFY(!session.drainWhileWaiting(noon.addSecs(100)));
        QCOMPARE(session.meter().usedBytes(), 1000000 - 4 * 4096);
    }

    void takeBucket_data()
    {
        QTest::addColumn<bool>("levelGiven");
        QTest::addColumn<bool>("resetActiveLimit");
        QTest::addColumn<int>("usedBytes");
        QTest::addColumn<int>("activeLimit");
        QTest::newRow("plan only") << false << false << 500 << 1;
        QTest::newRow("plan and level") << true << false << 7000 << 1;
        QTest::newRow("all four bucket boxes: the limit goes back") << true << true << 7000 << 3000000;
    }
    // A confirmation's bucket: the plan of the settings always, the level when its box held a
    // number, and the limit in force back at the cut-off limit once the four boxes are read.
    void takeBucket()
    {
        QFETCH(bool, levelGiven);
        QFETCH(bool, resetActiveLimit);
        QFETCH(int, usedBytes);
        QFETCH(int, activeLimit);
        MonitoringSession session;
        session.resume(FapState{500, noLastUse}, noon);
        session.meter().setActiveLimit(1);
        session.settings().fap.cutOffLimit = 3000000;
        session.settings().fap.throttleLimit = 2000000;
        session.takeBucket(levelGiven ? std::optional<int32_t>(7000) : std::nullopt, resetActiveLimit);
        QCOMPARE(session.meter().parameters().cutOffLimit, 3000000);
        QCOMPARE(session.meter().parameters().throttleLimit, 2000000);
        QCOMPARE(session.meter().usedBytes(), usedBytes);
        QCOMPARE(session.meter().activeLimit(), activeLimit);
    }

    // The adapter's IPv6 networks are read at the start and then every few ticks, never per
    // frame: a privacy address that comes and goes is followed within seconds. The capture of a
    // device that does not exist ends at once; the following goes on all the same.
    void adapterNetworksAreFollowed()
    {
        MonitoringSession session;
        QStringList networks{u"2001:db8:1::5/64"_s};
        QList<QByteArray> asked;
        session.setAdapterAddressSource(std::make_unique<FakeAdapterAddresses>(networks, asked));
        const QStringList first = networks;
        session.startCapture("tarvo-none0");
        QCOMPARE(session.adapterNetworks(), first);

        networks.append(u"2001:db8:1:0:8a2e::9/64"_s);
        QDateTime now = noon;
        for (int i = 1; i < MonitoringSession::adapterAddressSeconds; ++i) {
            session.tick(now = now.addSecs(1));
            QCOMPARE(session.adapterNetworks(), first);
        }
        session.tick(now = now.addSecs(1));
        QCOMPARE(session.adapterNetworks(), networks);

        networks.removeFirst();
        for (int i = 0; i < MonitoringSession::adapterAddressSeconds; ++i)
            session.tick(now = now.addSecs(1));
        QCOMPARE(session.adapterNetworks(), QStringList{u"2001:db8:1:0:8a2e::9/64"_s});
        QCOMPARE(asked, QList<QByteArray>(3, "tarvo-none0"));
    }

    // Programs are attributed only when the session is given the attribution: then each tick hands
    // on their use and the status names the top program (none yet here).
    void programsFollowTheTick_data()
    {
        QTest::addColumn<bool>("attributed");
        QTest::newRow("attributed") << true;
        QTest::newRow("not attributed") << false;
    }
    void programsFollowTheTick()
    {
        QFETCH(bool, attributed);
        MonitoringSession session;
        if (attributed)
            session.setProgramAttribution(std::make_unique<ProgramAttribution>(ProgramAttribution::Options{.dataFolders = {}}));
        const ProgramUsage *seen = nullptr;
        connect(&session, &MonitoringSession::ticked, this, [&seen](const SessionTick &tick) { seen = tick.programs; });
        session.tick(noon);
        QCOMPARE(seen != nullptr, attributed);
        QCOMPARE(session.programUsage(), seen);
        const QJsonObject status = QJsonDocument::fromJson(sessionStatusJson(session)).object();
        QCOMPARE(status.contains(u"top_program"_s), attributed);
        QVERIFY(status.value(u"top_program"_s).isNull() || !attributed);
    }

    // With a sink, each finished minute goes to it with each LAN host's download; the end of the
    // run hands over the minute under way, and nothing comes after it.
    void historyFeedReceivesTheMinute()
    {
        MonitoringSession session;
        session.resume(FapState{}, noon);
        std::vector<FinishedMinute> minutes;
        session.setHistorySink([&minutes](FinishedMinute minute) { minutes.push_back(std::move(minute)); });

        session.hostCounters().add(HostCounters::slotOf(0xC0A80105u, -1), HostAddress::fromIpv4(0xC0A80105u), 700);
        session.counters().tickDownloadBytes = 1000;
        session.tick(noon);
        session.counters().tickDownloadBytes = 500;
        session.tick(noon.addSecs(59));
        QVERIFY(minutes.empty());
        session.counters().tickDownloadBytes = 20;
        session.tick(noon.addSecs(60));
        QCOMPARE(minutes.size(), size_t(1));
        QCOMPARE(minutes[0].period.startUtc, noon.toSecsSinceEpoch());
        QCOMPARE(minutes[0].period.downloadBytes, 1500);
        QCOMPARE(minutes[0].hosts.size(), size_t(1));
        QCOMPARE(minutes[0].hosts[0].address, HostAddress::fromIpv4(0xC0A80105u));
        QCOMPARE(minutes[0].hosts[0].downloadBytes, 700);

        session.finishHistory();
        QCOMPARE(minutes.size(), size_t(2));
        QCOMPARE(minutes[1].period.startUtc, noon.toSecsSinceEpoch() + 60);
        QCOMPARE(minutes[1].period.downloadBytes, 20);
        session.tick(noon.addSecs(200));
        session.finishHistory();
        QCOMPARE(minutes.size(), size_t(2));
    }

    // An IPv6 host's download joins the row of the IPv4 host that shares its MAC, from the
    // moment the neighbour tables show it; the tables are read every few seconds, not every tick.
    void ipv6HostJoinsItsIpv4Row_data()
    {
        QTest::addColumn<std::vector<Neighbour>>("table");
        QTest::addColumn<HostRows>("rows");

        const QByteArray mac = QByteArray::fromHex("020000000005");
        const HostAddress ipv4 = HostAddress::fromIpv4(0xC0A80105u);
        const HostAddress ipv6{0x20010db800010000ull, 0x5ull};
        QTest::newRow("no neighbours") << std::vector<Neighbour>{} << HostRows{{u"192.168.1.5"_s, 700}, {u"2001:db8:1::5"_s, 300}};
        QTest::newRow("same MAC") << std::vector<Neighbour>{{ipv4, mac, true}, {ipv6, mac, true}}
                                  << HostRows{{u"192.168.1.5"_s, 1000}};
        QTest::newRow("IPv6 entry failed") << std::vector<Neighbour>{{ipv4, mac, true}, {ipv6, mac, false}}
                                           << HostRows{{u"192.168.1.5"_s, 700}, {u"2001:db8:1::5"_s, 300}};
    }

    void ipv6HostJoinsItsIpv4Row()
    {
        QFETCH(std::vector<Neighbour>, table);
        QFETCH(HostRows, rows);
        MonitoringSession session;
        session.resume(FapState{}, noon);
        std::vector<Neighbour> shown;
        int reads = 0;
        session.setNeighbourSource(std::make_unique<FakeNeighbours>(shown, reads));
        std::vector<FinishedMinute> minutes;
        session.setHistorySink([&minutes](FinishedMinute minute) { minutes.push_back(std::move(minute)); });

        const HostAddress ipv4 = HostAddress::fromIpv4(0xC0A80105u);
        const HostAddress ipv6{0x20010db800010000ull, 0x5ull};
        // The first tick reads the empty tables; the table shown next waits for the next read.
        session.tick(noon);
        shown = table;
        QDateTime now = noon;
        for (int i = 1; i < MonitoringSession::neighbourSeconds; ++i)
            session.tick(now = now.addSecs(1));
        QCOMPARE(reads, 1);
        session.tick(now = now.addSecs(1));
        QCOMPARE(reads, 2);
        session.hostCounters().add(HostCounters::slotOf(ipv4.ipv4(), -1), ipv4, 700);
        session.hostCounters().add(HostCounters::firstIpv6Slot, ipv6, 300);
        session.tick(now = now.addSecs(1));
        session.finishHistory();

        QCOMPARE(minutes.size(), size_t(1));
        HostRows seen;
        for (const HostUsage &host : minutes[0].hosts)
            seen.emplace_back(host.address.toString(), host.downloadBytes);
        std::sort(seen.begin(), seen.end());
        QCOMPARE(seen, rows);
    }
};

QTEST_GUILESS_MAIN(TestMonitoringSession)
#include "tst_monitoringsession.moc"
