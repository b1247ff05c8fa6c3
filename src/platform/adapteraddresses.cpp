#include "platform/adapteraddresses.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>

#include <bit>

namespace {

int prefixLength(const sockaddr_in6 &mask)
{
    int length = 0;
    for (const uint8_t byte : mask.sin6_addr.s6_addr)
        length += std::popcount(byte);
    return length;
}

} // namespace

QStringList SystemAdapterAddresses::ipv6Networks(const QByteArray &device)
{
    QStringList networks;
    ifaddrs *list = nullptr;
    if (::getifaddrs(&list) != 0)
        return networks;
    const bool every = device == "any";
    for (const ifaddrs *entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET6 || !entry->ifa_netmask
            || (!every && device != entry->ifa_name))
            continue;
        const auto &address = *reinterpret_cast<const sockaddr_in6 *>(entry->ifa_addr);
        char text[INET6_ADDRSTRLEN] = {};
        if (!::inet_ntop(AF_INET6, &address.sin6_addr, text, sizeof text))
            continue;
        const QString network = QStringLiteral("%1/%2").arg(QString::fromLatin1(text))
                                    .arg(prefixLength(*reinterpret_cast<const sockaddr_in6 *>(entry->ifa_netmask)));
        if (!networks.contains(network))
            networks.append(network);
    }
    ::freeifaddrs(list);
    networks.sort();
    return networks;
}
