#pragma once

#include "meter/select.h"

#include <array>
#include <bit>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

// An address of either family; IPv4 as its IPv4-mapped IPv6 form (::ffff:a.b.c.d), as the
// kernel reports the IPv4 peers of IPv6 sockets.
struct FlowAddress
{
    uint64_t high = 0;
    uint64_t low = 0;

    static constexpr FlowAddress fromIpv4(uint32_t address) noexcept { return {0, 0xFFFF00000000ull | address}; }
    // The 16 bytes of an IPv6 address in network order.
    static FlowAddress fromBytes(const unsigned char *at) noexcept
    {
        uint64_t halves[2];
        std::memcpy(halves, at, sizeof halves);
        return {__builtin_bswap64(halves[0]), __builtin_bswap64(halves[1])};
    }
    friend constexpr bool operator==(const FlowAddress &, const FlowAddress &) = default;
};

// One conversation of this computer as the capture sees it. Frames without ports (other
// protocols, later fragments) share the key of protocol 0.
struct FlowKey
{
    FlowAddress remote;
    uint16_t localPort = 0;
    uint16_t remotePort = 0;
    uint8_t protocol = 0; // IPPROTO_TCP, IPPROTO_UDP or 0

    friend constexpr bool operator==(const FlowKey &, const FlowKey &) = default;
};

inline uint64_t hashOf(const FlowKey &key) noexcept
{
    uint64_t h = (key.remote.high * 0x9E3779B97F4A7C15ull) ^ key.remote.low;
    h = (h ^ (uint64_t(key.localPort) << 24 | uint64_t(key.remotePort) << 8 | key.protocol)) * 0xC2B2AE3D27D4EB4Full;
    return h ^ (h >> 29);
}

inline size_t qHash(const FlowKey &key, size_t seed = 0) noexcept
{
    return size_t(hashOf(key)) ^ seed;
}

// What a flow downloaded and uploaded in one batch of the capture.
struct FlowBytes
{
    FlowKey key;
    uint64_t download = 0;
    uint64_t upload = 0;
};

// The hand-over from the capture thread (the only writer) to the attribution worker (the only
// reader): a ring of fixed size, no lock. What finds the ring full is counted as lost.
class FlowRing
{
public:
    static constexpr uint32_t capacity = 16384; // a power of two

    FlowRing();

    // Capture thread.
    void push(const FlowBytes &bytes) noexcept
    {
        const uint32_t head = m_head.load(std::memory_order_relaxed);
        if (head - m_tail.load(std::memory_order_acquire) == capacity) {
            m_lostDownload.fetch_add(bytes.download, std::memory_order_relaxed);
            m_lostUpload.fetch_add(bytes.upload, std::memory_order_relaxed);
            return;
        }
        m_records[head & (capacity - 1)] = bytes;
        m_head.store(head + 1, std::memory_order_release);
    }
    // Worker: each record in the order pushed.
    template<typename Each>
    void drain(Each &&each)
    {
        const uint32_t head = m_head.load(std::memory_order_acquire);
        uint32_t tail = m_tail.load(std::memory_order_relaxed);
        for (; tail != head; ++tail)
            each(m_records[tail & (capacity - 1)]);
        m_tail.store(tail, std::memory_order_release);
    }
    // Worker: the bytes that found the ring full, taken.
    FlowBytes takeLost() noexcept
    {
        return {{}, m_lostDownload.exchange(0, std::memory_order_relaxed),
                m_lostUpload.exchange(0, std::memory_order_relaxed)};
    }

private:
    std::unique_ptr<FlowBytes[]> m_records;
    alignas(64) std::atomic<uint32_t> m_head{0};
    alignas(64) std::atomic<uint32_t> m_tail{0};
    std::atomic<uint64_t> m_lostDownload{0};
    std::atomic<uint64_t> m_lostUpload{0};
};

// This computer's own addresses, published by whoever reads them and read by the capture, which
// copies them when their generation moves (rare) and compares integers per frame.
class LocalAddresses
{
public:
    static constexpr uint32_t most = 32;

    void assign(const std::vector<FlowAddress> &addresses);
    uint64_t generation() const noexcept { return m_generation.load(std::memory_order_acquire); }
    // Up to `most` addresses into `to`; their number.
    uint32_t copyTo(FlowAddress *to) const;

private:
    mutable std::mutex m_mutex;
    std::vector<FlowAddress> m_addresses;
    std::atomic<uint64_t> m_generation{0};
};

// The capture thread's counts per flow of the frames since the last flush. A flow keeps its
// place across batches, so a frame costs a probe of one set of places and two additions; a new
// flow takes the set's oldest place. Only frames to or from this computer's own addresses count.
class PendingFlows
{
public:
    static constexpr uint32_t ways = 4;
    static constexpr uint32_t sets = 2048; // a power of two

    PendingFlows(FlowRing &ring, const LocalAddresses &local);

    // Counts a frame whose IP header starts at `ip` (`available` bytes of it captured) by the
    // verdict of the classifier; a frame that is neither, or not this computer's, counts nothing.
    void add(const unsigned char *ip, uint32_t available, bool download, bool upload, uint32_t length) noexcept
    {
        if (m_local.generation() != m_localGeneration)
            takeLocalAddresses();
        FlowAddress source, destination;
        FlowKey key;
        uint32_t header;
        const unsigned version = ip[0] >> 4;
        if (version == 4 && available >= 20) {
            header = (ip[0] & 0x0Fu) * 4;
            key.protocol = ip[9];
            source = FlowAddress::fromIpv4(read32(ip + 12));
            destination = FlowAddress::fromIpv4(read32(ip + 16));
            if ((read16(ip + 6) & 0x1FFFu) != 0)
                key.protocol = 0; // a later fragment: no ports
        } else if (version == 6 && available >= 40) {
            header = 40;
            key.protocol = ip[6];
            source = FlowAddress::fromBytes(ip + 8);
            destination = FlowAddress::fromBytes(ip + 24);
        } else {
            return;
        }
        // Whether a frame is a download or an upload follows the frames, so the ends are chosen
        // by masks and the frame is weighed by one branch, not one per question.
        const FlowAddress local = pick(download, destination, source);
        if (((unsigned(download) | unsigned(upload)) & unsigned(isLocal(local))) == 0)
            return;
        if ((key.protocol == tcp || key.protocol == udp) && available >= header + 4) {
            const uint16_t sourcePort = read16(ip + header), destinationPort = read16(ip + header + 2);
            key.remote = pick(download, source, destination);
            key.localPort = uint16_t(selectBits<uint32_t>(download, destinationPort, sourcePort));
            key.remotePort = uint16_t(selectBits<uint32_t>(download, sourcePort, destinationPort));
        } else {
            key.protocol = 0;
        }
        Place &place = placeOf(key);
        place.download += uint64_t(length) & (uint64_t(0) - uint64_t(download));
        place.upload += uint64_t(length) & (uint64_t(0) - uint64_t(upload));
    }
    // Hands every flow with bytes to the ring, once.
    void flush() noexcept;

    static constexpr uint8_t tcp = 6;
    static constexpr uint8_t udp = 17;

private:
    struct Place
    {
        FlowKey key;
        uint64_t download = 0;
        uint64_t upload = 0;
        uint32_t lastBatch = 0; // 0: free
        bool touched = false;
    };

    static uint16_t read16(const unsigned char *at) noexcept { return uint16_t(at[0] << 8 | at[1]); }
    static FlowAddress pick(bool which, const FlowAddress &first, const FlowAddress &second) noexcept
    {
        return {selectBits(which, first.high, second.high), selectBits(which, first.low, second.low)};
    }
    static uint32_t read32(const unsigned char *at) noexcept
    {
        return uint32_t(at[0]) << 24 | uint32_t(at[1]) << 16 | uint32_t(at[2]) << 8 | at[3];
    }
    // Without a branch per address: which one matches follows the frames.
    bool isLocal(const FlowAddress &address) const noexcept
    {
        uint64_t differs = ~uint64_t(0);
        for (uint32_t i = 0; i < m_localCount; ++i)
            differs &= (m_localAddresses[i].high ^ address.high) | (m_localAddresses[i].low ^ address.low);
        return differs == 0;
    }
    static bool same(const FlowKey &a, const FlowKey &b) noexcept
    {
        return ((a.remote.high ^ b.remote.high) | (a.remote.low ^ b.remote.low)
                | uint64_t((a.localPort ^ b.localPort) | (a.remotePort ^ b.remotePort) | (a.protocol ^ b.protocol)))
               == 0;
    }
    Place &placeOf(const FlowKey &key) noexcept
    {
        // Frames come in runs of one flow (a download's segments, a batch of one stream).
        if (same(m_last->key, key) & (m_last->lastBatch == m_batch))
            return *m_last;
        Place *set = &m_places[(hashOf(key) & (sets - 1)) * ways];
        // A flow seen before is found without a branch on which place holds it.
        uint32_t found = 0;
        for (uint32_t way = 0; way < ways; ++way)
            found |= uint32_t(same(set[way].key, key) & (set[way].lastBatch != 0)) << way;
        if (found != 0)
            return *(m_last = &touch(set[std::countr_zero(found)]));
        Place *oldest = set;
        for (uint32_t way = 1; way < ways; ++way)
            if (set[way].lastBatch < oldest->lastBatch)
                oldest = &set[way];
        // The oldest place goes; bytes it holds of this batch leave at once.
        if (oldest->touched) {
            m_ring.push({oldest->key, oldest->download, oldest->upload});
            oldest->download = oldest->upload = 0;
        }
        oldest->key = key;
        oldest->lastBatch = 0;
        return *(m_last = &touch(*oldest));
    }
    Place &touch(Place &place) noexcept
    {
        if (!place.touched) {
            place.touched = true;
            m_touched[m_touchedCount++] = uint32_t(&place - m_places.get());
        }
        place.lastBatch = m_batch;
        return place;
    }
    void takeLocalAddresses();

    FlowRing &m_ring;
    const LocalAddresses &m_local;
    uint64_t m_localGeneration = 0;
    uint32_t m_localCount = 0;
    std::array<FlowAddress, LocalAddresses::most> m_localAddresses{};
    std::unique_ptr<Place[]> m_places;
    std::unique_ptr<uint32_t[]> m_touched;
    Place *m_last; // the place of the last frame's flow
    uint32_t m_touchedCount = 0;
    uint32_t m_batch = 1;
};
