#include "meter/trafficcounters.h"

TrafficCounters::Tick TrafficCounters::takeTick() noexcept
{
    return Tick{tickDownloadBytes.exchange(0), tickUploadBytes.exchange(0), tickPackets.exchange(0)};
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
