#include "meter/fapmeter.h"

void FapMeter::addDownload(uint32_t bytes) noexcept
{
    int32_t old = m_usedBytes.load(std::memory_order_relaxed);
    int32_t next;
    do {
        // The sum wraps like the 32-bit counter it models; a wrapped, negative sum means empty.
        next = static_cast<int32_t>(static_cast<uint32_t>(old) + bytes);
        if (next < 0)
            next = 0;
        const int32_t limit = m_activeLimit.load(std::memory_order_relaxed);
        if (limit < next)
            next = limit;
    } while (!m_usedBytes.compare_exchange_weak(old, next, std::memory_order_relaxed));
}
