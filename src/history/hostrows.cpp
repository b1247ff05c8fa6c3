#include "history/hostrows.h"

#include <algorithm>
#include <climits>
#include <iterator>

namespace {

void appendNumber(QByteArray &to, uint64_t value)
{
    while (value >= 0x80) {
        to.append(char((value & 0x7F) | 0x80));
        value >>= 7;
    }
    to.append(char(value));
}

// The number at `at`, which moves past it; false when the bytes end inside it or it is longer
// than 63 bits.
bool takeNumber(QByteArrayView bytes, qsizetype &at, int64_t &value)
{
    uint64_t result = 0;
    for (int shift = 0; shift < 63 && at < bytes.size(); shift += 7) {
        const auto byte = uint8_t(bytes[at++]);
        result |= uint64_t(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) {
            value = int64_t(result);
            return true;
        }
    }
    return false;
}

} // namespace

void mergeHosts(std::vector<NumberedHost> &hosts)
{
    std::sort(hosts.begin(), hosts.end(), [](const NumberedHost &a, const NumberedHost &b) { return a.number < b.number; });
    auto kept = hosts.begin();
    for (auto host = hosts.begin(); host != hosts.end(); ++host) {
        if (kept != hosts.begin() && std::prev(kept)->number == host->number)
            std::prev(kept)->downloadBytes += host->downloadBytes;
        else
            *kept++ = *host;
    }
    hosts.erase(kept, hosts.end());
}

QByteArray packHosts(const std::vector<NumberedHost> &hosts)
{
    QByteArray packed;
    packed.reserve(qsizetype(hosts.size()) * 4);
    int64_t previous = 0;
    for (const NumberedHost &host : hosts) {
        appendNumber(packed, uint64_t(host.number - previous));
        appendNumber(packed, uint64_t(std::max<int64_t>(host.downloadBytes, 0)));
        previous = host.number;
    }
    return packed;
}

bool unpackHosts(QByteArrayView packed, std::vector<NumberedHost> &into)
{
    const size_t before = into.size();
    qsizetype at = 0;
    int64_t number = 0;
    while (at < packed.size()) {
        int64_t gap = 0;
        int64_t download = 0;
        if (!takeNumber(packed, at, gap) || gap < 1 || gap > INT64_MAX - number || !takeNumber(packed, at, download)) {
            into.resize(before);
            return false;
        }
        number += gap;
        into.push_back({number, download});
    }
    return true;
}
