#include "meter/hostaddress.h"

#include <arpa/inet.h>

#include <cstring>

namespace {

void writeBigEndian(uint64_t value, char *to)
{
    for (int i = 7; i >= 0; --i, value >>= 8)
        to[i] = char(value & 0xFF);
}

uint64_t readBigEndian(const char *from)
{
    uint64_t value = 0;
    for (int i = 0; i < 8; ++i)
        value = (value << 8) | uint8_t(from[i]);
    return value;
}

} // namespace

QByteArray HostAddress::bytes() const
{
    QByteArray out(16, '\0');
    writeBigEndian(high, out.data());
    writeBigEndian(low, out.data() + 8);
    return out;
}

std::optional<HostAddress> HostAddress::fromBytes(QByteArrayView bytes) noexcept
{
    if (bytes.size() != 16)
        return std::nullopt;
    return HostAddress{readBigEndian(bytes.data()), readBigEndian(bytes.data() + 8)};
}

QString HostAddress::toString() const
{
    char text[INET6_ADDRSTRLEN];
    if (isIpv4()) {
        const uint32_t network = htonl(ipv4());
        inet_ntop(AF_INET, &network, text, sizeof text);
    } else {
        const QByteArray raw = bytes();
        inet_ntop(AF_INET6, raw.constData(), text, sizeof text);
    }
    return QString::fromLatin1(text);
}
