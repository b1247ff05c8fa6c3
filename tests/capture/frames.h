#pragma once

#include <pcap/pcap.h>

#include <QByteArray>

#include <arpa/inet.h>

#include <cstdint>
#include <vector>

// A frame as the capture library hands it over: an Ethernet frame of IPv4 whose addresses sit at
// bytes 26-33 unless built from bytes.
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
    const u_char start[] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x08, 0x00, 0x45};
    for (uint32_t i = 0; i < sizeof start && i < captured; ++i)
        frame.bytes[i] = start[i];
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

// A frame of these bytes, `wireLength` long on the wire.
inline TestFrame frameOf(const QByteArray &bytes, uint32_t wireLength)
{
    TestFrame frame;
    frame.bytes.assign(bytes.begin(), bytes.end());
    frame.header.caplen = uint32_t(bytes.size());
    frame.header.len = wireLength;
    return frame;
}

// An IPv4 header of `words` 32-bit words carrying `protocol` (17: UDP, 6: TCP).
inline QByteArray ipv4Header(uint32_t source, uint32_t destination, uint8_t protocol = 17, int words = 5)
{
    QByteArray header(words * 4, '\0');
    header[0] = char(0x40 | words);
    header[9] = char(protocol);
    for (int i = 0; i < 4; ++i) {
        header[12 + i] = char(source >> (24 - 8 * i));
        header[16 + i] = char(destination >> (24 - 8 * i));
    }
    return header;
}

// An IPv6 header whose next header is `next` (17: UDP, 6: TCP, 0: hop-by-hop options).
inline QByteArray ipv6Header(const char *source, const char *destination, uint8_t next = 17)
{
    QByteArray header(40, '\0');
    header[0] = char(0x60);
    header[6] = char(next);
    inet_pton(AF_INET6, source, header.data() + 8);
    inet_pton(AF_INET6, destination, header.data() + 24);
    return header;
}

// A TCP header of `words` 32-bit words (5 without options).
inline QByteArray tcpHeader(int words)
{
    QByteArray header(words * 4, '\0');
    header[12] = char(words << 4);
    return header;
}
