#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <vector>

// The hosts of one period packed into one row of the store: each host as its number in the
// store's address table and its download. A row each took some 40 bytes a host; packed, a host
// takes 3 or 4, so a LAN of a thousand hosts keeps its minutes and hours in a few MB a month.
struct NumberedHost
{
    int64_t number = 0;
    int64_t downloadBytes = 0;
};

// Sorts by number and sums the entries of the same number into one.
void mergeHosts(std::vector<NumberedHost> &hosts);

// For each host in the order of its number (which `hosts` must have, each number once, none
// below 1): the gap from the number before and the download, both as unsigned LEB128.
QByteArray packHosts(const std::vector<NumberedHost> &hosts);

// Appends the hosts of a packed row to `into`, in the order of their numbers. False, with
// nothing appended, when the bytes are no packed row.
bool unpackHosts(QByteArrayView packed, std::vector<NumberedHost> &into);
