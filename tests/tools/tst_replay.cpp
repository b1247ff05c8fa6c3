#include <pcap/pcap.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <cstdint>

namespace {

// 2026-01-01 00:00:00 UTC; the replay runs with TZ=EST5, so its local times read 2025-12-31 19:00.
constexpr int64_t kStart = 1767225600;

struct Frame
{
    int64_t second;
    int32_t microsecond;
    QByteArray source;
    QByteArray destination;
    uint32_t length;
    uint32_t captured = 34;
    bool ipv4 = true;
};

// The link header of each link type the replay reads, for an IPv4 frame or for another protocol.
QByteArray linkHeader(int linkType, bool ipv4)
{
    const QByteArray etherType = ipv4 ? QByteArray::fromHex("0800") : QByteArray::fromHex("86dd");
    switch (linkType) {
    case DLT_EN10MB:
        return QByteArray(12, '\0') + etherType;
    case DLT_LINUX_SLL:
        return QByteArray::fromHex("0000" "0304" "0006" "001122334455" "0000") + etherType;
    case DLT_LINUX_SLL2:
        return etherType + QByteArray::fromHex("0000" "00000001" "0001" "00" "06" "0011223344550000");
    case DLT_NULL:
        return ipv4 ? QByteArray::fromHex("02000000") : QByteArray::fromHex("0a000000");
    case DLT_LOOP:
        return ipv4 ? QByteArray::fromHex("00000002") : QByteArray::fromHex("0000001c");
    default: // raw IP: the version in the IP header says it all
        return {};
    }
}

// The frame as `linkType` carries it: its link header, then an IPv4 header (or an IPv6 one with
// the same bytes where IPv4 keeps its addresses). Wire and captured lengths are those of the
// Ethernet frame less its 14-byte header plus the link header.
QByteArray frameBytes(const Frame &frame, int linkType = DLT_EN10MB, bool ipv4 = true)
{
    QByteArray ip(20, '\0');
    ip[0] = char(ipv4 ? 0x45 : 0x60);
    const auto put = [&](int offset, const QByteArray &text) {
        const QList<QByteArray> parts = text.split('.');
        for (int i = 0; i < 4; ++i)
            ip[offset + i] = char(parts[i].toInt());
    };
    put(12, frame.source);
    put(16, frame.destination);
    const QByteArray header = linkHeader(linkType, ipv4);
    return (header + ip).left(int(frame.captured) - 14 + int(header.size()));
}

bool writeCapture(const QString &path, int linkType, const QList<Frame> &frames)
{
    pcap_t *dead = pcap_open_dead(linkType, 65535);
    pcap_dumper_t *dumper = pcap_dump_open(dead, QFile::encodeName(path).constData());
    if (!dumper) {
        pcap_close(dead);
        return false;
    }
    for (const Frame &frame : frames) {
        const QByteArray bytes = frameBytes(frame, linkType, frame.ipv4);
        pcap_pkthdr header{};
        header.ts.tv_sec = frame.second;
        header.ts.tv_usec = frame.microsecond;
        header.caplen = uint32_t(bytes.size());
        header.len = frame.length - 14 + uint32_t(linkHeader(linkType, frame.ipv4).size());
        pcap_dump(reinterpret_cast<u_char *>(dumper), &header, reinterpret_cast<const u_char *>(bytes.constData()));
    }
    pcap_dump_close(dumper);
    pcap_close(dead);
    return true;
}

// Ethernet frames of the first second, as bytes with their wire lengths.
bool writeFrames(const QString &path, const QList<std::pair<QByteArray, uint32_t>> &frames)
{
    pcap_t *dead = pcap_open_dead(DLT_EN10MB, 65535);
    pcap_dumper_t *dumper = pcap_dump_open(dead, QFile::encodeName(path).constData());
    if (!dumper) {
        pcap_close(dead);
        return false;
    }
    for (const auto &[bytes, wire] : frames) {
        pcap_pkthdr header{};
        header.ts.tv_sec = kStart;
        header.caplen = uint32_t(bytes.size());
        header.len = wire;
        pcap_dump(reinterpret_cast<u_char *>(dumper), &header, reinterpret_cast<const u_char *>(bytes.constData()));
    }
    pcap_dump_close(dumper);
    pcap_close(dead);
    return true;
}

// Downloads and an upload over four seconds: a frame at exactly a whole second comes after that
// second's tick; an ignored source, a 192.168 host with the rule off and a short frame count nothing.
const QList<Frame> &stream()
{
    static const QList<Frame> frames{
        {kStart, 500000, "203.0.113.7", "192.168.0.10", 1514},
        {kStart, 700000, "192.168.0.10", "203.0.113.7", 100},
        {kStart + 1, 0, "203.0.113.7", "192.168.0.10", 1000},
        {kStart + 1, 200000, "198.51.100.1", "192.168.0.10", 500},
        {kStart + 1, 300000, "192.168.0.20", "203.0.113.7", 700},
        {kStart + 3, 100000, "203.0.113.7", "192.168.0.10", 60, 20},
        {kStart + 3, 500000, "203.0.113.7", "192.168.0.10", 2000},
    };
    return frames;
}

const char kExpected[] =
    "tick,time,down,up,packets,used,limit,restriction,remaining,level_percent,bytes_to_throttle,bytes_to_cutoff,"
    "full_recovery,time_to_throttle,time_to_cutoff,trend,avg_down,inst_down,avg_up,inst_up,downloaded_total,"
    "uploaded_total,packets_received,packets_sent,mean_packet_size\n"
    "1,2025-12-31T19:00:01,1514,100,2,64592418,96888422,THROTTLED,32296004,33,-137,32296004,04:22:49,00:00:00,-,"
    "falling,1514,151,1,10.8999996,1514,100,1,1,1.612486\n"
    "2,2025-12-31T19:00:02,1000,0,1,64589322,96888422,none,32299100,33,2959,32299100,04:22:48,-,-,"
    "rising,1508.85999,235,1,10.8999996,2514,100,2,1,2.61087346\n"
    "3,2025-12-31T19:00:03,0,0,0,64585226,96888422,none,32303196,33,7055,32303196,04:22:47,-,-,"
    "rising,1508.85999,235,1,10.8999996,2514,100,2,1,2.61087346\n"
    "4,2025-12-31T19:00:04,2000,0,1,64583130,96888422,none,32305292,33,9151,32305292,04:22:47,-,-,"
    "rising,1513.77136,411,1,10.8999996,4514,100,3,1,4.60826254\n";

// The settings of the expected lines, as options.
QStringList replayFlags()
{
    return {QStringLiteral("--used"), QStringLiteral("64595000"), QStringLiteral("--no-192"), QStringLiteral("--lan"),
            QStringLiteral("192.168.0.10"), QStringLiteral("--ignore"), QStringLiteral("198.51.100.1")};
}

} // namespace

class TestReplay : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QString path(const QString &name) const { return dir.filePath(name); }

    struct Run
    {
        int exitCode;
        QByteArray out;
        QByteArray err;
    };

    // `input`: a file for standard input; none when empty.
    Run run(QStringList arguments, const QString &input = {}) const
    {
        for (QString &argument : arguments)
            argument.replace(QStringLiteral("{dir}"), dir.path());
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TZ"), QStringLiteral("EST5"));
        process.setProcessEnvironment(environment);
        if (!input.isEmpty())
            process.setStandardInputFile(input);
        process.start(QStringLiteral(TARVO_CLI), arguments);
        if (!process.waitForFinished(60000))
            return {-1, {}, {}};
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
                process.readAllStandardError()};
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QVERIFY(writeCapture(path(QStringLiteral("stream.pcap")), DLT_EN10MB, stream()));
        QVERIFY(writeCapture(path(QStringLiteral("wifi.pcap")), DLT_IEEE802_11, stream()));
        QVERIFY(writeCapture(path(QStringLiteral("empty.pcap")), DLT_EN10MB, {}));
        QList<Frame> jump = stream();
        jump.last().second += int64_t(5) * 365 * 86400;
        QVERIFY(writeCapture(path(QStringLiteral("jump.pcap")), DLT_EN10MB, jump));
        QFile whole(path(QStringLiteral("stream.pcap")));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        QFile truncated(path(QStringLiteral("truncated.pcap")));
        QVERIFY(truncated.open(QIODevice::WriteOnly));
        truncated.write(whole.readAll().chopped(10)); // the last record loses its tail
        // A link type the library has no name for: the file header written by hand.
        QFile unknown(path(QStringLiteral("unknown.pcap")));
        QVERIFY(unknown.open(QIODevice::WriteOnly));
        unknown.write(QByteArray::fromHex("d4c3b2a1" "0200" "0400" "00000000" "00000000" "ffff0000" "a00f0000"));
        unknown.close();
        // Seconds past 2^31 (19 January 2038), which the file keeps in 32 bits.
        QVERIFY(writeCapture(path(QStringLiteral("2038.pcap")), DLT_EN10MB,
                             {{INT32_MAX, 500000, "203.0.113.7", "192.168.0.10", 1000},
                              {int64_t(INT32_MAX) + 2, 500000, "203.0.113.7", "192.168.0.10", 2000}}));
        QFile garbage(path(QStringLiteral("garbage.pcap")));
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write("not a capture file\n");
        QFile ini(path(QStringLiteral("tarvo.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        // The same settings as the flags of the "flags" row, from a settings file.
        QFile settings(path(QStringLiteral("settings.ini")));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[System]\nfapbytes=64595000\nuse192=0\nlanIPCount=1\nignIPCount=0x1\n"
                       "[LANIPS]\nIP0=192.168.0.10\n[IGNIPS]\nIP0=198.51.100.1\n");
    }

    void replay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("expected");
        const QStringList flags = replayFlags();
        const QString stream = QStringLiteral("{dir}/stream.pcap");
        QTest::newRow("flags") << QStringList{QStringLiteral("replay")} + flags + QStringList{stream}
                               << QByteArray(kExpected);
        QTest::newRow("settings file with defaults")
            << QStringList{QStringLiteral("replay"), QStringLiteral("--ini"), QStringLiteral("{dir}/tarvo.ini")} + flags
                   + QStringList{stream}
            << QByteArray(kExpected);
        QTest::newRow("settings file instead of flags")
            << QStringList{QStringLiteral("replay"), QStringLiteral("--ini"), QStringLiteral("{dir}/settings.ini"), stream}
            << QByteArray(kExpected);
        QTest::newRow("no frames, no ticks")
            << QStringList{QStringLiteral("replay"), QStringLiteral("{dir}/empty.pcap")}
            << QByteArray(kExpected).left(QByteArray(kExpected).indexOf('\n') + 1);
    }

    void replay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, expected);
        const Run result = run(arguments);
        QCOMPARE(result.err, QByteArray());
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, expected);
    }

    // "-" reads the capture from standard input, which cannot seek, as the file itself.
    void standardInput()
    {
        const Run result = run(QStringList{QStringLiteral("replay")} + replayFlags() + QStringList{QStringLiteral("-")},
                               path(QStringLiteral("stream.pcap")));
        QCOMPARE(result.err, QByteArray());
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QByteArray(kExpected));
    }

    // The same datagrams give the same lines whatever link carries them; a frame of another
    // protocol with a download's addresses where IPv4 keeps them counts nothing; a link type the
    // program cannot read is named.
    void linkTypes_data()
    {
        QTest::addColumn<int>("linkType");
        QTest::addColumn<QByteArray>("error");
        QTest::newRow("Ethernet") << DLT_EN10MB << QByteArray();
        QTest::newRow("Linux cooked v1 (any)") << DLT_LINUX_SLL << QByteArray();
        QTest::newRow("Linux cooked v2 (any)") << DLT_LINUX_SLL2 << QByteArray();
        QTest::newRow("raw IP (tun, ppp, wireguard)") << DLT_RAW << QByteArray();
        QTest::newRow("raw IPv4") << DLT_IPV4 << QByteArray();
        QTest::newRow("BSD null loopback") << DLT_NULL << QByteArray();
        QTest::newRow("OpenBSD loopback") << DLT_LOOP << QByteArray();
        QTest::newRow("802.11 is refused") << DLT_IEEE802_11
                                           << QByteArray("carries frames of type IEEE802_11, which Tarvo cannot read\n");
    }

    void linkTypes()
    {
        QFETCH(int, linkType);
        QFETCH(QByteArray, error);
        QList<Frame> frames = stream();
        frames.insert(4, Frame{kStart + 1, 250000, "203.0.113.7", "192.168.0.10", 900, 34, false});
        const QString capture = path(QStringLiteral("link%1.pcap").arg(linkType));
        QVERIFY(writeCapture(capture, linkType, frames));
        const Run result = run(QStringList{QStringLiteral("replay")} + replayFlags() + QStringList{capture});
        if (!error.isEmpty()) {
            QCOMPARE(result.exitCode, 2);
            QVERIFY2(result.err.endsWith(error), result.err.constData());
            return;
        }
        QCOMPARE(result.err, QByteArray());
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QByteArray(kExpected));
    }

    void errors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        const auto row = [](const char *name, std::initializer_list<const char *> arguments) {
            QStringList list;
            for (const char *argument : arguments)
                list.append(QString::fromLatin1(argument));
            QTest::newRow(name) << list;
        };
        row("missing capture", {"replay", "{dir}/missing.pcap"});
        row("unreadable capture", {"replay", "{dir}/garbage.pcap"});
        row("link type it cannot read", {"replay", "{dir}/wifi.pcap"});
        row("settings file without end", {"replay", "--ini", "/dev/zero", "{dir}/stream.pcap"});
        row("bad --used", {"replay", "--used", "lots", "{dir}/stream.pcap"});
        row("--used beyond 32 bits", {"replay", "--used", "2147483648", "{dir}/stream.pcap"});
        row("unknown option", {"replay", "--frobnicate", "{dir}/stream.pcap"});
        row("option without its value", {"replay", "{dir}/stream.pcap", "--lan"});
        row("address not canonical", {"replay", "--lan", "192.168.000.010", "{dir}/stream.pcap"});
        row("IPv6 prefix too long", {"replay", "--ignore", "2001:db8::/129", "{dir}/stream.pcap"});
        row("bad --mtu", {"replay", "--mtu", "-1", "{dir}/stream.pcap"});
        row("--mtu too large", {"replay", "--mtu", "1048577", "{dir}/stream.pcap"});
        row("missing settings file", {"replay", "--ini", "{dir}/missing.ini", "{dir}/stream.pcap"});
        row("two captures", {"replay", "{dir}/stream.pcap", "{dir}/stream.pcap"});
        row("no capture", {"replay"});
        row("unknown command", {"play", "{dir}/stream.pcap"});
        row("no command", {});
        row("status with an unknown option", {"status", "--xml"});
        row("status with an argument", {"status", "tarvo"});
    }

    void errors()
    {
        QFETCH(QStringList, arguments);
        const Run result = run(arguments);
        QCOMPARE(result.exitCode, 2);
        QCOMPARE(result.out, QByteArray());
        QVERIFY2(result.err.startsWith("tarvo-cli: ") && result.err.endsWith('\n') && result.err.count('\n') == 1,
                 result.err.constData());
    }

    // An option that took what was meant as something else, or would take the next option as its
    // value, is named in the message.
    void badArgumentIsNamed_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("message");
        const auto row = [](const char *name, std::initializer_list<const char *> arguments, const char *message) {
            QStringList list;
            for (const char *argument : arguments)
                list.append(QString::fromLatin1(argument));
            QTest::newRow(name) << list << "tarvo-cli: " + QByteArray(message) + '\n';
        };
        row("replay: --ini took the capture", {"replay", "--ini", "x.pcap"},
            "no capture file given (--ini took \"x.pcap\" as its value)");
        row("replay: --used before an option", {"replay", "--used", "--no-192", "x.pcap"},
            "option --used needs a value, not the option --no-192");
        row("watch: --ini took the interface", {"watch", "--ini", "eth0"},
            "no interface given (--ini took \"eth0\" as its value)");
        row("watch: --ini before an option", {"watch", "--ini", "--seconds", "5", "eth0"},
            "option --ini needs a value, not the option --seconds");
        row("plan: --ini took the size", {"plan", "--ini", "3GB"}, "no size given (--ini took \"3GB\" as its value)");
        row("plan: --speed before an option", {"plan", "3GB", "--speed", "--at", "12:00"},
            "option --speed needs a value, not the option --at");
        row("history: --db before an option", {"history", "--db", "--hosts"},
            "option --db needs a value, not the option --hosts");
        row("status: an argument", {"status", "tarvo"}, "status takes no argument tarvo");
    }
    void badArgumentIsNamed()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, message);
        const Run result = run(arguments);
        QCOMPARE(result.err, message);
        QCOMPARE(result.exitCode, 2);
        QCOMPARE(result.out, QByteArray());
    }

    // A bad address names itself, also when it is the capture file that --lan took.
    void badAddressIsNamed_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("error");
        QTest::newRow("capture taken for an address")
            << QStringList{QStringLiteral("replay"), QStringLiteral("--lan"), QStringLiteral("x.pcap")}
            << QByteArray("tarvo-cli: --lan needs an IPv4 address in dotted-decimal form or an IPv6 address or network, "
                          "not \"x.pcap\"\n");
        QTest::newRow("ignored IPv6 with a bad prefix")
            << QStringList{QStringLiteral("replay"), QStringLiteral("--ignore"), QStringLiteral("2001:db8::/64x"),
                           QStringLiteral("x.pcap")}
            << QByteArray("tarvo-cli: --ignore needs an IPv4 address in dotted-decimal form or an IPv6 address or "
                          "network, not \"2001:db8::/64x\"\n");
    }
    void badAddressIsNamed()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, error);
        const Run result = run(arguments);
        QCOMPARE(result.exitCode, 2);
        QCOMPARE(result.err, error);
    }

    // IPv6 downloads count, to a listed network; a merged TCP frame counts its segments' headers
    // unless --mtu 0 says to count it as captured. The down column of the first tick tells.
    void dualStackAndMergedFrames_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("down");
        const QString lan6 = QStringLiteral("2001:db8:1::/64");
        // 1014 (IPv4 UDP) + 1014 (IPv6 UDP) + 3014 as captured, or 2960 + 3 x 54 merged at 1500.
        QTest::newRow("default MTU") << QStringList{QStringLiteral("--lan"), lan6} << QByteArray("5150");
        QTest::newRow("MTU 0") << QStringList{QStringLiteral("--lan"), lan6, QStringLiteral("--mtu"), QStringLiteral("0")}
                               << QByteArray("5042");
        QTest::newRow("MTU 9000") << QStringList{QStringLiteral("--mtu"), QStringLiteral("9000"), QStringLiteral("--lan"),
                                                 lan6} << QByteArray("5042");
        QTest::newRow("IPv6 not on the LAN") << QStringList{QStringLiteral("--lan"), QStringLiteral("2001:db8:2::/64")}
                                             << QByteArray("4136");
    }
    void dualStackAndMergedFrames()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, down);
        const QString capture = path(QStringLiteral("dualstack.pcap"));
        const auto address = [](const char *text, QByteArray &into, int at) {
            const QList<QByteArray> parts = QByteArray(text).split(':');
            for (int i = 0; i < parts.size(); ++i) {
                const uint16_t group = uint16_t(parts[i].toUShort(nullptr, 16));
                into[at + 2 * i] = char(group >> 8);
                into[at + 2 * i + 1] = char(group & 0xff);
            }
        };
        const QByteArray mac(12, '\x11');
        QByteArray ipv4 = QByteArray::fromHex("4500000000000000401100000000000000000000");
        ipv4.replace(12, 8, QByteArray::fromHex("cb007107c0a8000a")); // 203.0.113.7 to 192.168.0.10
        QByteArray tcp4 = ipv4;
        tcp4[9] = 6;
        tcp4 += QByteArray::fromHex("0000000000000000000000005000000000000000");
        QByteArray ipv6 = QByteArray::fromHex("6000000000001140") + QByteArray(32, '\0');
        address("2001:db8:7:0:0:0:0:7", ipv6, 8);
        address("2001:db8:1:0:0:0:0:10", ipv6, 24);
        QVERIFY(writeFrames(capture, {{mac + QByteArray::fromHex("0800") + ipv4, 1014},
                                      {mac + QByteArray::fromHex("86dd") + ipv6, 1014},
                                      {mac + QByteArray::fromHex("0800") + tcp4, 3014}}));
        const Run result = run(QStringList{QStringLiteral("replay")} + options + QStringList{capture});
        QCOMPARE(result.err, QByteArray());
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out.split('\n').value(1).split(',').value(2), down);
    }

    // The help text and the manual page offer the same options.
    void helpMatchesTheManualPage()
    {
        const Run help = run({QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.startsWith("usage: tarvo-cli replay"));
        QFile page(QStringLiteral(TARVO_MANUAL_PAGE));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const auto options = [](const QString &text) {
            QStringList found;
            const QRegularExpression option(QStringLiteral("--[a-z0-9-]+"));
            for (auto it = option.globalMatch(text); it.hasNext();)
                found.append(it.next().captured());
            found.removeDuplicates();
            found.sort();
            return found;
        };
        QCOMPARE(options(QString::fromUtf8(page.readAll()).replace(QStringLiteral("\\-"), QStringLiteral("-"))),
                 options(QString::fromUtf8(help.out)));
    }

    void unknownLinkTypeIsNamedByNumber()
    {
        const Run result = run({QStringLiteral("replay"), path(QStringLiteral("unknown.pcap"))});
        QCOMPARE(result.exitCode, 2);
        QVERIFY2(result.err.endsWith("carries frames of type 4000, which Tarvo cannot read\n"), result.err.constData());
    }

    // A fault after some ticks: the lines printed stand, then one line on standard error.
    void faultAfterSomeLines_data()
    {
        QTest::addColumn<QString>("capture");
        QTest::newRow("truncated capture") << "truncated.pcap";
        QTest::newRow("timestamp years ahead") << "jump.pcap";
    }
    void faultAfterSomeLines()
    {
        QFETCH(QString, capture);
        const Run whole = run({QStringLiteral("replay"), path(QStringLiteral("stream.pcap"))});
        const Run cut = run({QStringLiteral("replay"), path(capture)});
        QCOMPARE(cut.exitCode, 2);
        // The header and the three ticks due before the last frame.
        const QList<QByteArray> lines = whole.out.split('\n');
        QCOMPARE(cut.out, QList<QByteArray>(lines.begin(), lines.begin() + 4).join('\n') + '\n');
        QVERIFY2(cut.err.startsWith("tarvo-cli: ") && cut.err.count('\n') == 1, cut.err.constData());
    }

    // Past 2038 the 32-bit seconds of the file do not turn into 1901, a step back in time.
    void secondsPast2038()
    {
        const Run result = run({QStringLiteral("replay"), path(QStringLiteral("2038.pcap"))});
        QCOMPARE(result.err, QByteArray());
        QCOMPARE(result.exitCode, 0);
        const QList<QByteArray> lines = result.out.trimmed().split('\n');
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines[1].startsWith("1,2038-01-18T22:14:08,1000,"));
        QVERIFY(lines[2].startsWith("2,2038-01-18T22:14:09,0,"));
        QVERIFY(lines[3].startsWith("3,2038-01-18T22:14:10,2000,"));
    }
};

QTEST_GUILESS_MAIN(TestReplay)
#include "tst_replay.moc"
