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

template<typename Place, typename Key>
void AddressSet::arrange(const std::vector<Place> &entries, Key key, std::vector<Place> &places, unsigned &shift,
                         std::vector<Place> &others)
{
    for (size_t size = std::bit_ceil(std::max<size_t>(2 * entries.size(), 2));; size *= 2) {
        places.assign(size + 1, Place{});
        shift = 64 - unsigned(std::countr_zero(size));
        others.clear();
        for (const Place &entry : entries) {
            Place *at = places.data() + placeOf(key(entry), shift);
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
    : m_entries(std::move(entries))
{
    std::vector<MaskedPrefix> longPrefixes;
    for (const QString &entry : std::as_const(m_entries)) {
        if (const auto address = parseCanonicalAddress(entry)) {
            m_addresses.push_back(*address);
        } else if (const auto prefix = parseIpv6Entry(entry)) {
            // A shift by 64 is undefined, so the whole-half cases stand apart.
            const unsigned length = prefix->length;
            const uint64_t highMask = length >= 64 ? ~uint64_t(0) : length == 0 ? 0 : ~uint64_t(0) << (64 - length);
            const uint64_t lowMask = length >= 128 ? ~uint64_t(0) : length <= 64 ? 0 : ~uint64_t(0) << (128 - length);
            const MaskedPrefix masked{prefix->address.high & highMask, prefix->address.low & lowMask, highMask, lowMask,
                                      true};
            (length < 64 ? m_ipv6Others : longPrefixes).push_back(masked);
        }
    }
    std::sort(m_addresses.begin(), m_addresses.end());
    // An address listed twice keeps its first place, as a search of the sorted list finds.
    std::vector<Ipv4Place> ipv4;
    for (size_t i = 0; i < m_addresses.size(); ++i) {
        if (i == 0 || m_addresses[i] != m_addresses[i - 1])
            ipv4.push_back({m_addresses[i], uint32_t(i + 1)});
    }
    arrange(ipv4, [](const Ipv4Place &p) { return p.address; }, m_ipv4Places, m_ipv4Shift, m_ipv4Others);
    std::vector<MaskedPrefix> shortPrefixes = std::move(m_ipv6Others);
    arrange(longPrefixes, [](const MaskedPrefix &p) { return p.high; }, m_ipv6Places, m_ipv6Shift, m_ipv6Others);
    m_ipv6Others.insert(m_ipv6Others.end(), shortPrefixes.begin(), shortPrefixes.end());
    m_hasIpv6 = !longPrefixes.empty() || !shortPrefixes.empty();
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
