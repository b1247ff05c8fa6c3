// The per-frame cost of classifyFrame over generated frames in memory, beside an empty callback
// (a call through a pointer and a frame's header read), a branch-free floor that does the same
// counting for the generator's frames alone, and a reference that decides the way the program
// used to, by building each address's dotted text and comparing texts.
// The classifier runs twice: as the replay runs it, and with the download of each LAN host
// counted as well, as the program runs it, and once more with each of this computer's frames
// counted by flow for the programs (frames with UDP ports, a few hundred flows). Before any timing,
// every variant must count exactly the generator's totals.
#include "capture/classifier.h"
#include "framegen.h"
#include "meter/fapmeter.h"
#include "meter/hostcounters.h"
#include "meter/trafficcounters.h"
#include "programs/flowtable.h"
#include "settings/appsettings.h"

#include <benchmark/benchmark.h>

#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

namespace {

using Callback = void (*)(u_char *, const pcap_pkthdr *, const u_char *);
// A power of two, and more frames than the branch predictor can learn or the caches hold: on a
// short cycle the predictor learns each frame's branches and flatters code that branches.
constexpr int kFrames = 1 << 18;
constexpr uint32_t kBatch = 64; // frames per batch, a power of two; a busy ring hands over more

void emptyCallback(u_char *user, const pcap_pkthdr *header, const u_char *bytes)
{
    benchmark::DoNotOptimize(user);
    benchmark::DoNotOptimize(header->len);
    benchmark::DoNotOptimize(bytes);
}

// The decision by text, as the program made it before it compared integers.
struct TextContext
{
    QStringList lan;
    QStringList ignored;
    bool useAll192168 = true;
    TrafficCounters *counters = nullptr;
    FapMeter *meter = nullptr;
};

QString dotted(const u_char *at)
{
    return QString::number(at[0]) + u'.' + QString::number(at[1]) + u'.' + QString::number(at[2]) + u'.'
           + QString::number(at[3]);
}

void textReference(u_char *user, const pcap_pkthdr *header, const u_char *bytes)
{
    auto &context = *reinterpret_cast<TextContext *>(user);
    if (header->caplen < 34)
        return;
    const QString source = dotted(bytes + 26);
    const QString destination = dotted(bytes + 30);
    const auto onLan = [&](const QString &address, const u_char *at) {
        return context.lan.contains(address) || (context.useAll192168 && at[0] == 192 && at[1] == 168);
    };
    const bool sourceOnLan = onLan(source, bytes + 26);
    const bool destinationOnLan = onLan(destination, bytes + 30);
    TrafficCounters &counters = *context.counters;
    const uint32_t length = header->len;
    if (destinationOnLan && !sourceOnLan && !context.ignored.contains(source)) {
        counters.downloadedTotal.fetch_add(length, std::memory_order_relaxed);
        context.meter->addDownload(length);
        counters.tickDownloadBytes.fetch_add(int32_t(length), std::memory_order_relaxed);
        counters.downloadPackets.fetch_add(1, std::memory_order_relaxed);
    } else if (sourceOnLan && !destinationOnLan && !context.ignored.contains(destination)) {
        counters.uploadedTotal.fetch_add(length, std::memory_order_relaxed);
        counters.tickUploadBytes.fetch_add(int32_t(length), std::memory_order_relaxed);
        counters.uploadPackets.fetch_add(1, std::memory_order_relaxed);
    } else {
        return;
    }
    counters.tickPackets.fetch_add(1, std::memory_order_relaxed);
    float mean = counters.meanPacketSize.load(std::memory_order_relaxed);
    while (!counters.meanPacketSize.compare_exchange_weak(mean, TrafficCounters::movedMean(mean, length),
                                                          std::memory_order_relaxed)) {
    }
}

// The floor: what classifyFrame does for these frames (untagged Ethernet, within the MTU, no
// local IPv6 traffic), with nothing for other frames: every listed address compared at once,
// the verdict from a table, bytes, packets and the mean moved as the program moves them.
struct FloorContext
{
    std::vector<uint32_t> lan, ignored; // IPv4 addresses
    std::vector<uint64_t> lan6; // the first halves of /64 networks
    bool useAll192168 = false;
    uint64_t bytes[3] = {};
    uint32_t packets[3] = {};
    float mean = 0;
    TrafficCounters *counters = nullptr;
    FapMeter *meter = nullptr;

    void flush()
    {
        counters->downloadedTotal.fetch_add(int64_t(bytes[1]), std::memory_order_relaxed);
        meter->addDownload(uint32_t(bytes[1]));
        counters->downloadPackets.fetch_add(packets[1], std::memory_order_relaxed);
        counters->uploadedTotal.fetch_add(int64_t(bytes[2]), std::memory_order_relaxed);
        counters->uploadPackets.fetch_add(packets[2], std::memory_order_relaxed);
        counters->meanPacketSize.store(mean, std::memory_order_relaxed);
        std::fill(std::begin(bytes), std::end(bytes), 0);
        std::fill(std::begin(packets), std::end(packets), 0);
    }
};

// Whether `list` holds `value`, every entry compared: the list is padded to whole groups of 8
// with an entry no frame has, and each group is compared a vector register (SSE2) at a time.
typedef uint32_t Lanes32 __attribute__((vector_size(16)));
typedef uint64_t Lanes64 __attribute__((vector_size(16)));

template<typename Lanes, typename Value>
unsigned anyEqual(const std::vector<Value> &list, Value value)
{
    constexpr size_t lanes = sizeof(Lanes) / sizeof(Value);
    Lanes found{};
    for (size_t at = 0; at < list.size(); at += lanes) {
        Lanes entries;
        std::memcpy(&entries, list.data() + at, sizeof entries);
        found |= Lanes(entries == value);
    }
    Value any = 0;
    for (size_t i = 0; i < lanes; ++i)
        any |= found[i];
    return unsigned(any != 0);
}

template<typename Value>
void padToGroups(std::vector<Value> &list)
{
    list.resize((list.size() + 7) / 8 * 8, Value(1)); // 0.0.0.1, and 0:0:0:1::/64: in no frame
}

uint64_t floorRead(const u_char *at, int size)
{
    uint64_t value = 0;
    for (int i = 0; i < size; ++i)
        value = value << 8 | at[i];
    return value;
}

void floorClassify(u_char *user, const pcap_pkthdr *header, const u_char *bytes)
{
    auto &context = *reinterpret_cast<FloorContext *>(user);
    // By source on the LAN, destination on the LAN, the outside end ignored.
    static constexpr uint8_t verdicts[8] = {0, 2, 1, 0, 0, 0, 0, 0};
    unsigned sourceOnLan, destinationOnLan, outsideIgnored;
    if (bytes[12] == 0x08) {
        const auto source = uint32_t(floorRead(bytes + 26, 4)), destination = uint32_t(floorRead(bytes + 30, 4));
        const unsigned rule = context.useAll192168;
        sourceOnLan = anyEqual<Lanes32>(context.lan, source) | (rule & unsigned(source >> 16 == 0xC0A8));
        destinationOnLan = anyEqual<Lanes32>(context.lan, destination) | (rule & unsigned(destination >> 16 == 0xC0A8));
        outsideIgnored = anyEqual<Lanes32>(context.ignored, selectBits(destinationOnLan != 0, source, destination));
    } else {
        sourceOnLan = anyEqual<Lanes64>(context.lan6, floorRead(bytes + 22, 8));
        destinationOnLan = anyEqual<Lanes64>(context.lan6, floorRead(bytes + 38, 8));
        outsideIgnored = 0;
    }
    const unsigned verdict = verdicts[sourceOnLan | destinationOnLan << 1 | outsideIgnored << 2];
    const uint32_t length = header->len;
    context.bytes[verdict] += length;
    ++context.packets[verdict];
    context.mean = TrafficCounters::movedMean(context.mean, length, verdict != 0);
}

enum class Variant { Empty, Floor, Classify, Hosts, Text, Flows };

// This computer's flows: UDP ports on every frame and 256 outside ends, each flow in runs of 8
// frames, as a batch of a few busy downloads has them (the frames' outside hosts otherwise differ
// every time, which would make each frame a new flow).
void addPorts(std::vector<framegen::Frame> &frames)
{
    uint32_t i = 0;
    for (framegen::Frame &frame : frames) {
        const bool ipv6 = frame.bytes[12] == 0x86;
        const uint32_t ports = frame.header.caplen;
        const uint32_t flow = i++ / 8 % 256;
        for (const uint32_t end : {ipv6 ? 22u : 26u, ipv6 ? 38u : 30u}) {
            u_char *at = frame.bytes.data() + end;
            if (!ipv6 && at[0] == 203)
                at[1] = 0, at[2] = u_char(flow / 250), at[3] = u_char(flow % 250 + 1);
            else if (ipv6 && at[4] == 0xf0)
                std::fill(at + 5, at + 16, u_char(0)), at[7] = u_char(flow), at[15] = 1;
        }
        frame.bytes[ipv6 ? 20 : 23] = 17;
        const uint16_t local = uint16_t(40000 + flow), remote = 443;
        frame.bytes[ports] = u_char(local >> 8), frame.bytes[ports + 1] = u_char(local);
        frame.bytes[ports + 2] = u_char(remote >> 8), frame.bytes[ports + 3] = u_char(remote);
        frame.header.caplen = ports + 4;
    }
}


// Everything one variant runs on, with the frames of one profile.
struct Setup
{
    // `rule`: the 192.168 rule for IPv4 frames, the adapter's IPv6 networks for the others.
    Setup(framegen::Profile profile, int lanSize, bool rule, framegen::Family family = framegen::Family::Ipv4)
        : hostsFit(lanSize <= 64)
    {
        const bool useAll192168 = family == framegen::Family::Ipv4 && rule;
        framegen::Generator generator(profile, lanSize, family);
        frames.reserve(kFrames);
        for (int i = 0; i < kFrames; ++i)
            frames.push_back(generator.next());
        expected = generator.totals();
        QStringList lan;
        for (const std::string &entry : framegen::lanList(lanSize, family))
            lan.append(QString::fromStdString(entry));
        QStringList adapter;
        for (const std::string &entry : framegen::adapterNetworks())
            adapter.append(QString::fromStdString(entry));
        context.adapterNetworks->assign(adapter);
        hostContext.adapterNetworks->assign(adapter);
        flowContext.adapterNetworks->assign(adapter);
        flowContext.pendingFlows = std::make_unique<PendingFlows>(ring, local);
        // The computer is a few of the LAN's hosts: the first eight of either family.
        std::vector<FlowAddress> own;
        for (int i = 0; i < std::min(lanSize, 8); ++i)
            own.push_back(FlowAddress::fromIpv4(framegen::lanAddress(i)));
        for (uint64_t host = 0; host < 8 && family != framegen::Family::Ipv4; ++host)
            own.push_back({0x20010db800010000ull, 0x0200'0000'0000'1000ull + host});
        local.assign(own);
        settings.useAdapterIpv6 = family != framegen::Family::Ipv4 && rule;
        const QStringList ignored{QStringLiteral("198.51.100.1"), QStringLiteral("198.51.100.2")};
        settings.lanAddresses.assign(lan);
        settings.ignoredAddresses.assign(ignored);
        settings.useAll192168 = useAll192168;
        text.lan = lan;
        text.ignored = ignored;
        text.useAll192168 = useAll192168;
        text.counters = &counters;
        text.meter = &meter;
        for (const QString &entry : lan) {
            if (const auto address = parseCanonicalAddress(entry))
                floor.lan.push_back(*address);
            else if (const auto network = parseIpv6Entry(entry))
                floor.lan6.push_back(network->address.high);
        }
        if (settings.useAdapterIpv6)
            floor.lan6.push_back(parseIpv6Entry(adapter.first())->address.high);
        for (const QString &entry : ignored)
            floor.ignored.push_back(*parseCanonicalAddress(entry));
        padToGroups(floor.lan);
        padToGroups(floor.lan6);
        padToGroups(floor.ignored);
        floor.useAll192168 = useAll192168;
        floor.counters = &counters;
        floor.meter = &meter;
        meter.setActiveLimit(std::numeric_limits<int32_t>::max());
    }

    void flush(Variant variant)
    {
        switch (variant) {
        case Variant::Floor:
            floor.flush();
            break;
        case Variant::Hosts:
            hostContext.flush();
            break;
        case Variant::Flows:
            // The flows' hand-over too; the worker takes them on a thread of its own.
            flowContext.flush();
            flowContext.pendingFlows->flush();
            break;
        default:
            context.flush();
        }
    }

    std::pair<Callback, u_char *> target(Variant variant)
    {
        switch (variant) {
        case Variant::Empty:
            return {emptyCallback, reinterpret_cast<u_char *>(&context)};
        case Variant::Floor:
            return {floorClassify, reinterpret_cast<u_char *>(&floor)};
        case Variant::Classify:
            return {classifyFrame, reinterpret_cast<u_char *>(&context)};
        case Variant::Hosts:
            return {classifyFrame, reinterpret_cast<u_char *>(&hostContext)};
        case Variant::Flows:
            return {classifyFrame, reinterpret_cast<u_char *>(&flowContext)};
        case Variant::Text:
            break;
        }
        return {textReference, reinterpret_cast<u_char *>(&text)};
    }

    // One pass over the frames from zero, compared with the generator's books.
    bool countsRight(Variant variant)
    {
        counters.resetInterface();
        counters.uploadedTotal = 0;
        const auto [callback, user] = target(variant);
        for (const framegen::Frame &frame : frames)
            callback(user, &frame.header, frame.bytes.data());
        flush(variant);
        // Every byte downloaded is some LAN host's, of either family, while the hosts fit the
        // table (256 listed IPv4 addresses, 1,024 IPv6 hosts); beyond, some are the totals' only.
        uint64_t hostBytes = 0;
        hosts.take([&](HostAddress, uint64_t bytes) { hostBytes += bytes; });
        const uint64_t downloaded = uint64_t(counters.downloadedTotal.load());
        const bool countsHosts = variant == Variant::Hosts || variant == Variant::Flows;
        if (countsHosts && (hostsFit ? hostBytes != downloaded : hostBytes > downloaded))
            return false;
        // This computer downloaded some of it, and no more than all.
        uint64_t flowBytes = ring.takeLost().download;
        ring.drain([&](const FlowBytes &bytes) { flowBytes += bytes.download; });
        if (variant == Variant::Flows && (flowBytes == 0 || flowBytes > downloaded))
            return false;
        framegen::Totals counted;
        counted.downloadBytes = uint64_t(counters.downloadedTotal.load());
        counted.downloadPackets = uint64_t(counters.downloadPackets.load());
        counted.uploadBytes = uint64_t(counters.uploadedTotal.load());
        counted.uploadPackets = uint64_t(counters.uploadPackets.load());
        uint64_t allBytes = 0;
        for (const framegen::Frame &frame : frames)
            allBytes += frame.header.len;
        counted.neitherPackets = frames.size() - counted.downloadPackets - counted.uploadPackets;
        counted.neitherBytes = allBytes - counted.downloadBytes - counted.uploadBytes;
        return counted == expected;
    }

    bool hostsFit;
    std::vector<framegen::Frame> frames;
    framegen::Totals expected;
    AppSettings settings;
    TrafficCounters counters;
    FapMeter meter;
    CaptureContext context{settings, counters, meter};
    HostCounters hosts;
    CaptureContext hostContext{settings, counters, meter, hosts};
    FlowRing ring;
    LocalAddresses local;
    CaptureContext flowContext{settings, counters, meter, hosts};
    TextContext text;
    FloorContext floor;
};

void run(benchmark::State &state, framegen::Profile profile, Variant variant,
         framegen::Family family = framegen::Family::Ipv4)
{
    Setup setup(profile, int(state.range(0)), state.range(1) != 0, family);
    if (variant == Variant::Flows)
        addPorts(setup.frames);
    // Through a pointer the compiler cannot see through, the way pcap_loop calls it.
    auto [chosen, user] = setup.target(variant);
    Callback volatile callback = chosen;
    uint32_t i = 0;
    for (auto _ : state) {
        const framegen::Frame &frame = setup.frames[i++ & (kFrames - 1)];
        callback(user, &frame.header, frame.bytes.data());
        // The capture thread hands the counts over after every batch the library delivers.
        if ((i & (kBatch - 1)) == 0) {
            setup.flush(variant);
            if (variant == Variant::Flows)
                setup.ring.drain([](const FlowBytes &) {});
        }
    }
    state.SetItemsProcessed(state.iterations());
}

bool gate()
{
    bool right = true;
    for (const auto profile : {framegen::Profile::Small, framegen::Profile::Mixed, framegen::Profile::Full}) {
        for (const int lanSize : {1, 8, 64, 1024}) {
            for (const bool rule : {false, true}) {
                for (const auto variant :
                     {Variant::Floor, Variant::Classify, Variant::Hosts, Variant::Text, Variant::Flows}) {
                    if (variant == Variant::Text && lanSize > 64)
                        continue; // minutes of text comparisons, and no row uses it
                    Setup setup(profile, lanSize, rule);
                    if (variant == Variant::Flows)
                        addPorts(setup.frames);
                    if (!setup.countsRight(variant)) {
                        std::fprintf(stderr, "gate: %s variant %d, LAN of %d, 192.168 rule %d counts wrong\n",
                                     framegen::profileName(profile), int(variant), lanSize, int(rule));
                        right = false;
                    }
                }
                for (const auto family : {framegen::Family::Ipv6, framegen::Family::Dual}) {
                    for (const auto variant : {Variant::Floor, Variant::Classify, Variant::Hosts, Variant::Flows}) {
                        Setup setup(profile, lanSize, rule, family);
                        if (variant == Variant::Flows)
                            addPorts(setup.frames);
                        if (!setup.countsRight(variant)) {
                            std::fprintf(stderr, "gate: %s family %d variant %d, LAN of %d, IPv6 rule %d counts wrong\n",
                                         framegen::profileName(profile), int(family), int(variant), lanSize, int(rule));
                            right = false;
                        }
                    }
                }
            }
        }
    }
    return right;
}

// LAN lists of 1, 8 and 64 entries, and 1,024 to show how the cost grows beyond.
void arguments(benchmark::internal::Benchmark *benchmark)
{
    benchmark->ArgNames({"lan", "rule192"});
    for (const int lanSize : {1, 8, 64, 1024})
        for (const int rule : {0, 1})
            benchmark->Args({lanSize, rule});
}

void argumentsShort(benchmark::internal::Benchmark *benchmark)
{
    benchmark->ArgNames({"lan", "rule192"});
    for (const int lanSize : {1, 8, 64})
        for (const int rule : {0, 1})
            benchmark->Args({lanSize, rule});
}

// The IPv6 and mixed-family profiles: a list of that many IPv6 networks (and as many IPv4 addresses
// for both families), with the adapter's networks as the LAN's or not.
void arguments6(benchmark::internal::Benchmark *benchmark)
{
    benchmark->ArgNames({"lan", "rule6"});
    for (const int lanSize : {1, 8, 64, 1024})
        for (const int rule : {0, 1})
            benchmark->Args({lanSize, rule});
}

} // namespace

BENCHMARK_CAPTURE(run, empty_60, framegen::Profile::Small, Variant::Empty)->Apply(arguments);
BENCHMARK_CAPTURE(run, floor_60, framegen::Profile::Small, Variant::Floor)->Apply(arguments);
BENCHMARK_CAPTURE(run, classify_60, framegen::Profile::Small, Variant::Classify)->Apply(arguments);
BENCHMARK_CAPTURE(run, hosts_60, framegen::Profile::Small, Variant::Hosts)->Apply(arguments);
BENCHMARK_CAPTURE(run, text_60, framegen::Profile::Small, Variant::Text)->Apply(argumentsShort);
BENCHMARK_CAPTURE(run, empty_mixed, framegen::Profile::Mixed, Variant::Empty)->Apply(arguments);
BENCHMARK_CAPTURE(run, floor_mixed, framegen::Profile::Mixed, Variant::Floor)->Apply(arguments);
BENCHMARK_CAPTURE(run, classify_mixed, framegen::Profile::Mixed, Variant::Classify)->Apply(arguments);
BENCHMARK_CAPTURE(run, hosts_mixed, framegen::Profile::Mixed, Variant::Hosts)->Apply(arguments);
BENCHMARK_CAPTURE(run, flows_mixed, framegen::Profile::Mixed, Variant::Flows)->Apply(arguments);
BENCHMARK_CAPTURE(run, text_mixed, framegen::Profile::Mixed, Variant::Text)->Apply(argumentsShort);
BENCHMARK_CAPTURE(run, empty_1514, framegen::Profile::Full, Variant::Empty)->Apply(arguments);
BENCHMARK_CAPTURE(run, floor_1514, framegen::Profile::Full, Variant::Floor)->Apply(arguments);
BENCHMARK_CAPTURE(run, classify_1514, framegen::Profile::Full, Variant::Classify)->Apply(arguments);
BENCHMARK_CAPTURE(run, hosts_1514, framegen::Profile::Full, Variant::Hosts)->Apply(arguments);
BENCHMARK_CAPTURE(run, text_1514, framegen::Profile::Full, Variant::Text)->Apply(argumentsShort);
BENCHMARK_CAPTURE(run, empty_v6, framegen::Profile::Mixed, Variant::Empty, framegen::Family::Ipv6)->Apply(arguments6);
BENCHMARK_CAPTURE(run, floor_v6, framegen::Profile::Mixed, Variant::Floor, framegen::Family::Ipv6)->Apply(arguments6);
BENCHMARK_CAPTURE(run, classify_v6, framegen::Profile::Mixed, Variant::Classify, framegen::Family::Ipv6)
    ->Apply(arguments6);
BENCHMARK_CAPTURE(run, hosts_v6, framegen::Profile::Mixed, Variant::Hosts, framegen::Family::Ipv6)->Apply(arguments6);
BENCHMARK_CAPTURE(run, empty_dual, framegen::Profile::Mixed, Variant::Empty, framegen::Family::Dual)->Apply(arguments6);
BENCHMARK_CAPTURE(run, floor_dual, framegen::Profile::Mixed, Variant::Floor, framegen::Family::Dual)
    ->Apply(arguments6);
BENCHMARK_CAPTURE(run, classify_dual, framegen::Profile::Mixed, Variant::Classify, framegen::Family::Dual)
    ->Apply(arguments6);
BENCHMARK_CAPTURE(run, hosts_dual, framegen::Profile::Mixed, Variant::Hosts, framegen::Family::Dual)
    ->Apply(arguments6);
BENCHMARK_CAPTURE(run, flows_dual, framegen::Profile::Mixed, Variant::Flows, framegen::Family::Dual)
    ->Apply(arguments6);

int main(int argc, char **argv)
{
    if (!gate())
        return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
