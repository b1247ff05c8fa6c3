// classifyFrame on any bytes of any length, on every link type it reads (the first byte picks
// one): it must read nothing beyond the captured bytes.
#include "capture/classifier.h"
#include "meter/fapmeter.h"
#include "meter/trafficcounters.h"
#include "settings/appsettings.h"

#include <pcap/pcap.h>

#include <array>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static AppSettings settings;
    static const bool listed = [] {
        settings.lanAddresses.assign({QStringLiteral("10.0.0.2"), QStringLiteral("2001:db8:1::/64")});
        settings.ignoredAddresses.assign({QStringLiteral("203.0.113.7"), QStringLiteral("2001:db8:99::/48")});
        return true;
    }();
    (void)listed;
    static TrafficCounters counters;
    static FapMeter meter;
    static constexpr std::array linkTypes{DLT_EN10MB, DLT_LINUX_SLL, DLT_LINUX_SLL2, DLT_RAW, DLT_IPV4, DLT_NULL, DLT_LOOP};
    if (size == 0)
        return 0;
    CaptureContext context{settings, counters, meter, *linkLayoutFor(linkTypes[data[0] % linkTypes.size()])};
    // No MTU, a tiny one that makes most TCP frames merged ones, and Ethernet's.
    static constexpr std::array mtus{0u, 60u, 1500u};
    context.mtu = mtus[(data[0] >> 4) % mtus.size()];
    pcap_pkthdr header{};
    header.caplen = uint32_t(size - 1);
    header.len = uint32_t(size - 1);
    classifyFrame(reinterpret_cast<u_char *>(&context), &header, data + 1);
    context.flush();
    return 0;
}
