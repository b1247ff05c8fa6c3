#include "programs/sockets.h"

#include <linux/inet_diag.h>
#include <linux/netlink.h>
#include <linux/sock_diag.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstring>

namespace {

FlowAddress addressOf(int family, const __be32 words[4])
{
    if (family == AF_INET)
        return FlowAddress::fromIpv4(ntohl(words[0]));
    return FlowAddress::fromBytes(reinterpret_cast<const unsigned char *>(words));
}

// One dump of `family` and `protocol` into `table`; false when the kernel refused.
bool dump(int descriptor, int family, uint8_t protocol, SocketTable &table)
{
    struct
    {
        nlmsghdr header;
        inet_diag_req_v2 request;
    } message{};
    message.header.nlmsg_len = sizeof message;
    message.header.nlmsg_type = SOCK_DIAG_BY_FAMILY;
    message.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    message.request.sdiag_family = uint8_t(family);
    message.request.sdiag_protocol = protocol;
    message.request.idiag_states = ~0u;
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    if (::sendto(descriptor, &message, sizeof message, 0, reinterpret_cast<sockaddr *>(&kernel), sizeof kernel) < 0)
        return false;
    alignas(nlmsghdr) static thread_local char buffer[32768];
    for (;;) {
        const ssize_t received = ::recv(descriptor, buffer, sizeof buffer, 0);
        if (received <= 0)
            return false;
        auto length = size_t(received);
        for (auto *header = reinterpret_cast<nlmsghdr *>(buffer); NLMSG_OK(header, length);
             header = NLMSG_NEXT(header, length)) {
            if (header->nlmsg_type == NLMSG_DONE)
                return true;
            if (header->nlmsg_type == NLMSG_ERROR)
                return false;
            const auto *socket = static_cast<const inet_diag_msg *>(NLMSG_DATA(header));
            FlowKey key;
            key.protocol = protocol;
            key.localPort = ntohs(socket->id.idiag_sport);
            key.remotePort = ntohs(socket->id.idiag_dport);
            key.remote = addressOf(socket->idiag_family, socket->id.idiag_dst);
            table.insert(key, {socket->idiag_inode, socket->idiag_uid});
        }
    }
}

} // namespace

bool SocketTable::read()
{
    clear();
    const int descriptor = ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_SOCK_DIAG);
    if (descriptor < 0)
        return false;
    // The dump comes at once; the bound keeps the worker from waiting on a kernel that stays silent.
    const timeval bound{0, 200000};
    ::setsockopt(descriptor, SOL_SOCKET, SO_RCVTIMEO, &bound, sizeof bound);
    bool done = true;
    for (const int family : {AF_INET, AF_INET6})
        for (const uint8_t protocol : {PendingFlows::tcp, PendingFlows::udp})
            done = dump(descriptor, family, protocol, *this) && done;
    ::close(descriptor);
    return done;
}

void SocketTable::insert(const FlowKey &key, SocketOwner owner)
{
    if (m_sockets.size() >= most)
        return;
    // An unconnected socket has no remote end: it answers by its local port alone.
    const bool unconnected = key.remotePort == 0;
    const FlowKey stored = unconnected ? FlowKey{{}, key.localPort, 0, key.protocol} : key;
    // A socket a process holds wins over one no process holds any more.
    if (const auto held = m_sockets.constFind(stored); held != m_sockets.cend() && held->inode != 0)
        return;
    m_sockets.insert(stored, owner);
}

void SocketTable::clear()
{
    m_sockets.clear();
}

std::optional<SocketOwner> SocketTable::find(const FlowKey &key) const
{
    for (const FlowKey &candidate : {key, FlowKey{{}, key.localPort, 0, key.protocol}})
        if (const auto found = m_sockets.constFind(candidate); found != m_sockets.cend())
            return *found;
    return std::nullopt;
}
