#include "meter/hostcounters.h"

HostCounters::HostCounters()
    : m_bytes(new std::atomic<uint64_t>[slotCount]())
    , m_taken(new uint64_t[slotCount]())
    , m_touched(new std::atomic<uint64_t>[slotCount / 64]())
    , m_address(new std::atomic<uint64_t>[2 * (slotCount - subnetSlots)]())
{
}

void HostCounters::addUnmarked(uint32_t slot, HostAddress address, uint64_t bytes) noexcept
{
    if (slot >= subnetSlots) {
        m_address[2 * (slot - subnetSlots)].store(address.high, std::memory_order_relaxed);
        m_address[2 * (slot - subnetSlots) + 1].store(address.low, std::memory_order_relaxed);
    }
    m_bytes[slot].store(m_bytes[slot].load(std::memory_order_relaxed) + bytes, std::memory_order_relaxed);
}
