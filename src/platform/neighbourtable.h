#pragma once

#include "meter/hostaliases.h"

#include <QByteArrayView>

#include <vector>

// Where the link's neighbours (address and MAC) come from, so a test can stand in for the system.
class NeighbourSource
{
public:
    virtual ~NeighbourSource() = default;
    // The IPv4 and IPv6 neighbours of every adapter, loopback and multicast left out.
    virtual std::vector<Neighbour> neighbours() = 0;
};

// The system's tables: "/proc/net/arp" for IPv4, rtnetlink for IPv6. A read costs a file and a
// netlink dump: ask every few seconds, never per frame.
class SystemNeighbours : public NeighbourSource
{
public:
    std::vector<Neighbour> neighbours() override;
};

// The entries of the kernel's ARP table text; an entry without a completed MAC is not current.
std::vector<Neighbour> parseArpTable(QByteArrayView text);
