// The per-frame cost of classifyFrame, next to an empty callback called the same way, so the
// figures of one run can be compared with each other on any machine.
#include "capture/classifier.h"
#include "meter/fapmeter.h"
#include "meter/trafficcounters.h"
#include "settings/appsettings.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

namespace {

using Callback = void (*)(u_char *, const pcap_pkthdr *, const u_char *);

void emptyCallback(u_char *user, const pcap_pkthdr *header, const u_char *bytes)
{
    benchmark::DoNotOptimize(user);
    benchmark::DoNotOptimize(header);
    benchmark::DoNotOptimize(bytes);
}

struct Frame
{
    pcap_pkthdr header{};
    std::array<u_char, 64> bytes{};

    Frame(std::array<u_char, 4> source, std::array<u_char, 4> destination)
    {
        header.caplen = uint32_t(bytes.size());
        header.len = 1514;
        for (int i = 0; i < 4; ++i) {
            bytes[26 + i] = source[i];
            bytes[30 + i] = destination[i];
        }
    }
};

// Runs `callback` the way pcap_loop does, through a pointer the compiler cannot see through.
void run(benchmark::State &state, Callback callback, const Frame &frame)
{
    AppSettings settings;
    settings.lanAddresses.assign({QStringLiteral("10.0.0.2"), QStringLiteral("10.0.0.3"), QStringLiteral("10.0.0.4")});
    settings.ignoredAddresses.assign({QStringLiteral("198.51.100.1"), QStringLiteral("198.51.100.2")});
    settings.useAll192168 = true;
    TrafficCounters counters;
    FapMeter meter;
    meter.setActiveLimit(96888422);
    CaptureContext context{settings, counters, meter};
    Callback volatile target = callback;
    for (auto _ : state)
        target(reinterpret_cast<u_char *>(&context), &frame.header, frame.bytes.data());
    state.SetItemsProcessed(state.iterations());
}

const Frame download({203, 0, 113, 7}, {192, 168, 0, 10});
const Frame upload({10, 0, 0, 3}, {203, 0, 113, 7});
const Frame otherHosts({203, 0, 113, 7}, {198, 51, 100, 9});

} // namespace

BENCHMARK_CAPTURE(run, baseline_empty_callback, emptyCallback, download);
BENCHMARK_CAPTURE(run, classify_download, classifyFrame, download);
BENCHMARK_CAPTURE(run, classify_upload, classifyFrame, upload);
BENCHMARK_CAPTURE(run, classify_other_hosts, classifyFrame, otherHosts);

BENCHMARK_MAIN();
