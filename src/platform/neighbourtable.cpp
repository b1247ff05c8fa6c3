#include "platform/neighbourtable.h"

#include <QFile>

#include <arpa/inet.h>

#include <linux/neighbour.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if_arp.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

// The IPv6 neighbours by an RTM_GETNEIGH dump; nothing when the kernel will not answer.
void appendIpv6Neighbours(std::vector<Neighbour> &into)
{
    const int fd = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
    if (fd < 0)
        return;
    struct
    {
        nlmsghdr header;
        ndmsg message;
    } request{};
    request.header.nlmsg_len = sizeof request;
    request.header.nlmsg_type = RTM_GETNEIGH;
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.header.nlmsg_seq = 1;
    request.message.ndm_family = AF_INET6;
    // The dump comes at once; the bound keeps the tick from waiting on a kernel that stays silent.
    const timeval bound{0, 100000};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &bound, sizeof bound);
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    if (::sendto(fd, &request, sizeof request, 0, reinterpret_cast<sockaddr *>(&kernel), sizeof kernel) < 0) {
        ::close(fd);
        return;
    }
    alignas(nlmsghdr) char buffer[16384];
    for (bool done = false; !done;) {
        const ssize_t length = ::recv(fd, buffer, sizeof buffer, 0);
        if (length <= 0)
            break;
        int left = int(length);
        for (auto *header = reinterpret_cast<nlmsghdr *>(buffer); NLMSG_OK(header, left);
             header = NLMSG_NEXT(header, left)) {
            if (header->nlmsg_type == NLMSG_DONE || header->nlmsg_type == NLMSG_ERROR) {
                done = true;
                break;
            }
            if (header->nlmsg_type != RTM_NEWNEIGH)
                continue;
            const auto *message = static_cast<const ndmsg *>(NLMSG_DATA(header));
            if (message->ndm_family != AF_INET6 || (message->ndm_state & NUD_NOARP))
                continue;
            Neighbour neighbour;
            bool haveAddress = false;
            int attributesLeft = int(RTM_PAYLOAD(header));
            for (auto *attribute = reinterpret_cast<rtattr *>(RTM_RTA(message)); RTA_OK(attribute, attributesLeft);
                 attribute = RTA_NEXT(attribute, attributesLeft)) {
                const auto *data = static_cast<const char *>(RTA_DATA(attribute));
                if (attribute->rta_type == NDA_DST && RTA_PAYLOAD(attribute) == 16) {
                    neighbour.address = *HostAddress::fromBytes(QByteArrayView(data, 16));
                    haveAddress = true;
                } else if (attribute->rta_type == NDA_LLADDR && RTA_PAYLOAD(attribute) == 6) {
                    neighbour.mac = QByteArray(data, 6);
                }
            }
            const bool multicast = (neighbour.address.high >> 56) == 0xFF;
            if (!haveAddress || multicast || neighbour.address == HostAddress(0, 1))
                continue;
            neighbour.current = !(message->ndm_state & (NUD_INCOMPLETE | NUD_FAILED)) && neighbour.mac.size() == 6;
            into.push_back(std::move(neighbour));
        }
    }
    ::close(fd);
}

} // namespace

std::vector<Neighbour> parseArpTable(QByteArrayView text)
{
    // IP address  HW type  Flags  HW address  Mask  Device; the first line names the columns.
    std::vector<Neighbour> neighbours;
    const QList<QByteArray> lines = text.toByteArray().split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].simplified().split(' ');
        if (fields.size() < 4)
            continue;
        in_addr address{};
        bool flagsRead = false;
        const uint flags = fields[2].toUInt(&flagsRead, 16);
        if (::inet_pton(AF_INET, fields[0].constData(), &address) != 1 || !flagsRead)
            continue;
        const uint32_t ipv4 = ntohl(address.s_addr);
        if ((ipv4 >> 24) == 127)
            continue;
        const QByteArray mac = QByteArray::fromHex(fields[3]);
        neighbours.push_back({HostAddress::fromIpv4(ipv4), mac,
                              (flags & ATF_COM) != 0 && mac.size() == 6});
    }
    return neighbours;
}

std::vector<Neighbour> SystemNeighbours::neighbours()
{
    QFile arp(QStringLiteral("/proc/net/arp"));
    std::vector<Neighbour> neighbours = arp.open(QIODevice::ReadOnly) ? parseArpTable(arp.readAll())
                                                                      : std::vector<Neighbour>{};
    appendIpv6Neighbours(neighbours);
    return neighbours;
}
