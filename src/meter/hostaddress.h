#pragma once

#include <QByteArray>
#include <QString>

#include <compare>
#include <optional>
#include <cstdint>

// A LAN host's address in one form for both families: 128 bits, first byte in the top bits of
// `high`, an IPv4 address as ::ffff:a.b.c.d. Sorts IPv4 hosts by their 32-bit value.
struct HostAddress
{
    uint64_t high = 0;
    uint64_t low = 0;

    // Not an aggregate, so {1, 10} in a list of host figures cannot be taken for an address.
    constexpr HostAddress() noexcept = default;
    constexpr HostAddress(uint64_t high, uint64_t low) noexcept
        : high(high)
        , low(low)
    {
    }

    static constexpr HostAddress fromIpv4(uint32_t address) noexcept
    {
        return {0, 0xFFFF00000000ull | address};
    }
    constexpr bool isIpv4() const noexcept { return high == 0 && (low >> 32) == 0xFFFFu; }
    constexpr uint32_t ipv4() const noexcept { return uint32_t(low); }

    // The 16 bytes in network order, and back; nothing but 16 bytes makes an address.
    QByteArray bytes() const;
    static std::optional<HostAddress> fromBytes(QByteArrayView bytes) noexcept;
    // "192.168.1.5" for an IPv4 host, the usual short text ("2001:db8::5") for the others.
    QString toString() const;

    friend constexpr auto operator<=>(const HostAddress &, const HostAddress &) = default;
};
