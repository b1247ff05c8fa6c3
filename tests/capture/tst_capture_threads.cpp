#include "capture/classifier.h"
#include "meter/trafficcounters.h"
#include "settings/appsettings.h"
#include "frames.h"
#include "meter/fapmeter.h"

#include <QTest>

#include <atomic>
#include <thread>

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
        CaptureContext context{settings, counters, meter};

        constexpr int frames = 200000;
        constexpr uint32_t length = 1514;
        const TestFrame download = ipv4Frame(ip(203, 0, 113, 7), ip(192, 168, 0, 10), length);
        const TestFrame upload = ipv4Frame(ip(192, 168, 0, 10), ip(203, 0, 113, 8), 100);
        std::atomic<bool> done{false};

        std::thread capture([&] {
            for (int i = 0; i < frames; ++i) {
                const TestFrame &frame = (i % 2) ? upload : download;
                classifyFrame(reinterpret_cast<u_char *>(&context), &frame.header,
                              frame.data());
            }
            done = true;
        });

        qint64 downloadSum = 0, uploadSum = 0, packetSum = 0;
        int edits = 0;
        while (!done) {
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
        }
        capture.join();
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
    }
};

QTEST_GUILESS_MAIN(TestCaptureThreads)
#include "tst_capture_threads.moc"
