#include "capture/classifier.h"

#include "meter/fapmeter.h"
#include "meter/trafficcounters.h"
#include "settings/appsettings.h"

namespace {

constexpr uint32_t kSourceOffset = 26;
constexpr uint32_t kDestinationOffset = 30;
constexpr uint32_t kMinimumCaptured = 34;

uint32_t readAddress(const u_char *at) noexcept
{
    return (uint32_t(at[0]) << 24) | (uint32_t(at[1]) << 16) | (uint32_t(at[2]) << 8) | uint32_t(at[3]);
}

bool onLan(uint32_t address, const AddressSet &lan, bool useAll192168) noexcept
{
    return lan.contains(address) || (useAll192168 && (address >> 16) == 0xC0A8u);
}

} // namespace

FrameVerdict classifyAddresses(uint32_t source, uint32_t destination, const AddressSet &lan,
                               const AddressSet &ignored, bool useAll192168) noexcept
{
    const bool sourceOnLan = onLan(source, lan, useAll192168);
    const bool destinationOnLan = onLan(destination, lan, useAll192168);
    if (destinationOnLan && !sourceOnLan && !ignored.contains(source))
        return FrameVerdict::Download;
    if (sourceOnLan && !destinationOnLan && !ignored.contains(destination))
        return FrameVerdict::Upload;
    return FrameVerdict::Neither;
}

void classifyFrame(u_char *user, const pcap_pkthdr *header, const u_char *bytes)
{
    if (header->caplen < kMinimumCaptured)
        return;
    auto &context = *reinterpret_cast<CaptureContext *>(user);

    // The decision is finished, and the list snapshots released, before any counter changes.
    FrameVerdict verdict;
    {
        const auto lan = context.settings.lanAddresses.snapshot();
        const auto ignored = context.settings.ignoredAddresses.snapshot();
        verdict = classifyAddresses(readAddress(bytes + kSourceOffset), readAddress(bytes + kDestinationOffset),
                                    *lan, *ignored, context.settings.useAll192168.load(std::memory_order_relaxed));
    }

    const uint32_t length = header->len;
    TrafficCounters &counters = context.counters;
    switch (verdict) {
    case FrameVerdict::Download:
        counters.downloadedTotal.fetch_add(length, std::memory_order_relaxed);
        context.meter.addDownload(length);
        counters.tickDownloadBytes.fetch_add(static_cast<int32_t>(length), std::memory_order_relaxed);
        counters.downloadPackets.fetch_add(1, std::memory_order_relaxed);
        break;
    case FrameVerdict::Upload:
        counters.uploadedTotal.fetch_add(length, std::memory_order_relaxed);
        counters.tickUploadBytes.fetch_add(static_cast<int32_t>(length), std::memory_order_relaxed);
        counters.uploadPackets.fetch_add(1, std::memory_order_relaxed);
        break;
    case FrameVerdict::Neither:
        return;
    }
    counters.tickPackets.fetch_add(1, std::memory_order_relaxed);
    counters.addPacketSize(length);
}
