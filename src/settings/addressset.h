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

    const QStringList &entries() const noexcept { return m_entries; }
    bool hasIpv4() const noexcept { return !m_addresses.empty(); }
    bool hasIpv6() const noexcept { return m_hasIpv6; }
    bool contains(uint32_t address) const noexcept { return indexOf(address) >= 0; }
    // The place of `address` among the list's sorted addresses; -1 when not listed.
    int indexOf(uint32_t address) const noexcept
    {
        // Both places an entry can sit at are looked at, whether the first matched or not: a
        // frame's addresses are as good as random, and a branch on each would be guessed wrong
        // half the time.
        uint32_t found = 0; // the place plus one; a free place adds nothing
        const Ipv4Place *at = m_ipv4Places.data() + placeOf(address, m_ipv4Shift);
        found |= at[0].indexIfHolds(address) | at[1].indexIfHolds(address);
        for (const Ipv4Place &place : m_ipv4Others)
            found |= place.indexIfHolds(address);
        return int(found) - 1;
    }
    // Whether an IPv6 entry holds `address`. Networks of 64 bits or longer (nearly all) sit in a
    // table by their first half, looked at the same way as the IPv4 addresses; shorter ones are
    // few and compared one by one.
    bool contains(const Ipv6Address &address) const noexcept
    {
        const MaskedPrefix *at = m_ipv6Places.data() + placeOf(address.high, m_ipv6Shift);
        // Added as numbers: both places are read, with no jump between them.
        unsigned held = unsigned(at[0].holds(address)) | unsigned(at[1].holds(address));
        for (const MaskedPrefix &prefix : m_ipv6Others)
            held |= unsigned(prefix.holds(address));
        return held != 0;
    }

private:
    // A listed address and its place in the sorted list plus one; 0 where the place is free.
    struct Ipv4Place
    {
        uint32_t address = 0;
        uint32_t indexPlusOne = 0;
        bool isFree() const noexcept { return indexPlusOne == 0; }
        uint32_t indexIfHolds(uint32_t candidate) const noexcept
        {
            return uint32_t(address == candidate) * indexPlusOne;
        }
    };
    // A network with the masks of its two halves; a free place is never taken to hold anything.
    struct MaskedPrefix
    {
        uint64_t high = 0, low = 0, highMask = 0, lowMask = 0;
        bool taken = false;
        bool isFree() const noexcept { return !taken; }
        bool holds(const Ipv6Address &address) const noexcept
        {
            return taken & ((((high ^ address.high) & highMask) | ((low ^ address.low) & lowMask)) == 0);
        }
    };

    // The top bits of the key times the golden ratio: addresses one apart (10.0.0.1, 10.0.0.2;
    // 2001:db8:1::, 2001:db8:2::) land far apart.
    static size_t placeOf(uint64_t key, unsigned shift) noexcept
    {
        return size_t(((key ^ (key >> 32)) * 0x9E3779B97F4A7C15ull) >> shift);
    }
    // Places each entry at its own place of a power of two of them (at least twice the entries)
    // or the one after, so a look-up sees two places and nothing else; the table grows while an
    // entry finds neither free. What still finds no room (entries with one key: hosts of one IPv6
    // network) goes to `others`, compared one by one. One place more than the power of two, so
    // the place after the last needs no wrapping.
    template<typename Place, typename Key>
    static void arrange(const std::vector<Place> &entries, Key key, std::vector<Place> &places, unsigned &shift,
                        std::vector<Place> &others);

    QStringList m_entries;
    std::vector<uint32_t> m_addresses; // sorted
    std::vector<Ipv4Place> m_ipv4Places;
    std::vector<Ipv4Place> m_ipv4Others;
    unsigned m_ipv4Shift = 63; // 64 less the bits of a place's number
    std::vector<MaskedPrefix> m_ipv6Places; // IPv6 networks of 64 bits or longer
    std::vector<MaskedPrefix> m_ipv6Others; // shorter ones, and those the table found no room for
    unsigned m_ipv6Shift = 63;
    bool m_hasIpv6 = false;
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
