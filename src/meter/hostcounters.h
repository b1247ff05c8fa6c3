#pragma once

#include "meter/hostaddress.h"
#include "meter/select.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <utility>

// The download bytes of each LAN host, added by the capture thread once per host and batch and
// taken by the user-interface thread. One capture thread at a time adds, so a slot's count only
// grows, by a plain store rather than a locked read-modify-write; a take hands over what the
// count grew by since the last take. A host is a slot of a fixed table, so the capture finds it
// without a lock or text: 192.168.x.y is slot x*256+y, and the listed LAN entries outside 192.168
// take the slots after those, by their place among the list's sorted addresses. The capture
// stores a listed slot's address beside its bytes; after an edit of the list a slot may change
// hands, so the bytes of the second in which that happens may go to the slot's former address.
// IPv6 hosts take the last slots, each found by its address in an open-addressing table the
// capture thread alone fills (see PendingHostBytes); a slot keeps its address for the run.
class HostCounters
{
public:
    static constexpr uint32_t subnetSlots = 65536;
    static constexpr uint32_t listedSlots = 256;
    static constexpr uint32_t ipv6Slots = 1024; // a power of two
    static constexpr uint32_t firstIpv6Slot = subnetSlots + listedSlots;
    static constexpr uint32_t slotCount = firstIpv6Slot + ipv6Slots;
    static constexpr uint32_t noSlot = UINT32_MAX;
    static_assert(slotCount % 64 == 0 && (ipv6Slots & (ipv6Slots - 1)) == 0);

    HostCounters();

    // The slot of a LAN address: its 192.168 slot, else the slot of its place in the LAN list
    // (`listedIndex`, -1 when not listed); noSlot when neither or when the list is too long.
    static uint32_t slotOf(uint32_t address, int listedIndex) noexcept
    {
        // Selects rather than branches: the capture asks for every frame's destination.
        const uint32_t listed = selectBits(uint32_t(listedIndex) < listedSlots, subnetSlots + uint32_t(listedIndex), noSlot);
        return selectBits((address >> 16) == 0xC0A8u, address & 0xFFFFu, listed);
    }

    // Capture thread, once per slot and batch; `address` serves listed and IPv6 slots.
    void add(uint32_t slot, HostAddress address, uint64_t bytes) noexcept
    {
        addUnmarked(slot, address, bytes);
        mark(slot / 64, uint64_t(1) << (slot % 64));
    }
    // The same in two steps, so a batch marks each word of slots once: the bytes first, then the
    // slots of `bits` in word `word` (slots word*64 and up) as having bytes.
    void addUnmarked(uint32_t slot, HostAddress address, uint64_t bytes) noexcept;
    void mark(uint32_t word, uint64_t bits) noexcept
    {
        // Released after the bytes, so a take that sees the bit sees the bytes.
        m_touched[word].fetch_or(bits, std::memory_order_release);
    }

    // User-interface thread: calls each(address, bytes) for every host with bytes since the last
    // take, and takes them; bytes added meanwhile wait for the next take.
    template<typename Each>
    void take(Each &&each)
    {
        for (uint32_t word = 0; word < slotCount / 64; ++word) {
            for (uint64_t bits = m_touched[word].exchange(0, std::memory_order_acquire); bits != 0; bits &= bits - 1) {
                const uint32_t slot = word * 64 + uint32_t(__builtin_ctzll(bits));
                const uint64_t total = m_bytes[slot].load(std::memory_order_relaxed);
                if (const uint64_t bytes = total - std::exchange(m_taken[slot], total))
                    each(addressOf(slot), bytes);
            }
        }
    }

private:
    HostAddress addressOf(uint32_t slot) const noexcept
    {
        if (slot < subnetSlots)
            return HostAddress::fromIpv4(0xC0A80000u | slot);
        return {m_address[2 * (slot - subnetSlots)].load(std::memory_order_relaxed),
                m_address[2 * (slot - subnetSlots) + 1].load(std::memory_order_relaxed)};
    }

    std::unique_ptr<std::atomic<uint64_t>[]> m_bytes; // since the start
    std::unique_ptr<uint64_t[]> m_taken; // of m_bytes, by the takes so far; the taker's own
    std::unique_ptr<std::atomic<uint64_t>[]> m_touched; // a bit per slot that has bytes
    std::unique_ptr<std::atomic<uint64_t>[]> m_address; // two halves per listed or IPv6 slot
};
