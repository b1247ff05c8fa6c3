// bench_kerncount OBJECT DEVICE [LAN ADDRESS OR NETWORK]...: loads the in-kernel counter
// (kerncount.bpf.c, compiled to OBJECT) onto both directions of DEVICE, counts until SIGINT, then
// prints "download_bytes download_packets upload_bytes upload_packets neither_bytes
// neither_packets" and takes the counter off the adapter again; on standard error the kernel's
// count of the classifier's runs and their nanoseconds ("R runs N ns"), which it keeps while the
// counter runs. Needs CAP_BPF and CAP_NET_ADMIN (and CAP_SYS_ADMIN for the run times).
#include <bpf/bpf.h>
#include <bpf/libbpf.h>

#include <arpa/inet.h>
#include <net/if.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Counts
{
    uint64_t bytes;
    uint64_t packets;
};

volatile std::sig_atomic_t stopped = 0;

void stop(int)
{
    stopped = 1;
}

// "10.0.0.2" into the IPv4 set, "2001:db8:1::/64" or an IPv6 address into the trie.
bool addLan(bpf_object *object, const std::string &entry)
{
    const size_t slash = entry.find('/');
    const std::string address = entry.substr(0, slash);
    struct
    {
        uint32_t prefix;
        unsigned char bytes[16];
    } key{};
    const uint8_t on = 1;
    if (address.find(':') == std::string::npos)
        return slash == std::string::npos && inet_pton(AF_INET, address.c_str(), key.bytes) == 1
               && bpf_map_update_elem(bpf_object__find_map_fd_by_name(object, "lan4"), key.bytes, &on, BPF_ANY) == 0;
    if (inet_pton(AF_INET6, address.c_str(), key.bytes) != 1)
        return false;
    key.prefix = slash == std::string::npos ? 128 : uint32_t(std::atoi(entry.c_str() + slash + 1));
    return bpf_map_update_elem(bpf_object__find_map_fd_by_name(object, "lan6"), &key, &on, BPF_ANY) == 0;
}

} // namespace

int main(int argc, char **argv)
{
    const unsigned device = argc >= 3 ? if_nametoindex(argv[2]) : 0;
    if (device == 0) {
        std::fprintf(stderr, "usage: bench_kerncount OBJECT DEVICE [LAN]...\n");
        return 2;
    }
    bpf_object *object = bpf_object__open_file(argv[1], nullptr);
    if (!object || bpf_object__load(object) != 0) {
        std::fprintf(stderr, "bench_kerncount: cannot load %s: %s\n", argv[1], std::strerror(errno));
        return 2;
    }
    for (int i = 3; i < argc; ++i) {
        if (!addLan(object, argv[i])) {
            std::fprintf(stderr, "bench_kerncount: cannot take %s\n", argv[i]);
            return 2;
        }
    }
    bpf_tc_hook hook{};
    hook.sz = sizeof hook;
    hook.ifindex = int(device);
    hook.attach_point = bpf_tc_attach_point(BPF_TC_INGRESS | BPF_TC_EGRESS);
    if (const int error = bpf_tc_hook_create(&hook); error != 0 && error != -EEXIST) {
        std::fprintf(stderr, "bench_kerncount: no clsact on %s: %s\n", argv[2], std::strerror(-error));
        return 2;
    }
    const int program = bpf_program__fd(bpf_object__find_program_by_name(object, "count"));
    for (const bpf_tc_attach_point point : {BPF_TC_INGRESS, BPF_TC_EGRESS}) {
        hook.attach_point = point;
        bpf_tc_opts options{};
        options.sz = sizeof options;
        options.prog_fd = program;
        if (const int error = bpf_tc_attach(&hook, &options); error != 0) {
            std::fprintf(stderr, "bench_kerncount: cannot attach: %s\n", std::strerror(-error));
            return 2;
        }
    }
    // The kernel times each run of a BPF program while a descriptor of this kind is open.
    const int timing = bpf_enable_stats(BPF_STATS_RUN_TIME);
    struct sigaction action{};
    action.sa_handler = stop;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    while (!stopped)
        pause();

    bpf_prog_info info{};
    uint32_t infoSize = sizeof info;
    if (timing >= 0 && bpf_obj_get_info_by_fd(program, &info, &infoSize) == 0)
        std::fprintf(stderr, "%llu runs %llu ns\n", (unsigned long long)info.run_cnt,
                     (unsigned long long)info.run_time_ns);
    const int cpus = libbpf_num_possible_cpus();
    const int map = bpf_object__find_map_fd_by_name(object, "verdicts");
    Counts total[3] = {};
    std::vector<Counts> perCpu(size_t(cpus > 0 ? cpus : 1));
    for (uint32_t verdict = 0; verdict < 3; ++verdict) {
        if (bpf_map_lookup_elem(map, &verdict, perCpu.data()) != 0)
            return 2;
        for (const Counts &counts : perCpu) {
            total[verdict].bytes += counts.bytes;
            total[verdict].packets += counts.packets;
        }
    }
    // The order of the generator's totals: download, upload, neither.
    std::printf("%llu %llu %llu %llu %llu %llu\n", (unsigned long long)total[1].bytes,
                (unsigned long long)total[1].packets, (unsigned long long)total[2].bytes,
                (unsigned long long)total[2].packets, (unsigned long long)total[0].bytes,
                (unsigned long long)total[0].packets);
    hook.attach_point = bpf_tc_attach_point(BPF_TC_INGRESS | BPF_TC_EGRESS);
    bpf_tc_hook_destroy(&hook);
    bpf_object__close(object);
    return 0;
}
