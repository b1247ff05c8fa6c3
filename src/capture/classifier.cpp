#include "capture/classifier.h"

#include "meter/fapmeter.h"
#include "meter/trafficcounters.h"
#include "settings/appsettings.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <type_traits>
#include <utility>

namespace {

constexpr uint32_t kSourceInIpHeader = 12;
constexpr uint32_t kDestinationInIpHeader = 16;
constexpr uint32_t kIpv4Header = 20;
constexpr uint32_t kSourceInIpv6Header = 8;
constexpr uint32_t kDestinationInIpv6Header = 24;
constexpr uint32_t kIpv6Header = 40;
constexpr uint32_t kEthernetHeader = 14;
constexpr uint32_t kVlanTag = 4;
constexpr int kMostTags = 2;
constexpr uint16_t kIpv4EtherType = 0x0800;
constexpr uint16_t kIpv6EtherType = 0x86DD;
constexpr uint16_t kVlanEtherType = 0x8100;
constexpr uint16_t kServiceVlanEtherType = 0x88A8;
constexpr uint8_t kTcp = 6;
constexpr uint32_t kTcpLengthInHeader = 12;
constexpr uint32_t kShortestTcpHeader = 20;

enum class Family : uint8_t { None, Ipv4, Ipv6 };

uint16_t read16(const u_char *at) noexcept
{
    return uint16_t((at[0] << 8) | at[1]);
}

uint32_t readAddress(const u_char *at) noexcept
{
    return (uint32_t(at[0]) << 24) | (uint32_t(at[1]) << 16) | (uint32_t(at[2]) << 8) | uint32_t(at[3]);
}

Ipv6Address readIpv6Address(const u_char *at) noexcept
{
    uint64_t halves[2];
    std::memcpy(halves, at, sizeof halves);
    if constexpr (std::endian::native == std::endian::little)
        return {__builtin_bswap64(halves[0]), __builtin_bswap64(halves[1])};
    return {halves[0], halves[1]};
}

bool inSubnet(uint32_t address) noexcept
{
    return (address >> 16) == 0xC0A8u;
}

bool onLan(uint32_t address, const AddressSet &lan, bool useAll192168) noexcept
{
    return (unsigned(lan.contains(address)) | (unsigned(useAll192168) & unsigned(inSubnet(address)))) != 0;
}

// Link-local, unique-local, multicast, loopback and the unspecified address: traffic that never
// crosses the provider's link.
bool staysLocal(const Ipv6Address &address) noexcept
{
    const uint64_t top = address.high;
    return (top >> 54) == 0x3FAu /* fe80::/10 */ || (top >> 57) == 0x7Eu /* fc00::/7 */
           || (top >> 56) == 0xFFu /* ff00::/8 */ || (top == 0 && address.low <= 1);
}

using Verdict = PendingCounts::Verdict;

uint32_t pick(bool which, uint32_t first, uint32_t second) noexcept
{
    return selectBits(which, first, second);
}
Ipv6Address pick(bool which, const Ipv6Address &first, const Ipv6Address &second) noexcept
{
    return {selectBits(which, first.high, second.high), selectBits(which, first.low, second.low)};
}

// The verdict once both ends are known to be on the LAN or not. Only the end outside the LAN is
// looked up in the ignore list, and always one of them, so nothing branches on the addresses: a
// frame's addresses are as good as random and such a branch would be guessed wrong half the time.
template<typename Address>
Verdict decide(const Address &source, bool sourceOnLan, const Address &destination, bool destinationOnLan,
               const AddressSet &ignored) noexcept
{
    // By source on the LAN, destination on the LAN, the outside end ignored.
    static constexpr Verdict verdicts[8] = {Verdict::Neither, Verdict::Upload,  Verdict::Download, Verdict::Neither,
                                            Verdict::Neither, Verdict::Neither, Verdict::Neither,  Verdict::Neither};
    // An ignore list without an entry of the family, the usual case, is not looked at: the
    // branch goes the same way frame after frame.
    const bool listsTheFamily = std::is_same_v<Address, uint32_t> ? ignored.hasIpv4() : ignored.hasIpv6();
    const bool outsideIgnored = listsTheFamily && ignored.contains(pick(destinationOnLan, source, destination));
    return verdicts[unsigned(sourceOnLan) | unsigned(destinationOnLan) << 1 | unsigned(outsideIgnored) << 2];
}

Family familyOfEtherType(uint16_t type) noexcept
{
    return type == kIpv4EtherType ? Family::Ipv4 : type == kIpv6EtherType ? Family::Ipv6 : Family::None;
}

// The address family numbers of null and loop captures: AF_INET is 2 everywhere; AF_INET6 is 10
// on Linux, 24 on NetBSD and OpenBSD, 28 on FreeBSD and DragonFly, 30 on macOS.
Family familyOfNullLink(const u_char *bytes) noexcept
{
    // The family is in the byte order of the machine that captured; either end holds it.
    uint32_t family;
    if (bytes[1] == 0 && bytes[2] == 0 && bytes[3] == 0)
        family = bytes[0];
    else if (bytes[0] == 0 && bytes[1] == 0 && bytes[2] == 0)
        family = bytes[3];
    else
        return Family::None;
    switch (family) {
    case 2:
        return Family::Ipv4;
    case 10:
    case 24:
    case 28:
    case 30:
        return Family::Ipv6;
    default:
        return Family::None;
    }
}

// The family of the frame's IP header, and in `offset` the bytes of link header before it; the
// caller has checked that the link layout's own header was captured.
Family readLink(LinkLayout link, const u_char *bytes, uint32_t captured, uint32_t &offset) noexcept
{
    offset = link.networkOffset;
    switch (link.kind) {
    case LinkLayout::Kind::Ethernet:
        for (int tags = 0;; ++tags) {
            const uint16_t type = read16(bytes + offset - 2);
            if ((type != kVlanEtherType && type != kServiceVlanEtherType) || tags == kMostTags)
                return familyOfEtherType(type);
            offset += kVlanTag;
            if (captured < offset)
                return Family::None;
        }
    case LinkLayout::Kind::CookedV1:
        return familyOfEtherType(read16(bytes + 14));
    case LinkLayout::Kind::CookedV2:
        return familyOfEtherType(read16(bytes));
    case LinkLayout::Kind::RawIp:
        return captured == 0 ? Family::None
               : (bytes[0] >> 4) == 4 ? Family::Ipv4
               : (bytes[0] >> 4) == 6 ? Family::Ipv6
                                      : Family::None;
    case LinkLayout::Kind::Null:
        return familyOfNullLink(bytes);
    }
    return Family::None;
}

// The length a TCP frame merged by the receive offload had on the link: each segment of at most
// the MTU with its own Ethernet, IP and TCP headers. Nothing for a frame within the MTU, one that
// is not TCP (IPv6 with extension headers included) or whose TCP header was not captured.
std::optional<uint64_t> mergedLength(Family family, const u_char *ip, uint32_t available, uint32_t ipLength,
                                     uint32_t mtu) noexcept
{
    if (mtu == 0 || ipLength <= mtu)
        return std::nullopt;
    uint32_t ipHeader;
    if (family == Family::Ipv4) {
        ipHeader = uint32_t(ip[0] & 0x0F) * 4;
        if (ip[9] != kTcp || ipHeader < kIpv4Header)
            return std::nullopt;
    } else {
        ipHeader = kIpv6Header;
        if (ip[6] != kTcp)
            return std::nullopt;
    }
    if (available <= ipHeader + kTcpLengthInHeader)
        return std::nullopt;
    const uint32_t tcpHeader = uint32_t(ip[ipHeader + kTcpLengthInHeader] >> 4) * 4;
    const uint32_t headers = ipHeader + tcpHeader;
    if (tcpHeader < kShortestTcpHeader || headers >= mtu || headers > ipLength)
        return std::nullopt;
    const uint64_t payload = ipLength - headers;
    const uint64_t segmentSize = mtu - headers;
    const uint64_t segments = (payload + segmentSize - 1) / segmentSize;
    return payload + segments * (headers + kEthernetHeader);
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

const AddressSet &CaptureContext::ipv6Lan() noexcept
{
    const bool useAdapter = settings.useAdapterIpv6.load(std::memory_order_relaxed);
    const AddressSet &listed = lan.current();
    const AddressSet *adapter = useAdapter ? &adapterNetworksReader.current() : nullptr;
    const uint64_t from[2] = {lan.generation(), adapter ? adapterNetworksReader.generation() : ~uint64_t(0)};
    if (!m_ipv6Lan || from[0] != m_ipv6LanFrom[0] || from[1] != m_ipv6LanFrom[1]) {
        m_ipv6Lan = std::make_unique<const AddressSet>(adapter ? listed.entries() + adapter->entries() : listed.entries());
        m_ipv6LanFrom[0] = from[0];
        m_ipv6LanFrom[1] = from[1];
    }
    return *m_ipv6Lan;
}

PendingHostBytes::PendingHostBytes(HostCounters &shared)
    : m_shared(&shared)
    , m_bytes(new uint64_t[discardSlot + 1]())
    , m_touchedBits(new uint64_t[wordCount]())
    , m_touchedWords(new uint64_t[summaryCount]())
    , m_listedAddress(new uint32_t[HostCounters::listedSlots + 1]())
    , m_ipv6Address(new Ipv6Address[HostCounters::ipv6Slots]())
    , m_ipv6Slot(new uint16_t[HostCounters::ipv6Slots]())
    , m_ipv6BySlot(new Ipv6Address[HostCounters::ipv6Slots]())
{
}

HostAddress PendingHostBytes::addressOf(uint32_t slot) const noexcept
{
    if (slot >= HostCounters::firstIpv6Slot) {
        const Ipv6Address &address = m_ipv6BySlot[slot - HostCounters::firstIpv6Slot];
        return {address.high, address.low};
    }
    return HostAddress::fromIpv4(slot >= HostCounters::subnetSlots ? m_listedAddress[slot - HostCounters::subnetSlots]
                                                                    : 0);
}

void PendingHostBytes::flush() noexcept
{
    for (uint32_t summary = 0; summary < summaryCount; ++summary) {
        for (uint64_t words = std::exchange(m_touchedWords[summary], 0); words != 0; words &= words - 1) {
            const uint32_t word = summary * 64 + uint32_t(std::countr_zero(words));
            const uint64_t bits = std::exchange(m_touchedBits[word], 0);
            if (word == discardSlot / 64) {
                m_bytes[discardSlot] = 0;
                continue;
            }
            for (uint64_t left = bits; left != 0; left &= left - 1) {
                const uint32_t slot = word * 64 + uint32_t(std::countr_zero(left));
                m_shared->addUnmarked(slot, addressOf(slot), m_bytes[slot]);
                m_bytes[slot] = 0;
            }
            m_shared->mark(word, bits);
        }
    }
}

void classifyFrame(u_char *user, const pcap_pkthdr *header, const u_char *bytes)
{
    auto &context = *reinterpret_cast<CaptureContext *>(user);
    const LinkLayout link = context.link;
    const uint32_t captured = header->caplen;
    if (captured < link.networkOffset)
        return;
    uint32_t offset;
    const Family family = readLink(link, bytes, captured, offset);
    if (family == Family::None || captured < offset + (family == Family::Ipv4 ? kIpv4Header : kIpv6Header))
        return;
    // A wire length shorter than its own link header is a damaged record, not a frame.
    if (header->len < offset)
        return;
    const u_char *ip = bytes + offset;
    const uint32_t ipLength = header->len - offset;
    const uint64_t counted = mergedLength(family, ip, captured - offset, ipLength, context.mtu)
                                 .value_or(uint64_t(ipLength) + kEthernetHeader);
    if (counted > std::numeric_limits<uint32_t>::max())
        return;

    const AddressSet &lan = context.lan.current();
    const auto length = static_cast<uint32_t>(counted);
    Verdict verdict;
    if (family == Family::Ipv4) {
        const uint32_t source = readAddress(ip + kSourceInIpHeader);
        const uint32_t destination = readAddress(ip + kDestinationInIpHeader);
        const bool useAll192168 = context.settings.useAll192168.load(std::memory_order_relaxed);
        // The destination's place in the list serves the verdict and the host's slot alike.
        const int destinationIndex = lan.indexOf(destination);
        verdict = decide(source, onLan(source, lan, useAll192168), destination,
                         (unsigned(destinationIndex >= 0) | (unsigned(useAll192168) & unsigned(inSubnet(destination)))) != 0, context.ignored.current());
        // A download's destination is on the LAN: a 192.168 address or a listed one.
        if (PendingHostBytes *hosts = context.pendingHosts.get())
            hosts->add(verdict == Verdict::Download, HostCounters::slotOf(destination, destinationIndex), destination,
                       length);
    } else {
        const Ipv6Address source = readIpv6Address(ip + kSourceInIpv6Header);
        const Ipv6Address destination = readIpv6Address(ip + kDestinationInIpv6Header);
        if (staysLocal(source) || staysLocal(destination))
            return;
        const AddressSet &lan6 = context.ipv6Lan();
        verdict = decide(source, lan6.contains(source), destination, lan6.contains(destination),
                         context.ignored.current());
        if (PendingHostBytes *hosts = context.pendingHosts.get()) {
            const bool download = verdict == Verdict::Download;
            uint32_t slot = hosts->nearIpv6Slot(destination);
            // Only a download's destination may take a slot; a host seen before is found
            // without this branch, so it goes the same way nearly every time.
            if (selectBits(download, slot, 0u) == HostCounters::noSlot)
                slot = hosts->ipv6Slot(destination);
            hosts->add(download, slot, 0, length);
        }
    }

    if (PendingFlows *flows = context.pendingFlows.get())
        flows->add(ip, captured - offset, verdict == Verdict::Download, verdict == Verdict::Upload, length);
    PendingCounts &pending = context.pending;
    pending.bytes[verdict] += length;
    ++pending.packets[verdict];
    if (!pending.meanMoved) {
        pending.meanBefore = pending.mean = context.counters.meanPacketSize.load(std::memory_order_relaxed);
        pending.meanMoved = true;
    }
    pending.mean = TrafficCounters::movedMean(pending.mean, length, verdict != Verdict::Neither);
}

void CaptureContext::flush() noexcept
{
    if (pendingHosts)
        pendingHosts->flush();
    PendingCounts &p = pending;
    const uint64_t downloadBytes = p.bytes[Verdict::Download], uploadBytes = p.bytes[Verdict::Upload];
    const uint32_t downloadPackets = p.packets[Verdict::Download], uploadPackets = p.packets[Verdict::Upload];
    if (downloadPackets == 0 && uploadPackets == 0) {
        p = PendingCounts{};
        return;
    }
    if (downloadPackets != 0) {
        counters.downloadedTotal.fetch_add(int64_t(downloadBytes), std::memory_order_relaxed);
        // The bucket takes 32-bit steps; a batch beyond 2 GiB is split.
        for (uint64_t left = downloadBytes; left != 0;) {
            const uint64_t step = std::min<uint64_t>(left, uint64_t(std::numeric_limits<int32_t>::max()));
            meter.addDownload(uint32_t(step));
            left -= step;
        }
        counters.tickDownloadBytes.fetch_add(int32_t(uint32_t(downloadBytes)), std::memory_order_relaxed);
        counters.downloadPackets.fetch_add(downloadPackets, std::memory_order_relaxed);
    }
    if (uploadPackets != 0) {
        counters.uploadedTotal.fetch_add(int64_t(uploadBytes), std::memory_order_relaxed);
        counters.tickUploadBytes.fetch_add(int32_t(uint32_t(uploadBytes)), std::memory_order_relaxed);
        counters.uploadPackets.fetch_add(uploadPackets, std::memory_order_relaxed);
    }
    counters.tickPackets.fetch_add(int32_t(downloadPackets + uploadPackets), std::memory_order_relaxed);
    float expected = p.meanBefore;
    counters.meanPacketSize.compare_exchange_strong(expected, p.mean, std::memory_order_relaxed);
    p = PendingCounts{};
}
