#include "capture/classifier.h"

#include "meter/fapmeter.h"
#include "meter/trafficcounters.h"
#include "settings/appsettings.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
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

// Link-local, unique-local, multicast, loopback and the unspecified address: traffic that never
// crosses the provider's link. The first three lie within 16 values of the first ten bits from
// 0x3F0 (fc00::) on, so one bit of a constant says it, without a branch.
bool staysLocal(const Ipv6Address &address) noexcept
{
    // From 0x3F0: fc00::/8 and fd00::/8 (0-7), fe80::/10 (10), ff00::/8 (12-15).
    constexpr uint64_t local = 0b1111'0100'1111'1111;
    const uint64_t fromFc = (address.high >> 54) - 0x3F0;
    const unsigned listed = unsigned(fromFc < 16) & unsigned(local >> (fromFc & 15));
    const unsigned loopbackOrUnspecified = unsigned((address.high | (address.low >> 1)) == 0);
    return (listed | loopbackOrUnspecified) != 0;
}

using Verdict = PendingCounts::Verdict;

// What the verdict needs of one end of a frame, in two bits: AddressSet::marked (bit 0) when the
// ignore list holds it, AddressSet::held (bit 1) when it is on the LAN. A look-up of an IPv6
// address in CaptureContext::lists() gives them as they are; an IPv4 address's also says its
// place in the list, and the 192.168 rule (`byRule`: 1 or 0) puts an address on the LAN.
unsigned ipv4End(uint32_t value, unsigned byRule) noexcept
{
    return (value & AddressSet::marked) | (unsigned(value >= AddressSet::held) | byRule) * AddressSet::held;
}

// A download comes from outside the LAN to it, an upload goes the other way, and traffic with
// an ignored host outside counts neither. One look-up in a table of every case: nothing branches
// on the addresses, which are as good as random, so such a branch would be guessed wrong half
// the time.
Verdict decide(unsigned source, unsigned destination) noexcept
{
    static constexpr auto verdicts = [] {
        std::array<Verdict, 16> table{};
        for (unsigned ends = 0; ends < table.size(); ++ends) {
            const unsigned from = ends & 3, to = ends >> 2;
            const auto onLan = [](unsigned end) { return (end & AddressSet::held) != 0; };
            const auto ignored = [](unsigned end) { return (end & AddressSet::marked) != 0; };
            table[ends] = onLan(to) && !onLan(from) && !ignored(from)   ? Verdict::Download
                          : onLan(from) && !onLan(to) && !ignored(to) ? Verdict::Upload
                                                                       : Verdict::Neither;
        }
        return table;
    }();
    return verdicts[source | destination << 2];
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
            const Family family = familyOfEtherType(type);
            if (family != Family::None || (type != kVlanEtherType && type != kServiceVlanEtherType)
                || tags == kMostTags)
                return family;
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

const AddressSet &CaptureContext::lists() noexcept
{
    const bool useAdapter = settings.useAdapterIpv6.load(std::memory_order_relaxed);
    const AddressSet &listed = lan.current();
    const AddressSet &ignoredSet = ignored.current();
    const AddressSet *adapter = useAdapter ? &adapterNetworksReader.current() : nullptr;
    const uint64_t from[3] = {lan.generation(), ignored.generation(),
                              adapter ? adapterNetworksReader.generation() : ~uint64_t(0)};
    if (!m_lists || !std::equal(std::begin(from), std::end(from), std::begin(m_listsFrom))) {
        m_lists = std::make_unique<const AddressSet>(adapter ? listed.entries() + adapter->entries() : listed.entries(),
                                                     ignoredSet.entries());
        std::copy(std::begin(from), std::end(from), std::begin(m_listsFrom));
    }
    return *m_lists;
}

const CaptureContext::BatchView &CaptureContext::beginBatch() noexcept
{
    pending.started = true;
    pending.meanBefore = pending.mean = counters.meanPacketSize.load(std::memory_order_relaxed);
    batch.lists = &lists();
    batch.useAll192168 = settings.useAll192168.load(std::memory_order_relaxed);
    return batch;
}

PendingHostBytes::PendingHostBytes(HostCounters &shared)
    : m_shared(&shared)
    , m_ipv4Log(new Ipv4Download[logSize]())
    , m_ipv6Log(new Ipv6Download[logSize]())
    , m_bytes(new uint64_t[HostCounters::slotCount]())
    , m_touchedBits(new uint64_t[wordCount]())
    , m_touchedWords(new uint64_t[summaryCount]())
    , m_listedAddress(new uint32_t[HostCounters::listedSlots]())
    , m_ipv6Address(new Ipv6Address[HostCounters::ipv6Slots]())
    , m_ipv6Slot(new uint16_t[HostCounters::ipv6Slots]())
    , m_ipv6BySlot(new Ipv6Address[HostCounters::ipv6Slots]())
{
}

uint32_t PendingHostBytes::ipv6Slot(const Ipv6Address &address) noexcept
{
    constexpr uint32_t mask = HostCounters::ipv6Slots - 1;
    // Both halves mixed, the top bits taken: LAN hosts often differ in a few bits of either.
    uint32_t at = uint32_t((((address.high * 0x9E3779B97F4A7C15ull) ^ address.low) * 0xC2B2AE3D27D4EB4Full)
                           >> (64 - std::countr_zero(HostCounters::ipv6Slots)));
    for (uint32_t probe = 0; probe < mostProbes; ++probe, at = (at + 1) & mask) {
        Ipv6Address &held = m_ipv6Address[at];
        if (held == address)
            return HostCounters::firstIpv6Slot + m_ipv6Slot[at];
        // The unspecified address never reaches here, so it marks a free place.
        if (held == Ipv6Address{}) {
            held = address;
            m_ipv6Slot[at] = uint16_t(m_ipv6Count);
            m_ipv6BySlot[m_ipv6Count] = address;
            return HostCounters::firstIpv6Slot + m_ipv6Count++;
        }
    }
    return HostCounters::noSlot;
}

void PendingHostBytes::add(uint32_t slot, uint32_t length) noexcept
{
    m_bytes[slot] += length;
    m_touchedBits[slot / 64] |= uint64_t(1) << (slot % 64);
    m_touchedWords[slot / 4096] |= uint64_t(1) << (slot / 64 % 64);
}

void PendingHostBytes::sumLogs() noexcept
{
    for (uint32_t i = 0; i < m_ipv4Logged; ++i) {
        const Ipv4Download &download = m_ipv4Log[i];
        const uint32_t slot = HostCounters::slotOf(download.destination, download.listedIndex);
        if (slot == HostCounters::noSlot)
            continue;
        add(slot, download.length);
        if (slot >= HostCounters::subnetSlots)
            m_listedAddress[slot - HostCounters::subnetSlots] = download.destination;
    }
    for (uint32_t i = 0; i < m_ipv6Logged; ++i) {
        const uint32_t slot = ipv6Slot(m_ipv6Log[i].destination);
        if (slot != HostCounters::noSlot)
            add(slot, m_ipv6Log[i].length);
    }
    m_ipv4Logged = m_ipv6Logged = 0;
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
    sumLogs();
    for (uint32_t summary = 0; summary < summaryCount; ++summary) {
        for (uint64_t words = std::exchange(m_touchedWords[summary], 0); words != 0; words &= words - 1) {
            const uint32_t word = summary * 64 + uint32_t(std::countr_zero(words));
            const uint64_t bits = std::exchange(m_touchedBits[word], 0);
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

    PendingCounts &pending = context.pending;
    const CaptureContext::BatchView &batch = pending.started ? context.batch : context.beginBatch();
    const auto length = static_cast<uint32_t>(counted);
    Verdict verdict;
    const AddressSet &lists = *batch.lists;
    if (family == Family::Ipv4) {
        const uint32_t source = readAddress(ip + kSourceInIpHeader);
        const uint32_t destination = readAddress(ip + kDestinationInIpHeader);
        const uint32_t sourceHeld = lists.ipv4Value(source), destinationHeld = lists.ipv4Value(destination);
        const unsigned rule = batch.useAll192168;
        verdict = decide(ipv4End(sourceHeld, rule & unsigned(inSubnet(source))),
                         ipv4End(destinationHeld, rule & unsigned(inSubnet(destination))));
        // A download's destination is on the LAN: a 192.168 address or a listed one, whose place
        // in the list gives its slot.
        if (PendingHostBytes *hosts = context.pendingHosts.get())
            hosts->noteIpv4(verdict == Verdict::Download, destination, int(destinationHeld / AddressSet::held) - 1,
                            length);
    } else {
        const Ipv6Address source = readIpv6Address(ip + kSourceInIpv6Header);
        const Ipv6Address destination = readIpv6Address(ip + kDestinationInIpv6Header);
        if ((unsigned(staysLocal(source)) | unsigned(staysLocal(destination))) != 0)
            return;
        verdict = decide(lists.ipv6Value(source), lists.ipv6Value(destination));
        if (PendingHostBytes *hosts = context.pendingHosts.get())
            hosts->noteIpv6(verdict == Verdict::Download, destination, length);
    }

    if (PendingFlows *flows = context.pendingFlows.get())
        flows->add(ip, captured - offset, verdict == Verdict::Download, verdict == Verdict::Upload, length);
    pending.bytes[verdict] += length;
    ++pending.packets[verdict];
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
