#include "capture/classifier.h"

#include "meter/fapmeter.h"
#include "meter/trafficcounters.h"
#include "settings/appsettings.h"

#include <algorithm>
#include <limits>

namespace {

constexpr uint32_t kSourceInIpHeader = 12;
constexpr uint32_t kDestinationInIpHeader = 16;
constexpr int64_t kEthernetHeader = 14;
constexpr uint8_t kIpv4EtherTypeHigh = 0x08;
constexpr uint8_t kIpv4EtherTypeLow = 0x00;
constexpr uint8_t kInetFamily = 2; // AF_INET on every system that writes null-link captures

uint32_t readAddress(const u_char *at) noexcept
{
    return (uint32_t(at[0]) << 24) | (uint32_t(at[1]) << 16) | (uint32_t(at[2]) << 8) | uint32_t(at[3]);
}

bool inSubnet(uint32_t address) noexcept
{
    return (address >> 16) == 0xC0A8u;
}

bool onLan(uint32_t address, const AddressSet &lan, bool useAll192168) noexcept
{
    return lan.contains(address) || (useAll192168 && inSubnet(address));
}

// The verdict once both ends are known to be on the LAN or not.
FrameVerdict decide(uint32_t source, bool sourceOnLan, uint32_t destination, bool destinationOnLan,
                    const AddressSet &ignored) noexcept
{
    if (destinationOnLan && !sourceOnLan && !ignored.contains(source))
        return FrameVerdict::Download;
    if (sourceOnLan && !destinationOnLan && !ignored.contains(destination))
        return FrameVerdict::Upload;
    return FrameVerdict::Neither;
}

bool isIpv4EtherType(const u_char *at) noexcept
{
    return at[0] == kIpv4EtherTypeHigh && at[1] == kIpv4EtherTypeLow;
}

// Ethernet is read at fixed offsets without a look at its type, as the program always did.
bool carriesIpv4(LinkLayout::Kind kind, const u_char *bytes) noexcept
{
    switch (kind) {
    case LinkLayout::Kind::Ethernet:
        return true;
    case LinkLayout::Kind::CookedV1:
        return isIpv4EtherType(bytes + 14);
    case LinkLayout::Kind::CookedV2:
        return isIpv4EtherType(bytes);
    case LinkLayout::Kind::RawIp:
        return (bytes[0] >> 4) == 4;
    case LinkLayout::Kind::Null:
        // The family is in the byte order of the machine that captured; either end holds the 2.
        return (bytes[0] == kInetFamily && bytes[1] == 0 && bytes[2] == 0 && bytes[3] == 0)
               || (bytes[0] == 0 && bytes[1] == 0 && bytes[2] == 0 && bytes[3] == kInetFamily);
    }
    return false;
}

} // namespace

std::optional<LinkLayout> linkLayoutFor(int linkType) noexcept
{
    using Kind = LinkLayout::Kind;
    switch (linkType) {
    case DLT_EN10MB:
        return LinkLayout{Kind::Ethernet, 14};
    case DLT_LINUX_SLL:
        return LinkLayout{Kind::CookedV1, 16};
    case DLT_LINUX_SLL2:
        return LinkLayout{Kind::CookedV2, 20};
    case DLT_RAW:
    case DLT_IPV4:
        return LinkLayout{Kind::RawIp, 0};
    case DLT_NULL:
    case DLT_LOOP:
        return LinkLayout{Kind::Null, 4};
    default:
        return std::nullopt;
    }
}

QString linkTypeName(int linkType)
{
    const char *name = pcap_datalink_val_to_name(linkType);
    return name ? QString::fromLatin1(name) : QString::number(linkType);
}

CaptureContext::CaptureContext(AppSettings &settings, TrafficCounters &counters, FapMeter &meter, LinkLayout link)
    : settings(settings)
    , counters(counters)
    , meter(meter)
    , link(link)
    , lan(settings.lanAddresses)
    , ignored(settings.ignoredAddresses)
{
}

CaptureContext::CaptureContext(AppSettings &settings, TrafficCounters &counters, FapMeter &meter, HostCounters &hosts,
                               LinkLayout link)
    : CaptureContext(settings, counters, meter, link)
{
    pendingHosts = std::make_unique<PendingHostBytes>(hosts);
}

PendingHostBytes::PendingHostBytes(HostCounters &shared)
    : m_shared(&shared)
    , m_bytes(new uint64_t[HostCounters::slotCount]())
    , m_touched(new uint32_t[HostCounters::slotCount]())
    , m_listedAddress(new uint32_t[HostCounters::listedSlots]())
{
}

void PendingHostBytes::flush() noexcept
{
    for (uint32_t i = 0; i < m_touchedCount; ++i) {
        const uint32_t slot = m_touched[i];
        const uint32_t address = slot >= HostCounters::subnetSlots ? m_listedAddress[slot - HostCounters::subnetSlots]
                                                                  : 0;
        m_shared->add(slot, address, m_bytes[slot]);
        m_bytes[slot] = 0;
    }
    m_touchedCount = 0;
}

FrameVerdict classifyAddresses(uint32_t source, uint32_t destination, const AddressSet &lan,
                               const AddressSet &ignored, bool useAll192168) noexcept
{
    return decide(source, onLan(source, lan, useAll192168), destination, onLan(destination, lan, useAll192168),
                  ignored);
}

void classifyFrame(u_char *user, const pcap_pkthdr *header, const u_char *bytes)
{
    auto &context = *reinterpret_cast<CaptureContext *>(user);
    const LinkLayout link = context.link;
    if (header->caplen < bytesRead(link) || !carriesIpv4(link.kind, bytes))
        return;
    // A wire length shorter than its own link header is a damaged record, not a frame.
    const int64_t counted = int64_t(header->len) + kEthernetHeader - int64_t(link.networkOffset);
    if (counted < 0 || counted > std::numeric_limits<uint32_t>::max())
        return;

    const u_char *ip = bytes + link.networkOffset;
    const uint32_t source = readAddress(ip + kSourceInIpHeader);
    const uint32_t destination = readAddress(ip + kDestinationInIpHeader);
    const AddressSet &lan = context.lan.current();
    const bool useAll192168 = context.settings.useAll192168.load(std::memory_order_relaxed);
    // The destination's place in the list serves the verdict and the host's slot alike.
    const int destinationIndex = lan.indexOf(destination);
    const FrameVerdict verdict =
        decide(source, onLan(source, lan, useAll192168), destination,
               destinationIndex >= 0 || (useAll192168 && inSubnet(destination)), context.ignored.current());

    const auto length = static_cast<uint32_t>(counted);
    PendingCounts &pending = context.pending;
    switch (verdict) {
    case FrameVerdict::Download:
        pending.downloadBytes += length;
        ++pending.downloadPackets;
        // A download's destination is on the LAN: a 192.168 address or a listed one.
        if (PendingHostBytes *hosts = context.pendingHosts.get())
            hosts->add(HostCounters::slotOf(destination, destinationIndex), destination, length);
        break;
    case FrameVerdict::Upload:
        pending.uploadBytes += length;
        ++pending.uploadPackets;
        break;
    case FrameVerdict::Neither:
        return;
    }
    if (!pending.meanMoved) {
        pending.meanBefore = pending.mean = context.counters.meanPacketSize.load(std::memory_order_relaxed);
        pending.meanMoved = true;
    }
    pending.mean = TrafficCounters::movedMean(pending.mean, length);
}

void CaptureContext::flush() noexcept
{
    if (pendingHosts)
        pendingHosts->flush();
    PendingCounts &p = pending;
    if (p.downloadPackets == 0 && p.uploadPackets == 0)
        return;
    if (p.downloadPackets != 0) {
        counters.downloadedTotal.fetch_add(int64_t(p.downloadBytes), std::memory_order_relaxed);
        // The bucket takes 32-bit steps; a batch beyond 2 GiB is split.
        for (uint64_t left = p.downloadBytes; left != 0;) {
            const uint64_t step = std::min<uint64_t>(left, uint64_t(std::numeric_limits<int32_t>::max()));
            meter.addDownload(uint32_t(step));
            left -= step;
        }
        counters.tickDownloadBytes.fetch_add(int32_t(uint32_t(p.downloadBytes)), std::memory_order_relaxed);
        counters.downloadPackets.fetch_add(p.downloadPackets, std::memory_order_relaxed);
    }
    if (p.uploadPackets != 0) {
        counters.uploadedTotal.fetch_add(int64_t(p.uploadBytes), std::memory_order_relaxed);
        counters.tickUploadBytes.fetch_add(int32_t(uint32_t(p.uploadBytes)), std::memory_order_relaxed);
        counters.uploadPackets.fetch_add(p.uploadPackets, std::memory_order_relaxed);
    }
    counters.tickPackets.fetch_add(int32_t(p.downloadPackets + p.uploadPackets), std::memory_order_relaxed);
    float expected = p.meanBefore;
    counters.meanPacketSize.compare_exchange_strong(expected, p.mean, std::memory_order_relaxed);
    p = PendingCounts{};
}
