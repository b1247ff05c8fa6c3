#pragma once

#include <atomic>
#include <cstdint>

// The provider's bucket of downloaded bytes. usedBytes is shared with the capture thread:
// every read-modify-write of it is one compare-and-swap loop, so no update is lost.
class FapMeter
{
public:
    // Capture thread: a download frame of `bytes` on the wire goes into the bucket.
    void addDownload(uint32_t bytes) noexcept;

    int32_t usedBytes() const noexcept { return m_usedBytes.load(std::memory_order_relaxed); }
    void setUsedBytes(int32_t bytes) noexcept { m_usedBytes.store(bytes, std::memory_order_relaxed); }

    int32_t activeLimit() const noexcept { return m_activeLimit.load(std::memory_order_relaxed); }
    void setActiveLimit(int32_t limit) noexcept { m_activeLimit.store(limit, std::memory_order_relaxed); }

private:
    std::atomic<int32_t> m_usedBytes{0};
    std::atomic<int32_t> m_activeLimit{0};
};
