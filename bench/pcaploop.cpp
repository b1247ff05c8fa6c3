// bench_pcaploop FILE: the floor of a replay, a bare pcap_loop with an empty callback over the file.
#include <pcap/pcap.h>

#include <cstdio>

namespace {
void emptyCallback(u_char *user, const pcap_pkthdr *header, const u_char *)
{
    ++*reinterpret_cast<unsigned long long *>(user);
    asm volatile("" : : "r"(header) : "memory");
}
} // namespace

int main(int argc, char **argv)
{
    char error[PCAP_ERRBUF_SIZE] = {};
    pcap_t *capture = argc == 2 ? pcap_open_offline(argv[1], error) : nullptr;
    if (!capture) {
        std::fprintf(stderr, "usage: bench_pcaploop FILE (%s)\n", error);
        return 2;
    }
    unsigned long long frames = 0;
    pcap_loop(capture, 0, emptyCallback, reinterpret_cast<u_char *>(&frames));
    pcap_close(capture);
    std::printf("%llu\n", frames);
    return 0;
}
