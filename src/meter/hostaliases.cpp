#include "meter/hostaliases.h"

#include <algorithm>
#include <optional>

namespace {

// The one value of each key, sorted by key; nothing for a key that has shown two.
template<typename Key, typename Value>
std::vector<std::pair<Key, std::optional<Value>>> onlyValue(std::vector<std::pair<Key, Value>> pairs)
{
    std::sort(pairs.begin(), pairs.end());
    pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
    std::vector<std::pair<Key, std::optional<Value>>> result;
    for (auto &[key, value] : pairs) {
        if (!result.empty() && result.back().first == key)
            result.back().second.reset();
        else
            result.emplace_back(std::move(key), std::move(value));
    }
    return result;
}

template<typename Key, typename Value>
const std::pair<Key, Value> *lookUp(const std::vector<std::pair<Key, Value>> &sorted, const Key &key)
{
    const auto found = std::lower_bound(sorted.begin(), sorted.end(), key,
                                        [](const auto &entry, const Key &wanted) { return entry.first < wanted; });
    return found != sorted.end() && found->first == key ? &*found : nullptr;
}

} // namespace

HostAliases::HostAliases(const std::vector<Neighbour> &neighbours)
{
    std::vector<std::pair<QByteArray, HostAddress>> ipv4OfMac;
    std::vector<std::pair<HostAddress, QByteArray>> macOfIpv6;
    const QByteArray noMac(6, '\0');
    for (const Neighbour &neighbour : neighbours) {
        if (!neighbour.current || neighbour.mac.size() != 6 || neighbour.mac == noMac)
            continue;
        if (neighbour.address.isIpv4())
            ipv4OfMac.emplace_back(neighbour.mac, neighbour.address);
        else
            macOfIpv6.emplace_back(neighbour.address, neighbour.mac);
    }
    const auto ipv4 = onlyValue(std::move(ipv4OfMac));
    for (const auto &[ipv6, mac] : onlyValue(std::move(macOfIpv6))) {
        if (!mac)
            continue;
        if (const auto *found = lookUp(ipv4, *mac); found && found->second)
            m_ipv4Of.emplace_back(ipv6, *found->second);
    }
}

HostAddress HostAliases::rowOf(HostAddress host) const noexcept
{
    const auto *found = lookUp(m_ipv4Of, host);
    return found ? found->second : host;
}
