#include "capture/adapters.h"
#include "capture/capturethread.h"
#include "capture/classifier.h"
#include "meter/trafficcounters.h"
#include "settings/appsettings.h"
#include "frames.h"
#include "meter/fapmeter.h"
#include "support/vethpair.h"

#include <QTest>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

namespace {

// What the capture thread reported, from its own thread.
struct Reports
{
    explicit Reports(CaptureThread &thread)
    {
        const auto record = [this](QStringList &list) {
            return [this, &list](const QString &message) {
                std::lock_guard lock(mutex);
                list.append(message);
            };
        };
        QObject::connect(&thread, &CaptureThread::openFailed, &thread, record(openFailed), Qt::DirectConnection);
        QObject::connect(&thread, &CaptureThread::captureStopped, &thread, record(stopped), Qt::DirectConnection);
        QObject::connect(&thread, &CaptureThread::captureResumed, &thread, record(resumed), Qt::DirectConnection);
    }
    QStringList take(const QStringList &list)
    {
        std::lock_guard lock(mutex);
        return list;
    }

    std::mutex mutex;
    QStringList openFailed, stopped, resumed;
};

// An Ethernet frame from 127.0.0.2 to 127.0.0.1, sent on `device` for the capture to see going out.
bool sendFrame(const QByteArray &device)
{
    char error[PCAP_ERRBUF_SIZE] = {};
    pcap_t *handle = pcap_open_live(device.constData(), 64, 0, 100, error);
    if (!handle)
        return false;
    TestFrame frame = ipv4Frame(ip(127, 0, 0, 2), ip(127, 0, 0, 1), 60, 60);
    const QByteArray header = QByteArray::fromHex("020000000001" "020000000002" "0800" "45");
    std::copy(header.cbegin(), header.cend(), frame.bytes.begin());
    const bool sent = pcap_inject(handle, frame.data(), frame.bytes.size()) == int(frame.bytes.size());
    pcap_close(handle);
    return sent;
}

} // namespace

// The capture thread classifies frames while the user-interface thread edits the address lists
// and takes the per-tick counters: no byte may be lost or counted twice (run under
// ThreadSanitizer as well).
class TestCaptureThreads : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listEditsAndTicksLoseNothing()
    {
        AppSettings settings;
        TrafficCounters counters;
        FapMeter meter;
        meter.setActiveLimit(std::numeric_limits<int32_t>::max());
        settings.useAll192168 = false;
        settings.lanAddresses.assign({QStringLiteral("192.168.0.10")});
        HostCounters hosts;
        CaptureContext context{settings, counters, meter, hosts};
        qint64 hostSum = 0;
        const auto takeHosts = [&] {
            hosts.take([&](HostAddress address, uint64_t bytes) {
                QCOMPARE(address, HostAddress::fromIpv4(ip(192, 168, 0, 10)));
                hostSum += qint64(bytes);
            });
        };

        constexpr int frames = 200000;
        constexpr uint32_t length = 1514;
        const TestFrame download = ipv4Frame(ip(203, 0, 113, 7), ip(192, 168, 0, 10), length);
        const TestFrame upload = ipv4Frame(ip(192, 168, 0, 10), ip(203, 0, 113, 8), 100);
        std::atomic<bool> done{false};
        std::atomic<bool> editing{false};

        std::thread capture([&] {
            // A fast build would otherwise count every frame before the first edit.
            while (!editing)
                std::this_thread::yield();
            for (int i = 0; i < frames; ++i) {
                const TestFrame &frame = (i % 2) ? upload : download;
                classifyFrame(reinterpret_cast<u_char *>(&context), &frame.header,
                              frame.data());
                if (i % 64 == 63) // the batches the library hands over
                    context.flush();
            }
            context.flush();
            done = true;
        });

        qint64 downloadSum = 0, uploadSum = 0, packetSum = 0;
        int edits = 0;
        do {
            // The LAN entry stays at the front; other entries come and go behind it.
            settings.lanAddresses.append(QStringLiteral("10.0.0.%1").arg(edits % 200));
            settings.ignoredAddresses.append(QStringLiteral("198.51.100.%1").arg(edits % 200));
            if (settings.lanAddresses.entries().size() > 5) {
                settings.lanAddresses.removeAt(1);
                settings.ignoredAddresses.removeAt(0);
            }
            ++edits;
            const TrafficCounters::Tick tick = counters.takeTick();
            downloadSum += tick.downloadBytes;
            uploadSum += tick.uploadBytes;
            packetSum += tick.packets;
            takeHosts();
            editing = true;
        } while (!done);
        capture.join();
        takeHosts();
        const TrafficCounters::Tick last = counters.takeTick();
        downloadSum += last.downloadBytes;
        uploadSum += last.uploadBytes;
        packetSum += last.packets;

        QVERIFY(edits > 0);
        QCOMPARE(downloadSum, qint64(frames / 2) * length);
        QCOMPARE(uploadSum, qint64(frames / 2) * 100);
        QCOMPARE(packetSum, qint64(frames));
        QCOMPARE(counters.downloadedTotal.load(), downloadSum);
        QCOMPARE(counters.downloadPackets.load(), qint64(frames / 2));
        QCOMPARE(meter.usedBytes(), int32_t(downloadSum));
        QCOMPARE(hostSum, downloadSum);
    }

    // An adapter that cannot be opened, or that carries frames the classifier cannot read: the
    // message with the reason, nothing counted, and the thread ends.
    void openFailureEndsTheThread_data()
    {
        QTest::addColumn<QByteArray>("device");
        QTest::addColumn<QString>("reason"); // empty: the library's, whatever it says
        QTest::newRow("no such device") << QByteArrayLiteral("tarvo-none0") << QString();
        QTest::newRow("netfilter log, not frames")
            << QByteArrayLiteral("nflog")
            << QStringLiteral("nflog carries frames of type NFLOG, which Tarvo cannot read");
    }

    void openFailureEndsTheThread()
    {
        QFETCH(QByteArray, device);
        QFETCH(QString, reason);
        const bool listed = enumerateAdapters().deviceNames.contains(QString::fromLatin1(device));
        if (!reason.isEmpty() && (::geteuid() != 0 || !listed))
            QSKIP("needs root and the kernel's netfilter log device");
        AppSettings settings;
        TrafficCounters counters;
        FapMeter meter;
        CaptureThread thread(CaptureContext{settings, counters, meter}, device);
        Reports reports(thread);
        thread.start();
        QVERIFY(thread.wait(10000));
        const QStringList failures = reports.take(reports.openFailed);
        QCOMPARE(failures.size(), 1);
        const QString expected = QStringLiteral("Could not open device\n") + reason;
        QVERIFY2(reason.isEmpty() ? failures[0].startsWith(expected) && failures[0].size() > expected.size()
                                  : failures[0] == expected,
                 qPrintable(failures[0]));
        QVERIFY(reports.take(reports.stopped).isEmpty());
        QCOMPARE(counters.tickPackets.load(), 0);
    }

    // stop() at any moment of the opening: it returns, the thread has ended, nothing is reported late.
    void stopRacesTheOpen()
    {
        AppSettings settings;
        TrafficCounters counters;
        FapMeter meter;
        const QByteArray device = ::geteuid() == 0 ? QByteArrayLiteral("lo") : QByteArrayLiteral("tarvo-none0");
        for (int round = 0; round < 40; ++round) {
            CaptureThread thread(CaptureContext{settings, counters, meter}, device);
            thread.start();
            if (round % 2)
                std::this_thread::sleep_for(std::chrono::microseconds(round * 500));
            thread.stop();
            QVERIFY(thread.isFinished());
        }
    }

    // The adapter goes away while capturing: the loop ends with a word to the user, the same
    // device is opened again by name when it is back, and counting goes on.
    void reopensTheDeviceThatCameBack()
    {
        if (::geteuid() != 0)
            QSKIP("needs root to make a veth pair and capture on it");
        VethPair veth;
        QVERIFY2(veth.made(), "could not make a veth pair in a namespace of the test's own");

        AppSettings settings;
        TrafficCounters counters;
        FapMeter meter;
        meter.setActiveLimit(96888422);
        settings.useAll192168 = false;
        settings.lanAddresses.assign({QStringLiteral("127.0.0.1")});
        const QByteArray device = veth.near.toLocal8Bit();
        CaptureThread thread(CaptureContext{settings, counters, meter}, device);
        thread.setReopenInterval(100);
        Reports reports(thread);
        thread.start();

        QTRY_VERIFY_WITH_TIMEOUT((sendFrame(device), counters.downloadPackets.load() > 0), 10000);
        QVERIFY(reports.take(reports.openFailed).isEmpty());

        QVERIFY(veth.remove());
        QTRY_COMPARE_WITH_TIMEOUT(reports.take(reports.stopped),
                                  QStringList{QStringLiteral("Capture stopped: %1 is gone").arg(veth.near)}, 10000);
        QVERIFY(thread.isRunning());

        QVERIFY(veth.create());
        QTRY_COMPARE_WITH_TIMEOUT(reports.take(reports.resumed),
                                  QStringList{QStringLiteral("Capture resumed: %1 is back").arg(veth.near)}, 10000);
        const int64_t before = counters.downloadPackets.load();
        QTRY_VERIFY_WITH_TIMEOUT((sendFrame(device), counters.downloadPackets.load() > before), 10000);
        QCOMPARE(counters.downloadedTotal.load(), counters.downloadPackets.load() * 60);

        thread.stop();
        QVERIFY(thread.isFinished());
        QVERIFY(thread.statistics().captured >= uint64_t(counters.downloadPackets.load()));
    }
};

QTEST_GUILESS_MAIN(TestCaptureThreads)
#include "tst_capture_threads.moc"
