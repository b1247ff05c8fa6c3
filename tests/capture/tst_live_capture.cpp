#include "capture/capturethread.h"
#include "meter/fapmeter.h"
#include "meter/trafficcounters.h"
#include "settings/appsettings.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>

namespace {

// A UDP socket bound to a loopback address; closed on scope exit.
struct UdpSocket
{
    explicit UdpSocket(const char *address, uint16_t port = 0)
    {
        fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(port);
        ::inet_pton(AF_INET, address, &local.sin_addr);
        bound = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr *>(&local), sizeof local) == 0;
        socklen_t size = sizeof local;
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&local), &size);
        this->port = ntohs(local.sin_port);
    }
    ~UdpSocket() { ::close(fd); }

    bool sendTo(const char *address, uint16_t toPort, const QByteArray &payload) const
    {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(toPort);
        ::inet_pton(AF_INET, address, &to.sin_addr);
        return ::sendto(fd, payload.constData(), size_t(payload.size()), 0, reinterpret_cast<sockaddr *>(&to), sizeof to)
               == payload.size();
    }

    int fd = -1;
    bool bound = false;
    uint16_t port = 0;
};

bool waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QTest::qWait(20);
    }
    return true;
}

} // namespace

// The real capture thread on the loopback device: datagrams from 127.0.0.2 to 127.0.0.1, with
// 127.0.0.1 on the LAN list, are downloads of their full wire length.
class TestLiveCapture : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void countsLoopbackDatagrams()
    {
        if (::geteuid() != 0)
            QSKIP("live capture needs root (CAP_NET_RAW and CAP_NET_ADMIN); run the tests as root");

        AdapterEnumeration adapters = enumerateAdapters();
        const int loopbackRow = int(adapters.rows.indexOf(QRegularExpression(QStringLiteral(".*\\(lo\\)$"))));
        if (loopbackRow < 0)
            QSKIP("no loopback device among the capture adapters");

        AppSettings settings;
        TrafficCounters counters;
        FapMeter meter;
        meter.setActiveLimit(96888422);
        settings.useAll192168 = false;
        settings.lanAddresses.assign({QStringLiteral("127.0.0.1")});

        CaptureThread thread(CaptureContext{settings, counters, meter}, std::move(adapters.devices), loopbackRow);
        std::atomic<bool> openFailed{false};
        QString failure;
        connect(&thread, &CaptureThread::openFailed, &thread, [&](const QString &message) {
            failure = message;
            openFailed = true;
        }, Qt::DirectConnection);
        thread.start();

        UdpSocket receiver("127.0.0.1"), warmReceiver("127.0.0.4"), sender("127.0.0.2"), localSender("127.0.0.1");
        QVERIFY(receiver.bound && warmReceiver.bound && sender.bound && localSender.bound);

        // Uploads (LAN to outside) until the capture is seen to run; they leave the downloads alone.
        QVERIFY2(waitFor([&] {
                     localSender.sendTo("127.0.0.4", warmReceiver.port, QByteArray(10, 'w'));
                     return counters.uploadPackets.load() > 0 || openFailed;
                 }, 10000),
                 "the capture never counted a frame");
        QVERIFY2(!openFailed, qPrintable(failure));

        constexpr int datagrams = 25;
        constexpr int payload = 300;
        for (int i = 0; i < datagrams; ++i)
            QVERIFY(sender.sendTo("127.0.0.1", receiver.port, QByteArray(payload, 'x')));

        constexpr qint64 wireLength = payload + 8 + 20 + 14;
        QVERIFY(waitFor([&] { return counters.downloadPackets.load() >= datagrams; }, 10000));
        QTest::qWait(200); // nothing more may come
        QCOMPARE(counters.downloadPackets.load(), qint64(datagrams));
        QCOMPARE(counters.downloadedTotal.load(), datagrams * wireLength);
        QCOMPARE(meter.usedBytes(), int32_t(datagrams * wireLength));

        thread.stop();
        QVERIFY(thread.isFinished());
    }
};

QTEST_GUILESS_MAIN(TestLiveCapture)
#include "tst_live_capture.moc"
