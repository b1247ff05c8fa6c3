#pragma once

// A seeded generator of Ethernet frames (IPv4, IPv6 or both) between LAN and outside hosts, and
// the totals a correct classifier must count from them. Every benchmark and the capture files of the replay
// and live benchmarks use it, so their figures describe the same traffic.

#include <pcap/pcap.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace framegen {

enum class Profile { Small, Mixed, Full };
// The IP version of the frames: IPv4 only, IPv6 only, or each frame either at random.
enum class Family { Ipv4, Ipv6, Dual };

inline const char *profileName(Profile profile)
{
    switch (profile) {
    case Profile::Small:
        return "60";
    case Profile::Mixed:
        return "mixed";
    case Profile::Full:
        return "1514";
    }
    return "?";
}

struct Totals
{
    uint64_t downloadBytes = 0, downloadPackets = 0;
    uint64_t uploadBytes = 0, uploadPackets = 0;
    uint64_t neitherBytes = 0, neitherPackets = 0;
    bool operator==(const Totals &) const = default;
};

struct Frame
{
    pcap_pkthdr header{};
    std::array<u_char, 64> bytes{};
};

// The LAN list of `size` entries of each family the frames have: 10.0.0.1, 10.0.0.2, ... and the
// networks 2001:db8:1::/64, 2001:db8:2::/64, ...
inline std::vector<std::string> lanList(int size, Family family = Family::Ipv4)
{
    std::vector<std::string> entries;
    for (int i = 1; i <= size && family != Family::Ipv6; ++i)
        entries.push_back("10.0." + std::to_string(i / 250) + "." + std::to_string(i % 250 + 1));
    for (int i = 1; i <= size && family != Family::Ipv4; ++i) {
        char network[32];
        std::snprintf(network, sizeof network, "2001:db8:%x::/64", unsigned(i));
        entries.push_back(network);
    }
    return entries;
}
// The adapter's own networks the IPv6 profiles run with: its global address and its link-local one.
inline std::vector<std::string> adapterNetworks()
{
    return {"2001:db8:aaaa::5/64", "fe80::5/64"};
}
inline uint32_t lanAddress(int index)
{
    const int i = index + 1;
    return (10u << 24) | (uint32_t(i / 250) << 8) | uint32_t(i % 250 + 1);
}

class Generator
{
public:
    Generator(Profile profile, int lanSize, Family family = Family::Ipv4, uint64_t seed = 0x7a72766f)
        : m_profile(profile), m_family(family), m_lanSize(lanSize), m_state(seed | 1)
    {
    }

    // The next frame: 45 % downloads, 35 % uploads, 20 % neither (other hosts or inside the LAN).
    Frame next()
    {
        const bool ipv6 = m_family == Family::Ipv6 || (m_family == Family::Dual && (random() & 1) != 0);
        return ipv6 ? nextIpv6() : nextIpv4();
    }

    const Totals &totals() const { return m_totals; }

private:
    Frame nextIpv4()
    {
        Frame frame;
        const uint32_t length = nextLength();
        const uint32_t lan = lanAddress(int(random() % uint64_t(m_lanSize)));
        // Outside hosts are never 192.168.x.y, so the 192.168 rule changes the cost, not the result.
        const uint32_t outside = (203u << 24) | (uint32_t(random() % 200) << 8) | uint32_t(random() % 250 + 1);
        const uint64_t kind = random() % 100;
        uint32_t source, destination;
        if (kind < 45) {
            source = outside, destination = lan;
            m_totals.downloadBytes += length, ++m_totals.downloadPackets;
        } else if (kind < 80) {
            source = lan, destination = outside;
            m_totals.uploadBytes += length, ++m_totals.uploadPackets;
        } else {
            // Other hosts, or traffic inside the LAN.
            source = kind < 90 ? outside : lanAddress(int(random() % uint64_t(m_lanSize)));
            destination = kind < 90 ? (198u << 24 | 51u << 16 | 100u << 8 | 9u) : lan;
            m_totals.neitherBytes += length, ++m_totals.neitherPackets;
        }
        frame.bytes[12] = 0x08;
        frame.bytes[14] = 0x45;
        for (int i = 0; i < 4; ++i) {
            frame.bytes[26 + i] = u_char(source >> (24 - 8 * i));
            frame.bytes[30 + i] = u_char(destination >> (24 - 8 * i));
        }
        frame.header.caplen = 34;
        frame.header.len = length;
        return frame;
    }

    // The same shares as IPv4: a LAN host is 2001:db8:N::x of the list's network N, an outside host
    // 2001:db8:f000:y::z, the other host 2001:db8:ffff::9; every frame differs from the last.
    Frame nextIpv6()
    {
        Frame frame;
        const uint32_t length = nextLength();
        const auto lan = [this](u_char *at) {
            at[0] = 0x20, at[1] = 0x01, at[2] = 0x0d, at[3] = 0xb8;
            const uint64_t network = random() % uint64_t(m_lanSize) + 1;
            at[4] = u_char(network >> 8), at[5] = u_char(network);
            // A few machines on each network, as a home LAN has: each a host of the per-host counts.
            put64(at + 8, 0x0200'0000'0000'1000ull + random() % 8);
        };
        const auto outside = [this](u_char *at) {
            at[0] = 0x20, at[1] = 0x01, at[2] = 0x0d, at[3] = 0xb8, at[4] = 0xf0;
            at[7] = u_char(random());
            put64(at + 8, random() | 1);
        };
        u_char *source = frame.bytes.data() + 22, *destination = frame.bytes.data() + 38;
        const uint64_t kind = random() % 100;
        if (kind < 45) {
            outside(source), lan(destination);
            m_totals.downloadBytes += length, ++m_totals.downloadPackets;
        } else if (kind < 80) {
            lan(source), outside(destination);
            m_totals.uploadBytes += length, ++m_totals.uploadPackets;
        } else {
            if (kind < 90) {
                outside(source);
                destination[0] = 0x20, destination[1] = 0x01, destination[2] = 0x0d, destination[3] = 0xb8;
                destination[4] = destination[5] = 0xff, destination[15] = 9;
            } else {
                lan(source), lan(destination);
            }
            m_totals.neitherBytes += length, ++m_totals.neitherPackets;
        }
        frame.bytes[12] = 0x86;
        frame.bytes[13] = 0xdd;
        frame.bytes[14] = 0x60;
        frame.bytes[20] = 17;
        frame.header.caplen = 54;
        frame.header.len = length < 54 + 8 ? 54 + 8 : length;
        if (frame.header.len != length) {
            // The smallest IPv6 datagram is longer than the smallest IPv4 one.
            Totals &t = m_totals;
            (kind < 45 ? t.downloadBytes : kind < 80 ? t.uploadBytes : t.neitherBytes) += frame.header.len - length;
        }
        return frame;
    }

    static void put64(u_char *at, uint64_t value)
    {
        for (int i = 0; i < 8; ++i)
            at[i] = u_char(value >> (56 - 8 * i));
    }

    uint64_t random()
    {
        // xorshift64*: the same sequence on every machine and library.
        m_state ^= m_state >> 12;
        m_state ^= m_state << 25;
        m_state ^= m_state >> 27;
        return m_state * 0x2545F4914F6CDD1Dull;
    }

    uint32_t nextLength()
    {
        switch (m_profile) {
        case Profile::Small:
            return 60;
        case Profile::Full:
            return 1514;
        case Profile::Mixed:
            break;
        }
        // Mostly acknowledgements and full frames, some in between.
        const uint64_t pick = random() % 10;
        return pick < 4 ? 60 : pick < 8 ? 1514 : uint32_t(60 + random() % 1455);
    }

    Profile m_profile;
    Family m_family;
    int m_lanSize;
    uint64_t m_state;
    Totals m_totals;
};

} // namespace framegen
