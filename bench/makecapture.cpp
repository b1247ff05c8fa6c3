// bench_makecapture FILE COUNT PROFILE LANSIZE: writes COUNT generated Ethernet frames (60, mixed
// or 1514) to a capture file, one microsecond apart, and prints the generator's totals as
// "download_bytes download_packets upload_bytes upload_packets neither_bytes neither_packets".
// The frames carry their full length on the wire and their whole bytes, so a sender puts real
// frames on a link.
#include "framegen.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

int main(int argc, char **argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: bench_makecapture FILE COUNT 60|mixed|1514 LANSIZE\n");
        return 2;
    }
    const long long count = std::atoll(argv[2]);
    const framegen::Profile profile = std::strcmp(argv[3], "60") == 0      ? framegen::Profile::Small
                                      : std::strcmp(argv[3], "1514") == 0 ? framegen::Profile::Full
                                                                          : framegen::Profile::Mixed;
    framegen::Generator generator(profile, std::atoi(argv[4]));
    pcap_t *dead = pcap_open_dead(DLT_EN10MB, 65535);
    pcap_dumper_t *dumper = pcap_dump_open(dead, argv[1]);
    if (!dumper) {
        std::fprintf(stderr, "%s\n", pcap_geterr(dead));
        return 2;
    }
    std::vector<u_char> bytes(1514);
    for (long long i = 0; i < count; ++i) {
        framegen::Frame frame = generator.next();
        frame.header.ts.tv_sec = 1767225600 + i / 1000000;
        frame.header.ts.tv_usec = i % 1000000;
        frame.header.caplen = frame.header.len;
        std::memcpy(bytes.data(), frame.bytes.data(), frame.bytes.size());
        pcap_dump(reinterpret_cast<u_char *>(dumper), &frame.header, bytes.data());
    }
    pcap_dump_close(dumper);
    pcap_close(dead);
    const framegen::Totals &t = generator.totals();
    std::printf("%llu %llu %llu %llu %llu %llu\n", (unsigned long long)t.downloadBytes,
                (unsigned long long)t.downloadPackets, (unsigned long long)t.uploadBytes,
                (unsigned long long)t.uploadPackets, (unsigned long long)t.neitherBytes,
                (unsigned long long)t.neitherPackets);
    return 0;
}
