#pragma once

#include "meter/hostaddress.h"

#include <QByteArray>

#include <utility>
#include <vector>

// One entry of the link's neighbour tables: an address and the MAC the system saw it at.
struct Neighbour
{
    HostAddress address;
    QByteArray mac;      // 6 bytes
    bool current = true; // false while unresolved or after a failed resolution
};

// Which row an IPv6 host's download joins: the IPv4 host sharing its MAC, when the tables show
// exactly one. A MAC behind several IPv4 addresses (a router, a bridge), an IPv6 address seen at
// several MACs and entries that are not current keep their hosts apart.
class HostAliases
{
public:
    HostAliases() = default;
    explicit HostAliases(const std::vector<Neighbour> &neighbours);

    // `host`'s IPv4 address when it has one, else `host`.
    HostAddress rowOf(HostAddress host) const noexcept;

private:
    std::vector<std::pair<HostAddress, HostAddress>> m_ipv4Of; // by IPv6 address
};
