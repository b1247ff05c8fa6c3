#pragma once

// A seeded generator of Ethernet/IPv4 frames between LAN and outside hosts, and the totals a
// correct classifier must count from them. Every benchmark and the capture files of the replay
// and live benchmarks use it, so their figures describe the same traffic.

#include <pcap/pcap.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace framegen {

enum class Profile { Small, Mixed, Full };

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

// The LAN list of `size` entries: 10.0.0.1, 10.0.0.2, ...
inline std::vector<std::string> lanList(int size)
{
    std::vector<std::string> entries;
    for (int i = 1; i <= size; ++i)
        entries.push_back("10.0." + std::to_string(i / 250) + "." + std::to_string(i % 250 + 1));
    return entries;
}
inline uint32_t lanAddress(int index)
{
    const int i = index + 1;
    return (10u << 24) | (uint32_t(i / 250) << 8) | uint32_t(i % 250 + 1);
}

class Generator
{
public:
    Generator(Profile profile, int lanSize, uint64_t seed = 0x7a72766f)
        : m_profile(profile), m_lanSize(lanSize), m_state(seed | 1)
    {
    }

    // The next frame: 45 % downloads, 35 % uploads, 20 % neither (other hosts or inside the LAN).
    Frame next()
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

    const Totals &totals() const { return m_totals; }

private:
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
    int m_lanSize;
    uint64_t m_state;
    Totals m_totals;
};

} // namespace framegen
