#pragma once

#include <pcap/pcap.h>

#include <cstdint>
#include <vector>

// A frame as the capture library hands it over: only bytes 26-33 (the IPv4 addresses) matter.
// The bytes are exactly `captured` long (no terminating NUL as in a QByteArray), so a read past
// the end is one the address sanitizer sees.
struct TestFrame
{
    pcap_pkthdr header{};
    std::vector<u_char> bytes;

    const u_char *data() const { return bytes.data(); }
};

inline TestFrame ipv4Frame(uint32_t source, uint32_t destination, uint32_t wireLength, uint32_t captured = 34)
{
    TestFrame frame;
    frame.bytes.assign(captured, 0);
    for (int i = 0; i < 4 && 26 + i < int(captured); ++i)
        frame.bytes[26 + i] = u_char(source >> (24 - 8 * i));
    for (int i = 0; i < 4 && 30 + i < int(captured); ++i)
        frame.bytes[30 + i] = u_char(destination >> (24 - 8 * i));
    frame.header.caplen = captured;
    frame.header.len = wireLength;
    return frame;
}

constexpr uint32_t ip(uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
    return (a << 24) | (b << 16) | (c << 8) | d;
}
