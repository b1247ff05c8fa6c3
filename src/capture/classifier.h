#pragma once

#include "meter/hostcounters.h"
#include "programs/flowtable.h"
#include "settings/addressset.h"

#include <pcap/pcap.h>

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class FapMeter;
struct AppSettings;
struct TrafficCounters;

// Where a link type puts the IP header, and how it tells IPv4 and IPv6 from anything else.
struct LinkLayout
{
    enum class Kind : uint8_t { Ethernet, CookedV1, CookedV2, RawIp, Null };
    Kind kind = Kind::Ethernet;
    uint32_t networkOffset = 14; // bytes of link header before the IP header, without VLAN tags
};

// The layout of a capture library link type (DLT_*); nothing for a type the classifier cannot read.
std::optional<LinkLayout> linkLayoutFor(int linkType) noexcept;
// The library's name of a link type ("EN10MB"), or its number when the library has none.
QString linkTypeName(int linkType);
// How many bytes of each frame the classifier reads at most: the link header with two VLAN tags on
// Ethernet, the longest IPv4 header (IPv6's is shorter) and a TCP header up to its length, which
// a merged frame needs.
inline uint32_t bytesRead(const LinkLayout &link) noexcept
{
    constexpr uint32_t twoTags = 8, longestIpv4Header = 60, tcpUpToLength = 13;
    return link.networkOffset + (link.kind == LinkLayout::Kind::Ethernet ? twoTags : 0) + longestIpv4Header
           + tcpUpToLength;
}

// The counts of the frames classified since the last flush. The capture thread alone keeps
// them, so a frame costs plain additions instead of atomic read-modify-writes on shared counters.
// Indexed by a frame's verdict: what counts nothing adds to a place of its own that nobody reads,
// so a frame is counted without a branch on what it was.
struct PendingCounts
{
    enum Verdict : uint8_t { Neither, Download, Upload };
    uint64_t bytes[3] = {};
    uint32_t packets[3] = {};
    bool started = false; // a frame of the batch has been seen
    float meanBefore = 0.0f; // the shared mean when the batch began
    float mean = 0.0f;       // the same moved by every frame of the batch
};

// The download bytes per LAN host of the frames classified since the last flush, in the slots of
// HostCounters; made once, so a frame costs no allocation. A frame only notes its destination
// and length at the end of a short log, kept there when it was a download and overwritten by the
// next frame otherwise, so nothing branches on the frame; the log is summed per slot when full
// and at the flush. IPv6 hosts get their slots there, on their first download: a short probe of
// an open-addressing table of their addresses. A host whose probe finds no room counts with the
// other traffic, in the totals only.
class PendingHostBytes
{
public:
    static constexpr uint32_t mostProbes = 32;
    static constexpr uint32_t logSize = 256;

    explicit PendingHostBytes(HostCounters &shared);

    // Notes `length` bytes for an IPv4 `destination`, when `download` holds; `listedIndex` is
    // its place in the LAN list (-1: not listed).
    void noteIpv4(bool download, uint32_t destination, int listedIndex, uint32_t length) noexcept
    {
        m_ipv4Log[m_ipv4Logged] = {destination, listedIndex, length};
        m_ipv4Logged += uint32_t(download);
        if (m_ipv4Logged == logSize) [[unlikely]]
            sumLogs();
    }
    // The same for an IPv6 `destination`.
    void noteIpv6(bool download, const Ipv6Address &destination, uint32_t length) noexcept
    {
        m_ipv6Log[m_ipv6Logged] = {destination, length};
        m_ipv6Logged += uint32_t(download);
        if (m_ipv6Logged == logSize) [[unlikely]]
            sumLogs();
    }
    // Each slot with bytes into the shared counters, once.
    void flush() noexcept;

private:
    struct Ipv4Download
    {
        uint32_t destination;
        int listedIndex;
        uint32_t length;
    };
    struct Ipv6Download
    {
        Ipv6Address destination;
        uint32_t length;
    };
    // The logged downloads into their slots' bytes; each slot with bytes is a bit of a word and
    // each such word a bit of a summary, so the flush finds them without a list.
    void sumLogs() noexcept;
    void add(uint32_t slot, uint32_t length) noexcept;
    // The slot of an IPv6 LAN host; noSlot when the table has no room near its place.
    uint32_t ipv6Slot(const Ipv6Address &address) noexcept;
    HostAddress addressOf(uint32_t slot) const noexcept;

    static constexpr uint32_t wordCount = HostCounters::slotCount / 64;
    static constexpr uint32_t summaryCount = (wordCount + 63) / 64;

    HostCounters *m_shared;
    std::unique_ptr<Ipv4Download[]> m_ipv4Log;
    std::unique_ptr<Ipv6Download[]> m_ipv6Log;
    uint32_t m_ipv4Logged = 0;
    uint32_t m_ipv6Logged = 0;
    std::unique_ptr<uint64_t[]> m_bytes;
    std::unique_ptr<uint64_t[]> m_touchedBits; // a bit per slot with bytes
    std::unique_ptr<uint64_t[]> m_touchedWords; // a bit per word of m_touchedBits that is not 0
    std::unique_ptr<uint32_t[]> m_listedAddress;
    std::unique_ptr<Ipv6Address[]> m_ipv6Address; // by place in the table; :: where free
    std::unique_ptr<uint16_t[]> m_ipv6Slot; // the IPv6 slot of each taken place
    std::unique_ptr<Ipv6Address[]> m_ipv6BySlot;
    uint32_t m_ipv6Count = 0; // IPv6 slots taken
    static_assert(HostCounters::ipv6Slots <= 65536, "an IPv6 slot number fits 16 bits");
};

// What the capture callback counts into; handed to the capture loop as its user argument. The
// readers of the two lists and the pending counts belong to the capture thread alone.
struct CaptureContext
{
    CaptureContext(AppSettings &settings, TrafficCounters &counters, FapMeter &meter, LinkLayout link = {});
    // The same, with the download of each LAN host counted into `hosts` as well.
    CaptureContext(AppSettings &settings, TrafficCounters &counters, FapMeter &meter, HostCounters &hosts,
                   LinkLayout link = {});

    // Hands the pending counts to the shared counters and the bucket: each counter and the
    // bucket change once, by atomic read-modify-write, whatever the number of frames. The
    // capture thread calls it after every batch the library hands over; frames count in the
    // tick that follows their flush. A reset of the counters during the batch keeps the mean at
    // what the reset left.
    void flush() noexcept;

    // What every frame of a batch reads, taken once at its first frame: the lists and the rule
    // as they stood then, so a frame costs no atomic load and no check for a newer list.
    struct BatchView
    {
        const AddressSet *lists = nullptr; // see lists()
        bool useAll192168 = false;
    };
    // Starts a batch: the view and the mean it moves from. classifyFrame calls it at the first
    // frame after a flush.
    const BatchView &beginBatch() noexcept;
    BatchView batch;

    AppSettings &settings;
    TrafficCounters &counters;
    FapMeter &meter;
    LinkLayout link;
    // The longest IP packet the adapter sends or receives; a longer TCP frame was merged by the
    // receive offload and counts each segment's headers. 0: every frame counts as captured.
    uint32_t mtu = 0;
    // The LAN and the ignore list in one set, so an address costs one look-up for both: the LAN
    // list and, while AppSettings::useAdapterIpv6 holds, the adapter's IPv6 networks as its
    // entries, the ignore list marked. Made again on the capture thread when a list moves, which
    // is rare; frames in between cost no lock and no allocation.
    const AddressSet &lists() noexcept;

    // The captured adapter's own IPv6 addresses with their prefix lengths ("2001:db8::5/64"),
    // published by whoever follows the adapter; the LAN's while AppSettings::useAdapterIpv6 holds.
    std::shared_ptr<LiveAddressList> adapterNetworks = std::make_shared<LiveAddressList>();
    AddressListReader adapterNetworksReader{*adapterNetworks};
    AddressListReader lan;
    AddressListReader ignored;
    PendingCounts pending;
    std::unique_ptr<PendingHostBytes> pendingHosts; // null: no per-host counting
    std::unique_ptr<PendingFlows> pendingFlows;     // null: no per-program counting; the capture thread flushes it

private:
    std::unique_ptr<const AddressSet> m_lists;
    uint64_t m_listsFrom[3] = {~uint64_t(0), ~uint64_t(0), ~uint64_t(0)}; // the generations it was made of
};

// The capture loop's callback: `user` is a CaptureContext. Reads the frame's type where the link
// type keeps it (past one or two VLAN tags on Ethernet) and the IPv4 or IPv6 addresses, and
// counts downloads and uploads; any other frame counts nothing. A frame counts its wire length
// less its link header plus 14, the length it would have on untagged Ethernet, so the bucket
// does not depend on the adapter chosen; a merged TCP frame counts as the segments it stands for
// (see CaptureContext::mtu). IPv6 link-local, unique-local, multicast and loopback addresses
// are neither on the LAN nor outside: a frame with one at either end counts nothing. Counts into the context's
// pending counts, and a download into its host's slot when the context counts hosts, IPv6 hosts
// included (see
// flush()): takes no lock, changes no shared counter, allocates nothing and builds no text.
void classifyFrame(u_char *user, const pcap_pkthdr *header, const u_char *bytes);
