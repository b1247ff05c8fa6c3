#include "settings/addressset.h"

#include <arpa/inet.h>

#include <algorithm>
#include <bit>

std::optional<uint32_t> parseCanonicalAddress(QStringView text) noexcept
{
    uint32_t address = 0;
    int parts = 0;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (parts < 4) {
        const qsizetype start = i;
        uint32_t value = 0;
        while (i < n && text[i] >= u'0' && text[i] <= u'9' && i - start < 3) {
            value = value * 10 + (text[i].unicode() - u'0');
            ++i;
        }
        const qsizetype digits = i - start;
        if (digits == 0 || value > 255 || (digits > 1 && text[start] == u'0'))
            return std::nullopt;
        address = (address << 8) | value;
        ++parts;
        if (parts < 4) {
            if (i >= n || text[i] != u'.')
                return std::nullopt;
            ++i;
        }
    }
    if (i != n)
        return std::nullopt;
    return address;
}

std::optional<Ipv6Prefix> parseIpv6Entry(QStringView text) noexcept
{
    // The longest text form of an address, "/", three digits and the terminating NUL.
    constexpr qsizetype longest = INET6_ADDRSTRLEN + 4;
    if (text.size() >= longest || !text.contains(u':'))
        return std::nullopt;
    Ipv6Prefix prefix;
    const qsizetype slash = text.indexOf(u'/');
    if (slash >= 0) {
        const QStringView digits = text.mid(slash + 1);
        uint32_t length = 0;
        for (const QChar digit : digits) {
            if (digit < u'0' || digit > u'9')
                return std::nullopt;
            length = length * 10 + (digit.unicode() - u'0');
        }
        if (digits.isEmpty() || digits.size() > 3 || length > 128 || (digits.size() > 1 && digits[0] == u'0'))
            return std::nullopt;
        prefix.length = uint8_t(length);
        text = text.first(slash);
    }
    char latin[longest] = {};
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() > 0x7f)
            return std::nullopt;
        latin[i] = char(text[i].unicode());
    }
    unsigned char bytes[16];
    if (inet_pton(AF_INET6, latin, bytes) != 1)
        return std::nullopt;
    for (int i = 0; i < 8; ++i) {
        prefix.address.high = (prefix.address.high << 8) | bytes[i];
        prefix.address.low = (prefix.address.low << 8) | bytes[8 + i];
    }
    return prefix;
}

bool isAddressEntry(QStringView text) noexcept
{
    return parseCanonicalAddress(text) || parseIpv6Entry(text);
}

template<typename Place>
template<typename Key>
void AddressSet::PlaceTable<Place>::arrange(const std::vector<Place> &entries, Key key)
{
    // Odd constants with well-mixed bits, the golden ratio first: addresses one apart
    // (10.0.0.1, 10.0.0.2; 2001:db8:1::, 2001:db8:2::) land far apart.
    static constexpr uint64_t multipliers[] = {0x9E3779B97F4A7C15ull, 0xC2B2AE3D27D4EB4Full, 0x165667B19E3779F9ull,
                                               0xD6E8FEB86659FD93ull, 0xFF51AFD7ED558CCDull, 0xC4CEB9FE1A85EC53ull,
                                               0x27D4EB2F165667C5ull, 0x94D049BB133111EBull};
    const size_t smallest = std::bit_ceil(std::max<size_t>(2 * entries.size(), 2));
    const auto start = [&](size_t size, uint64_t with) {
        places.assign(size + 1, Place{});
        shift = 64 - unsigned(std::countr_zero(size));
        multiplier = with;
        others.clear();
    };
    for (size_t size = smallest; size <= std::max<size_t>(16 * entries.size(), 16); size *= 2) {
        for (const uint64_t with : multipliers) {
            start(size, with);
            twoPlaces = false;
            const bool own = std::all_of(entries.begin(), entries.end(), [&](const Place &entry) {
                Place &at = places[placeOf(key(entry), multiplier, shift)];
                if (!at.isFree())
                    return false;
                at = entry;
                return true;
            });
            if (own)
                return;
        }
    }
    twoPlaces = true;
    for (size_t size = smallest;; size *= 2) {
        start(size, multipliers[0]);
        for (const Place &entry : entries) {
            Place *at = places.data() + placeOf(key(entry), multiplier, shift);
            if (at[0].isFree())
                at[0] = entry;
            else if (at[1].isFree())
                at[1] = entry;
            else
                others.push_back(entry);
        }
        if (others.empty() || size >= 8 * entries.size())
            return;
    }
}

AddressSet::AddressSet(QStringList entries)
    : AddressSet(std::move(entries), {})
{
}

AddressSet::AddressSet(QStringList entries, const QStringList &markedEntries)
    : m_entries(std::move(entries))
{
    std::vector<uint32_t> markedAddresses;
    std::vector<MaskedPrefix> longPrefixes;
    const auto take = [&](const QStringList &list, std::vector<uint32_t> &addresses, uint32_t value) {
        for (const QString &entry : list) {
            if (const auto address = parseCanonicalAddress(entry)) {
                addresses.push_back(*address);
            } else if (const auto prefix = parseIpv6Entry(entry)) {
                // A shift by 64 is undefined, so the whole-half cases stand apart.
                const unsigned length = prefix->length;
                const uint64_t highMask = length >= 64 ? ~uint64_t(0) : length == 0 ? 0 : ~uint64_t(0) << (64 - length);
                const uint64_t lowMask = length >= 128 ? ~uint64_t(0)
                                         : length <= 64 ? 0
                                                        : ~uint64_t(0) << (128 - length);
                const MaskedPrefix masked{prefix->address.high & highMask, prefix->address.low & lowMask, highMask,
                                          lowMask, value};
                (length < 64 ? m_shortIpv6 : longPrefixes).push_back(masked);
            }
        }
    };
    take(m_entries, m_addresses, held);
    take(markedEntries, markedAddresses, marked);
    std::sort(m_addresses.begin(), m_addresses.end());
    std::sort(markedAddresses.begin(), markedAddresses.end());
    // An address listed twice keeps its first place, as a search of the sorted list finds.
    std::vector<Ipv4Place> ipv4;
    for (size_t i = 0; i < m_addresses.size(); ++i) {
        if (i == 0 || m_addresses[i] != m_addresses[i - 1]) {
            const bool isMarked = std::binary_search(markedAddresses.begin(), markedAddresses.end(), m_addresses[i]);
            ipv4.push_back({m_addresses[i], uint32_t(i + 1) * held | (isMarked ? marked : 0)});
        }
    }
    for (size_t i = 0; i < markedAddresses.size(); ++i) {
        const uint32_t address = markedAddresses[i];
        if ((i == 0 || address != markedAddresses[i - 1])
            && !std::binary_search(m_addresses.begin(), m_addresses.end(), address))
            ipv4.push_back({address, marked});
    }
    m_ipv4.arrange(ipv4, [](const Ipv4Place &p) { return p.address; });
    m_ipv6.arrange(longPrefixes, [](const MaskedPrefix &p) { return p.high; });
}

LiveAddressList::LiveAddressList()
    : m_current(std::make_shared<const AddressSet>())
{
}

void LiveAddressList::assign(const QStringList &entries)
{
    auto next = std::make_shared<const AddressSet>(entries);
    std::lock_guard lock(m_mutex);
    m_current.swap(next);
    m_generation.fetch_add(1, std::memory_order_release);
}

void LiveAddressList::append(const QString &entry)
{
    QStringList next = entries();
    next.append(entry);
    assign(next);
}

void LiveAddressList::removeAt(int index)
{
    QStringList next = entries();
    if (index < 0 || index >= next.size())
        return;
    next.removeAt(index);
    assign(next);
}

AddressListReader::AddressListReader(const LiveAddressList &list)
    : m_list(&list)
{
    refresh();
}

void AddressListReader::refresh() noexcept
{
    std::lock_guard lock(m_list->m_mutex);
    m_set = m_list->m_current;
    m_generation = m_list->m_generation.load(std::memory_order_relaxed);
}
