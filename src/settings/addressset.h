#pragma once

#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

// The 32-bit address (first byte in the top bits) whose dotted-decimal text, each byte without
// leading zeros, is exactly `text`; nothing for any other text ("192.168.000.010", " 1.2.3.4").
std::optional<uint32_t> parseCanonicalAddress(QStringView text) noexcept;

// A 128-bit address, first byte in the top bits of `high`.
struct Ipv6Address
{
    uint64_t high = 0;
    uint64_t low = 0;

    friend bool operator==(const Ipv6Address &, const Ipv6Address &) = default;
};

// An IPv6 network: the addresses whose first `length` bits are those of `address`.
struct Ipv6Prefix
{
    Ipv6Address address;
    uint8_t length = 128;
};

// An IPv6 address ("2001:db8::7", any form the system's own parser takes) or network
// ("2001:db8:1::/64", the length 0 to 128 in plain decimal); nothing for any other text.
std::optional<Ipv6Prefix> parseIpv6Entry(QStringView text) noexcept;
// Whether `text` is an entry the lists can match: a canonical IPv4 address or an IPv6 entry.
bool isAddressEntry(QStringView text) noexcept;

// An immutable list of address texts. Besides the texts it keeps the addresses of the entries
// written in canonical form, so a frame is looked up by integer with the same result as a text
// comparison, and without building any text.
class AddressSet
{
public:
    AddressSet() = default;
    explicit AddressSet(QStringList entries);

    const QStringList &entries() const noexcept { return m_entries; }
    bool contains(uint32_t address) const noexcept { return indexOf(address) >= 0; }
    // The place of `address` among the list's sorted addresses; -1 when not listed.
    int indexOf(uint32_t address) const noexcept
    {
        // Most frames carry an address of no list: one bit of the filter turns most of them away.
        const uint32_t bit = filterBit(address);
        if (((m_filter[bit >> 6] >> (bit & 63)) & 1) == 0)
            return -1;
        const auto found = std::lower_bound(m_addresses.begin(), m_addresses.end(), address);
        return found != m_addresses.end() && *found == address ? int(found - m_addresses.begin()) : -1;
    }
    // Whether an IPv6 entry holds `address`. Networks of 64 bits or longer (nearly all) sit in a
    // small hash table by their first half, so an address costs about one probe; shorter ones
    // are few and compared one by one.
    bool contains(const Ipv6Address &address) const noexcept
    {
        for (const MaskedPrefix &prefix : m_shortPrefixes) {
            if (prefix.holds(address))
                return true;
        }
        if (m_longPrefixes.empty())
            return false;
        const size_t mask = m_longPrefixes.size() - 1;
        for (size_t i = slotOf(address.high, m_longShift);; i = (i + 1) & mask) {
            const MaskedPrefix &slot = m_longPrefixes[i];
            if (slot.highMask == 0) // empty
                return false;
            if (slot.holds(address))
                return true;
        }
    }

private:
    // A network with the masks of its two halves.
    struct MaskedPrefix
    {
        uint64_t high, low, highMask, lowMask;
        bool holds(const Ipv6Address &address) const noexcept
        {
            return ((high ^ address.high) & highMask) == 0 && ((low ^ address.low) & lowMask) == 0;
        }
    };

    static uint32_t filterBit(uint32_t address) noexcept { return (address * 2654435761u) >> 24; }
    // The top bits of a mix of the first half: networks one apart (2001:db8:1::, 2001:db8:2::) land
    // far apart, so the probes do not run through clusters.
    static size_t slotOf(uint64_t high, unsigned shift) noexcept
    {
        high ^= high >> 33;
        high *= 0xff51afd7ed558ccdull;
        high ^= high >> 33;
        return size_t(high >> shift);
    }

    QStringList m_entries;
    std::vector<uint32_t> m_addresses; // sorted
    std::vector<MaskedPrefix> m_shortPrefixes; // IPv6 networks shorter than 64 bits
    // The others, by slotOf(high) with the next free slot after a taken one; a power of two at
    // least twice their number, so a probe meets an empty slot soon. Empty: no entry.
    std::vector<MaskedPrefix> m_longPrefixes;
    unsigned m_longShift = 63; // 64 less the bits of a slot number
    std::array<uint64_t, 4> m_filter{}; // a bit per entry, at filterBit(entry)
};

// A list the capture thread reads for every frame while the options window edits it: each edit
// publishes a new immutable AddressSet whole, so a reader never sees a half-made change, and
// moves the generation number on, so a reader that keeps its last snapshot (AddressListReader)
// needs one atomic load per frame to know it is still current. The lock guards only the swap of
// the pointer, never a search. (libstdc++'s atomic<shared_ptr> would do the same, but
// ThreadSanitizer cannot see through its lock bit.) Edits come from the user-interface thread only.
class LiveAddressList
{
public:
    LiveAddressList();

    std::shared_ptr<const AddressSet> snapshot() const noexcept
    {
        std::lock_guard lock(m_mutex);
        return m_current;
    }
    QStringList entries() const { return snapshot()->entries(); }
    uint64_t generation() const noexcept { return m_generation.load(std::memory_order_acquire); }

    void assign(const QStringList &entries);
    void append(const QString &entry);
    void removeAt(int index);

private:
    friend class AddressListReader;

    mutable std::mutex m_mutex;
    std::shared_ptr<const AddressSet> m_current;
    std::atomic<uint64_t> m_generation{0};
};

// One reader's view of a LiveAddressList: the snapshot it took last, replaced only when the
// list's generation has moved, so a frame costs no lock and no reference count.
class AddressListReader
{
public:
    explicit AddressListReader(const LiveAddressList &list);

    const AddressSet &current() noexcept
    {
        if (m_list->generation() != m_generation)
            refresh();
        return *m_set;
    }

private:
    void refresh() noexcept;

    const LiveAddressList *m_list;
    std::shared_ptr<const AddressSet> m_set;
    uint64_t m_generation = 0;
};
