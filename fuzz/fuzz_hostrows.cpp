// Any bytes as a packed row of hosts, as the store reads it from the file: nothing is read beyond
// them, a row that reads gives numbers that rise from 1 and downloads of 0 or more, and packing
// what was read reads back the same.
#include "history/hostrows.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool same(const std::vector<NumberedHost> &a, const std::vector<NumberedHost> &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].number != b[i].number || a[i].downloadBytes != b[i].downloadBytes)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<NumberedHost> hosts;
    if (!unpackHosts(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)), hosts)) {
        check(hosts.empty());
        return 0;
    }
    int64_t previous = 0;
    for (const NumberedHost &host : hosts) {
        check(host.number > previous && host.downloadBytes >= 0);
        previous = host.number;
    }
    std::vector<NumberedHost> again;
    check(unpackHosts(packHosts(hosts), again) && same(hosts, again));
    return 0;
}
