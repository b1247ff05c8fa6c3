#include "capture/adapters.h"
#include "support/livecapture.h"
#include "support/udpsocket.h"

#include <QTest>

#include <unistd.h>

// The real capture thread on the loopback device and on "any" at once: datagrams from 127.0.0.22
// to 127.0.0.21, with 127.0.0.21 on the LAN list, are downloads of their Ethernet length on both,
// although "any" carries them with a longer link header.
class TestLiveCapture : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void countsLoopbackDatagramsOnEveryAdapter()
    {
        if (::geteuid() != 0)
            QSKIP("live capture needs root (CAP_NET_RAW and CAP_NET_ADMIN); run the tests as root");
        const QStringList devices = enumerateAdapters().deviceNames;
        if (!devices.contains(QStringLiteral("lo")) || !devices.contains(QStringLiteral("any")))
            QSKIP("no loopback or \"any\" device among the capture adapters");

        // 127.0.0.21 as the LAN: an address of its own, so the loopback traffic of tests running
        // beside it never counts.
        const QStringList lan{QStringLiteral("127.0.0.21")};
        LiveCapture loopback(QByteArrayLiteral("lo"), lan), any(QByteArrayLiteral("any"), lan);
        loopback.start();
        any.start();
        UdpSocket receiver("127.0.0.21"), warmReceiver("127.0.0.23"), sender("127.0.0.22"), localSender("127.0.0.21");
        QVERIFY(receiver.bound && warmReceiver.bound && sender.bound && localSender.bound);

        // Uploads (LAN to outside) until both captures are seen to run; they leave the downloads alone.
        for (LiveCapture *capture : {&loopback, &any}) {
            QVERIFY2(waitFor([&] {
                         localSender.sendTo("127.0.0.23", warmReceiver.port, QByteArray(10, 'w'));
                         return capture->counters.uploadPackets.load() > 0 || !capture->failed().isEmpty();
                     }, 10000),
                     "the capture never counted a frame");
            QVERIFY2(capture->failed().isEmpty(), qPrintable(capture->failed()));
        }

        constexpr int datagrams = 25;
        constexpr int payload = 300;
        for (int i = 0; i < datagrams; ++i)
            QVERIFY(sender.sendTo("127.0.0.21", receiver.port, QByteArray(payload, 'x')));

        constexpr qint64 wireLength = payload + 8 + 20 + 14;
        for (LiveCapture *capture : {&loopback, &any}) {
            QVERIFY(waitFor([&] { return capture->counters.downloadPackets.load() >= datagrams; }, 10000));
            QTest::qWait(200); // nothing more may come
            QCOMPARE(capture->counters.downloadPackets.load(), qint64(datagrams));
            QCOMPARE(capture->counters.downloadedTotal.load(), datagrams * wireLength);
            QCOMPARE(capture->meter.usedBytes(), int32_t(datagrams * wireLength));
            capture->thread.stop();
            QVERIFY(capture->thread.isFinished());
            QCOMPARE(capture->thread.statistics().dropped, uint64_t(0));
        }
    }
};

QTEST_GUILESS_MAIN(TestLiveCapture)
#include "tst_live_capture.moc"
