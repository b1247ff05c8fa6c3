// classifyFrame on any bytes of any length: it must read nothing beyond the captured bytes.
#include "capture/classifier.h"
#include "meter/fapmeter.h"
#include "meter/trafficcounters.h"
#include "settings/appsettings.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static AppSettings settings;
    static const bool listed = [] {
        settings.lanAddresses.assign({QStringLiteral("10.0.0.2")});
        settings.ignoredAddresses.assign({QStringLiteral("203.0.113.7")});
        return true;
    }();
    (void)listed;
    static TrafficCounters counters;
    static FapMeter meter;
    CaptureContext context{settings, counters, meter};
    pcap_pkthdr header{};
    header.caplen = uint32_t(size);
    header.len = uint32_t(size);
    classifyFrame(reinterpret_cast<u_char *>(&context), &header, data);
    return 0;
}
