#include "programs/flowtable.h"

#include <algorithm>

FlowRing::FlowRing()
    : m_records(new FlowBytes[capacity])
{
}

void LocalAddresses::assign(const std::vector<FlowAddress> &addresses)
{
    const std::lock_guard lock(m_mutex);
    if (addresses == m_addresses)
        return;
    m_addresses = addresses;
    m_generation.fetch_add(1, std::memory_order_release);
}

uint32_t LocalAddresses::copyTo(FlowAddress *to) const
{
    const std::lock_guard lock(m_mutex);
    const auto count = uint32_t(std::min<size_t>(m_addresses.size(), most));
    std::copy_n(m_addresses.begin(), count, to);
    return count;
}

PendingFlows::PendingFlows(FlowRing &ring, const LocalAddresses &local)
    : m_ring(ring)
    , m_local(local)
    , m_places(new Place[size_t(sets) * ways])
    , m_touched(new uint32_t[size_t(sets) * ways])
    , m_last(&m_places[0])
{
}

void PendingFlows::takeLocalAddresses()
{
    // Read the generation first: a change during the copy is taken again at the next frame.
    m_localGeneration = m_local.generation();
    m_localCount = m_local.copyTo(m_localAddresses.data());
}

void PendingFlows::flush() noexcept
{
    for (uint32_t i = 0; i < m_touchedCount; ++i) {
        Place &place = m_places[m_touched[i]];
        if (place.download != 0 || place.upload != 0)
            m_ring.push({place.key, place.download, place.upload});
        place.download = place.upload = 0;
        place.touched = false;
    }
    m_touchedCount = 0;
    // Batch numbers only order the places; at the wrap every place is as old as the others.
    if (++m_batch == 0) {
        for (uint32_t i = 0; i < sets * ways; ++i)
            m_places[i].lastBatch = std::min(m_places[i].lastBatch, 1u);
        m_batch = 2;
    }
}
