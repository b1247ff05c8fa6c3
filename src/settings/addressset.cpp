#include "settings/addressset.h"

#include <algorithm>

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

AddressSet::AddressSet(QStringList entries)
    : m_entries(std::move(entries))
{
    for (const QString &entry : std::as_const(m_entries)) {
        if (const auto address = parseCanonicalAddress(entry)) {
            m_addresses.push_back(*address);
            const uint32_t bit = filterBit(*address);
            m_filter[bit >> 6] |= uint64_t(1) << (bit & 63);
        }
    }
    std::sort(m_addresses.begin(), m_addresses.end());
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
