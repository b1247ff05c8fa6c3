// bench_pcaploop FILE [BUFFER]: the floor of a replay, a bare pcap_loop with an empty callback
// over the file; read through a stdio buffer of BUFFER bytes when given, the library's default
// otherwise.
#include <pcap/pcap.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

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
    std::vector<char> buffer(argc == 3 ? std::strtoul(argv[2], nullptr, 10) : 0);
    std::FILE *file = argc == 2 || argc == 3 ? std::fopen(argv[1], "rb") : nullptr;
    if (file && !buffer.empty())
        std::setvbuf(file, buffer.data(), _IOFBF, buffer.size());
    pcap_t *capture = file ? pcap_fopen_offline(file, error) : nullptr;
    if (!capture) {
        std::fprintf(stderr, "usage: bench_pcaploop FILE [BUFFER] (%s)\n", error);
        return 2;
    }
    unsigned long long frames = 0;
    pcap_loop(capture, 0, emptyCallback, reinterpret_cast<u_char *>(&frames));
    pcap_close(capture);
    std::printf("%llu\n", frames);
    return 0;
}
