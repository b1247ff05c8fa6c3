#include "capture/capturethread.h"
#include "meter/fapmeter.h"
#include "meter/trafficcounters.h"
#include "programs/programattribution.h"
#include "settings/appsettings.h"
#include "support/dualstacklink.h"
#include "support/livecapture.h"
#include "support/testnetwork.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <limits>
#include <thread>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// A listener of the outside host (in `gateway`) that sends `bytes` to the one connection it
// takes, spread over `lasting`, and closes it.
class PacedServer
{
public:
    PacedServer(const QString &gateway, const char *address, uint16_t port, size_t bytes, std::chrono::milliseconds lasting)
    {
        const InsideNamespace inside(gateway);
        sockaddr_storage local{};
        socklen_t size;
        if (std::strchr(address, ':')) {
            auto &in6 = reinterpret_cast<sockaddr_in6 &>(local);
            in6.sin6_family = AF_INET6;
            in6.sin6_port = htons(port);
            ::inet_pton(AF_INET6, address, &in6.sin6_addr);
            size = sizeof in6;
        } else {
            auto &in4 = reinterpret_cast<sockaddr_in &>(local);
            in4.sin_family = AF_INET;
            in4.sin_port = htons(port);
            ::inet_pton(AF_INET, address, &in4.sin_addr);
            size = sizeof in4;
        }
        m_listener = ::socket(local.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int yes = 1;
        ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        listening = inside.entered && m_listener >= 0
                    && ::bind(m_listener, reinterpret_cast<sockaddr *>(&local), size) == 0 && ::listen(m_listener, 1) == 0;
        if (listening)
            m_thread = std::thread([this, bytes, lasting] { serve(bytes, lasting); });
    }
    ~PacedServer()
    {
        ::shutdown(m_listener, SHUT_RDWR);
        if (m_thread.joinable())
            m_thread.join();
        ::close(m_listener);
    }
    PacedServer(const PacedServer &) = delete;
    PacedServer &operator=(const PacedServer &) = delete;

    bool listening = false;

private:
    void serve(size_t bytes, std::chrono::milliseconds lasting)
    {
        const int connection = ::accept(m_listener, nullptr, nullptr);
        if (connection < 0)
            return;
        constexpr size_t chunk = 32768;
        static const char payload[chunk] = {};
        const size_t chunks = (bytes + chunk - 1) / chunk;
        const auto start = std::chrono::steady_clock::now();
        for (size_t sent = 0; sent < chunks; ++sent) {
            if (::send(connection, payload, std::min(chunk, bytes - sent * chunk), MSG_NOSIGNAL) <= 0)
                break;
            std::this_thread::sleep_until(start + lasting * (sent + 1) / chunks);
        }
        ::close(connection);
    }

    int m_listener = -1;
    std::thread m_thread;
};

} // namespace

// The programs of this computer as a user would meet them: two downloads of several seconds,
// one over each IP version, and a short one, each by a program of its own, in namespaces of the
// test's own. Nearly all the bytes of the long ones count for their program, the rest as not
// attributed, and nothing for a wrong program. Needs root.
class AttributionAccuracyTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void longFlowsGoToTheirPrograms()
    {
        if (::geteuid() != 0)
            QSKIP("needs root for the network namespaces");
        DualStackLink link;
        QVERIFY(link.ok);
        QTemporaryDir folder;
        const QStringList names{u"tarvo-dl-alpha"_s, u"tarvo-dl-beta"_s, u"tarvo-dl-short"_s};
        for (const QString &name : names)
            QVERIFY(QFile::copy(QStringLiteral(FLOW_CLIENT), folder.filePath(name)));

        constexpr size_t longBytes = 6'000'000, shortBytes = 200'000;
        const PacedServer alpha(link.gateway, "203.0.113.7", 9001, longBytes, 3000ms);
        const PacedServer beta(link.gateway, "2001:db8:99::7", 9002, longBytes, 3000ms);
        const PacedServer brief(link.gateway, "203.0.113.7", 9003, shortBytes, 100ms);
        QVERIFY(alpha.listening && beta.listening && brief.listening);

        AppSettings settings;
        settings.useAll192168 = false;
        settings.lanAddresses.assign({u"198.18.1.2"_s, u"2001:db8:1::/64"_s});
        TrafficCounters counters;
        FapMeter meter;
        meter.setActiveLimit(std::numeric_limits<int32_t>::max());
        ProgramAttribution::Options options;
        options.dataFolders = {};
        ProgramAttribution attribution(options);
        CaptureContext context{settings, counters, meter};
        context.pendingFlows = attribution.makePendingFlows();
        CaptureThread capture(std::move(context), QByteArrayLiteral("veth0"));
        pid_t children[3] = {-1, -1, -1};
        {
            const InsideNamespace inside(link.home);
            QVERIFY(inside.entered);
            attribution.start();
            capture.start();
            // Until the capture counts a datagram of its own, nothing of the downloads may pass.
            const int probe = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
            sockaddr_in outside{};
            outside.sin_family = AF_INET;
            outside.sin_port = htons(9);
            ::inet_pton(AF_INET, "203.0.113.7", &outside.sin_addr);
            const bool counting = waitFor([&] {
                ::sendto(probe, "x", 1, 0, reinterpret_cast<sockaddr *>(&outside), sizeof outside);
                return counters.uploadPackets.load() > 0;
            }, 10000);
            ::close(probe);
            QVERIFY(counting);
            children[0] = startCommand(QFile::encodeName(folder.filePath(names[0])), {u"203.0.113.7"_s, u"9001"_s});
            children[1] = startCommand(QFile::encodeName(folder.filePath(names[1])), {u"2001:db8:99::7"_s, u"9002"_s});
            QTest::qWait(500);
            children[2] = startCommand(QFile::encodeName(folder.filePath(names[2])), {u"203.0.113.7"_s, u"9003"_s});
        }
        for (const pid_t child : children)
            QVERIFY(exitedWell(child));
        // The last frames wait in the capture library for up to its read timeout.
        QTest::qWait(CaptureThread::readTimeoutMs + 500);
        capture.stop();
        attribution.stop();

        QHash<QString, uint64_t> downloaded;
        for (const ProgramBytes &bytes : attribution.take())
            downloaded[bytes.program.id] += bytes.download;
        const uint64_t total = uint64_t(counters.downloadedTotal.load());
        uint64_t counted = 0;
        for (auto it = downloaded.cbegin(); it != downloaded.cend(); ++it) {
            qInfo("%s: %llu", qPrintable(it.key()), static_cast<unsigned long long>(it.value()));
            counted += it.value();
            // Downloads go only to the downloaders and to the place for what was not attributed.
            // Other names may show with nothing downloaded: the probe datagrams above are uploads
            // of this test, counted under it or under its user when the worker matches them
            // before, or after, their socket closes.
            QVERIFY2(it.value() == 0 || names.contains(it.key()) || it.key() == ProgramAttribution::notAttributed().id,
                     qPrintable(it.key()));
        }
        QCOMPARE(counted, total);
        // Each long download is its payload with the headers of its frames: a few per cent more.
        const auto wire = [](size_t payload) { return uint64_t(double(payload) * 1.08) + 20000; };
        for (const QString &name : {names[0], names[1]}) {
            QVERIFY2(downloaded.value(name) >= longBytes, qPrintable(name));
            QVERIFY2(downloaded.value(name) <= wire(longBytes), qPrintable(name));
        }
        QVERIFY(downloaded.value(names[2]) <= wire(shortBytes));
        // What is neither long download's is the short one's, its program's or not attributed.
        const uint64_t longOnes = downloaded.value(names[0]) + downloaded.value(names[1]);
        const uint64_t shortOne = total - longOnes;
        QVERIFY2(shortOne <= wire(shortBytes), qPrintable(QString::number(shortOne)));
        QVERIFY(double(longOnes) >= 0.99 * double(total - shortOne));
    }
};

QTEST_GUILESS_MAIN(AttributionAccuracyTest)
#include "tst_attribution_accuracy.moc"
