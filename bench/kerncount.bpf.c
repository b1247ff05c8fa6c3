// The in-kernel counting prototype: a tc classifier on both directions of an adapter. It decides
// as the program's classifier does for untagged Ethernet (a download comes from outside the LAN
// to it, an upload the other way; IPv6 addresses that stay local count nothing) and adds the
// frame's length to per-CPU counts of downloads, uploads and the rest. bench_kerncount loads it.
#include <linux/bpf.h>
#include <linux/if_ether.h>
#include <linux/ip.h>
#include <linux/ipv6.h>
#include <linux/pkt_cls.h>

#include <bpf/bpf_endian.h>
#include <bpf/bpf_helpers.h>

struct lan6_key {
    __u32 prefixlen;
    __u8 address[16];
};
struct counts {
    __u64 bytes;
    __u64 packets;
};

// The LAN list: IPv4 addresses in a hash set (the list holds no IPv4 networks), IPv6 addresses
// and networks in a longest-prefix trie.
struct {
    __uint(type, BPF_MAP_TYPE_HASH);
    __uint(max_entries, 4096);
    __type(key, __u32);
    __type(value, __u8);
} lan4 SEC(".maps");

struct {
    __uint(type, BPF_MAP_TYPE_LPM_TRIE);
    __uint(max_entries, 4096);
    __uint(map_flags, BPF_F_NO_PREALLOC);
    __type(key, struct lan6_key);
    __type(value, __u8);
} lan6 SEC(".maps");

enum { NEITHER, DOWNLOAD, UPLOAD, VERDICTS };

// The 192.168 rule: every 192.168.x.x address on the LAN; set by the loader before loading.
volatile const __u8 use_all_192_168 = 0;

static __always_inline int on_lan4(__u32 address)
{
    return (use_all_192_168 && (bpf_ntohl(address) >> 16) == 0xC0A8) || bpf_map_lookup_elem(&lan4, &address) != 0;
}

struct {
    __uint(type, BPF_MAP_TYPE_PERCPU_ARRAY);
    __uint(max_entries, VERDICTS);
    __type(key, __u32);
    __type(value, struct counts);
} verdicts SEC(".maps");

static __always_inline __u32 decide(int source_on_lan, int destination_on_lan)
{
    return source_on_lan == destination_on_lan ? NEITHER : destination_on_lan ? DOWNLOAD : UPLOAD;
}

// Link-local, unique-local, multicast, loopback and unspecified.
static __always_inline int stays_local(const __u8 *a)
{
    if ((a[0] == 0xfe && (a[1] & 0xc0) == 0x80) || (a[0] & 0xfe) == 0xfc || a[0] == 0xff)
        return 1;
    for (int i = 0; i < 15; ++i)
        if (a[i])
            return 0;
    return a[15] <= 1;
}

SEC("tc")
int count(struct __sk_buff *skb)
{
    void *data = (void *)(long)skb->data;
    void *end = (void *)(long)skb->data_end;
    struct ethhdr *ethernet = data;
    __u32 verdict = NEITHER;
    if ((void *)(ethernet + 1) > end)
        goto out;
    if (ethernet->h_proto == bpf_htons(ETH_P_IP)) {
        struct iphdr *ip = (void *)(ethernet + 1);
        if ((void *)(ip + 1) > end)
            goto out;
        verdict = decide(on_lan4(ip->saddr), on_lan4(ip->daddr));
    } else if (ethernet->h_proto == bpf_htons(ETH_P_IPV6)) {
        struct ipv6hdr *ip = (void *)(ethernet + 1);
        if ((void *)(ip + 1) > end)
            goto out;
        struct lan6_key source = {128}, destination = {128};
        __builtin_memcpy(source.address, &ip->saddr, 16);
        __builtin_memcpy(destination.address, &ip->daddr, 16);
        if (stays_local(source.address) || stays_local(destination.address))
            goto out;
        verdict = decide(bpf_map_lookup_elem(&lan6, &source) != 0, bpf_map_lookup_elem(&lan6, &destination) != 0);
    }
out:;
    struct counts *counts = bpf_map_lookup_elem(&verdicts, &verdict);
    if (counts) {
        counts->bytes += skb->len;
        counts->packets += 1;
    }
    return TC_ACT_OK;
}

char LICENSE[] SEC("license") = "GPL";
