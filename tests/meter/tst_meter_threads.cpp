#include "meter/fapmeter.h"
#include "meter/trafficstats.h"

#include <QTest>

#include <atomic>
#include <limits>
#include <thread>

// The capture thread adds frames while the user-interface thread ticks, resets and applies
// settings: no change of the bucket may be lost.
class TestMeterThreads : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void concurrentChanges()
    {
        constexpr int rounds = 300, framesPerRound = 2000, ticksPerRound = 200;
        constexpr uint32_t frame = 1514;
        FapParameters draining;
        draining.cutOffLimit = std::numeric_limits<int32_t>::max(); // no clamp: every change counts
        draining.rechargeRate = 4096;
        FapParameters still = draining;
        still.rechargeRate = 0;
        FapParameters small = still;
        small.cutOffLimit = 5000000;

        FapMeter meter;
        std::atomic<int> started{-1};
        std::atomic<int> finished{-1};
        std::thread capture([&] {
            for (int round = 0; round < rounds; ++round) {
                while (started.load(std::memory_order_acquire) < round)
                    std::this_thread::yield();
                for (int i = 0; i < framesPerRound; ++i)
                    meter.addDownload(frame);
                finished.store(round, std::memory_order_release);
            }
        });

        TrafficStats stats;
        int mismatches = 0;
        for (int round = 0; round < rounds; ++round) {
            int64_t expected = 0;
            switch (round % 3) {
            case 0: {
                // A typed level high enough that every tick drains: frames and ticks add up.
                const int32_t typed = 100000000 + round;
                meter.applySettings(draining, typed);
                expected = typed + int64_t(framesPerRound) * frame - int64_t(ticksPerRound) * draining.rechargeRate;
                started.store(round, std::memory_order_release);
                for (int i = 0; i < ticksPerRound; ++i) {
                    meter.setParameters(draining);
                    meter.tick(46000.5, int32_t(frame), 0, stats);
                }
                break;
            }
            case 1:
                // An empty bucket and no recharge: the ticks race the frames without changing the sum.
                meter.resetLevel();
                meter.setParameters(still);
                expected = int64_t(framesPerRound) * frame;
                started.store(round, std::memory_order_release);
                for (int i = 0; i < ticksPerRound; ++i)
                    meter.tick(46000.5, int32_t(frame), 0, stats);
                break;
            default:
                // A full bucket: resets and confirmations race the frames, and every frame after the
                // last confirmation stops at the limit.
                meter.applySettings(small, small.cutOffLimit);
                expected = small.cutOffLimit;
                started.store(round, std::memory_order_release);
                for (int i = 0; i < ticksPerRound; ++i) {
                    meter.resetLevel();
                    meter.tick(46000.5, int32_t(frame), 0, stats);
                    meter.applySettings(small, small.cutOffLimit);
                }
                break;
            }
            while (finished.load(std::memory_order_acquire) < round)
                std::this_thread::yield();
            if (meter.usedBytes() != expected && mismatches++ == 0)
                qWarning("round %d: usedBytes %d, serial result %lld", round, meter.usedBytes(), qlonglong(expected));
        }
        capture.join();
        QCOMPARE(mismatches, 0);
    }
};

QTEST_GUILESS_MAIN(TestMeterThreads)
#include "tst_meter_threads.moc"
