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

    // Both halves at once: a comparison half by half branches between them.
    friend bool operator==(const Ipv6Address &a, const Ipv6Address &b) noexcept
    {
        return ((a.high ^ b.high) | (a.low ^ b.low)) == 0;
    }
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
    AddressSet() : AddressSet(QStringList()) {}
    explicit AddressSet(QStringList entries);
    // The set of `entries` that knows the `markedEntries` as well (the ignore list beside the LAN
    // list), so an address is looked up once for both. A look-up's value has `marked` set when a
    // marked entry holds the address, and above it (from `held` up) what the entries hold of it.
    AddressSet(QStringList entries, const QStringList &markedEntries);
    static constexpr uint32_t marked = 1;
    static constexpr uint32_t held = 2;

    const QStringList &entries() const noexcept { return m_entries; }
    bool contains(uint32_t address) const noexcept { return indexOf(address) >= 0; }
    // The place of `address` among the list's sorted addresses; -1 when not listed.
    int indexOf(uint32_t address) const noexcept { return int(ipv4Value(address) / held) - 1; }
    // What the set holds of `address`: its place among the sorted addresses plus one (0: not
    // listed) times `held`, plus `marked`.
    uint32_t ipv4Value(uint32_t address) const noexcept
    {
        return m_ipv4.find(address, [address](const Ipv4Place &place) { return place.valueIfHolds(address); });
    }
    // Whether an IPv6 entry holds `address`.
    bool contains(const Ipv6Address &address) const noexcept { return ipv6Value(address) >= held; }
    // `held` when an entry holds `address`, 0 when none does, plus `marked`. Networks of 64 bits or
    // longer (nearly all) sit in a table by their first half, looked at the same way as the IPv4
    // addresses; shorter ones are few and compared one by one.
    uint32_t ipv6Value(const Ipv6Address &address) const noexcept
    {
        uint32_t found = m_ipv6.find(address.high,
                                     [&address](const MaskedPrefix &place) { return place.valueIfHoldsLong(address); });
        if (!m_shortIpv6.empty()) [[unlikely]] {
            for (const MaskedPrefix &prefix : m_shortIpv6)
                found |= prefix.valueIfHolds(address);
        }
        return found;
    }

private:
    // A listed address and what a look-up finds of it; 0 where the place is free.
    struct Ipv4Place
    {
        uint32_t address = 0;
        uint32_t value = 0;
        bool isFree() const noexcept { return value == 0; }
        uint32_t valueIfHolds(uint32_t candidate) const noexcept { return value & -uint32_t(address == candidate); }
    };
    // A network with the masks of its two halves and what a look-up finds of it; 0 where the
    // place is free, which then holds nothing.
    struct MaskedPrefix
    {
        uint64_t high = 0, low = 0, highMask = 0, lowMask = 0;
        uint32_t value = 0;
        bool isFree() const noexcept { return value == 0; }
        uint32_t valueIfHolds(const Ipv6Address &address) const noexcept
        {
            return value & -uint32_t((((high ^ address.high) & highMask) | ((low ^ address.low) & lowMask)) == 0);
        }
        // The same for a network of 64 bits or longer, whose first half is compared whole.
        uint32_t valueIfHoldsLong(const Ipv6Address &address) const noexcept
        {
            return value & -uint32_t(((high ^ address.high) | ((low ^ address.low) & lowMask)) == 0);
        }
    };

    // Entries placed by the top bits of their key times a multiplier, so that a look-up reads one
    // place, or two, and never branches on the key: a frame's addresses are as good as random, and
    // such a branch would be guessed wrong half the time. What finds no place (entries with one
    // key: hosts of one IPv6 network) is in `others`, compared one by one.
    template<typename Place>
    struct PlaceTable
    {
        std::vector<Place> places{3}; // a power of two and one more, so the one after the last needs no wrapping
        std::vector<Place> others;
        uint64_t multiplier = 0;
        unsigned shift = 63; // 64 less the bits of a place's number
        bool twoPlaces = false; // an entry sits at its place or the one after, or in `others`

        template<typename ValueOf>
        uint32_t find(uint64_t key, ValueOf valueOf) const noexcept
        {
            const Place *at = places.data() + placeOf(key, multiplier, shift);
            uint32_t found = valueOf(at[0]);
            // The same way for every look-up in the table, so it is never guessed wrong.
            if (twoPlaces) [[unlikely]] {
                found |= valueOf(at[1]);
                for (const Place &place : others)
                    found |= valueOf(place);
            }
            return found;
        }
        // Each entry at a place of its own where one of a few multipliers gives that in a table of
        // up to 16 places an entry; else at its place or the one after, the table growing while an
        // entry finds neither free, up to 8 places an entry.
        template<typename Key>
        void arrange(const std::vector<Place> &entries, Key key);
        static size_t placeOf(uint64_t key, uint64_t multiplier, unsigned shift) noexcept
        {
            // A product's top bits depend on every bit of the key.
            return size_t((key * multiplier) >> shift);
        }
    };

    QStringList m_entries;
    std::vector<uint32_t> m_addresses; // sorted
    PlaceTable<Ipv4Place> m_ipv4;
    PlaceTable<MaskedPrefix> m_ipv6; // IPv6 networks of 64 bits or longer, by their first half
    std::vector<MaskedPrefix> m_shortIpv6; // shorter ones
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
    // The generation of the snapshot current() returned last.
    uint64_t generation() const noexcept { return m_generation; }

private:
    void refresh() noexcept;

    const LiveAddressList *m_list;
    std::shared_ptr<const AddressSet> m_set;
    uint64_t m_generation = 0;
};
