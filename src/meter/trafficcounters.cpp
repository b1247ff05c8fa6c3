#include "meter/trafficcounters.h"

TrafficCounters::Tick TrafficCounters::takeTick() noexcept
{
    return Tick{tickDownloadBytes.exchange(0), tickUploadBytes.exchange(0), tickPackets.exchange(0)};
}

void TrafficCounters::addPacketSize(uint32_t length) noexcept
{
    // A loop rather than load-then-store, so a reset to 0 is never overwritten by a stale mean.
    float old = meanPacketSize.load(std::memory_order_relaxed);
    while (!meanPacketSize.compare_exchange_weak(
        old, static_cast<float>(double(old) * 0.999 + double(length) * 0.001), std::memory_order_relaxed)) {
    }
}

void TrafficCounters::resetInterface() noexcept
{
    downloadedTotal.store(0);
    tickDownloadBytes.store(0);
    tickUploadBytes.store(0);
    tickPackets.store(0);
    downloadPackets.store(0);
    uploadPackets.store(0);
    meanPacketSize.store(0.0f);
}
