#include "meter/hostcounters.h"

HostCounters::HostCounters()
    : m_bytes(new std::atomic<uint64_t>[slotCount]())
    , m_touched(new std::atomic<uint64_t>[slotCount / 64]())
    , m_listedAddress(new std::atomic<uint32_t>[listedSlots]())
{
}

void HostCounters::add(uint32_t slot, uint32_t address, uint64_t bytes) noexcept
{
    if (slot >= subnetSlots)
        m_listedAddress[slot - subnetSlots].store(address, std::memory_order_relaxed);
    m_bytes[slot].fetch_add(bytes, std::memory_order_relaxed);
    // Released after the bytes, so a take that sees the bit sees the bytes.
    m_touched[slot / 64].fetch_or(uint64_t(1) << (slot % 64), std::memory_order_release);
}
