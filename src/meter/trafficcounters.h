#pragma once

#include <atomic>
#include <cstdint>

// Byte and packet counts written by the capture thread and read by the one-second tick.
// Totals are 64-bit: an always-on monitor passes 2 GiB in hours.
struct TrafficCounters
{
    std::atomic<int64_t> downloadedTotal{0};
    std::atomic<int64_t> uploadedTotal{0};
    std::atomic<int32_t> tickDownloadBytes{0};
    std::atomic<int32_t> tickUploadBytes{0};
    std::atomic<int32_t> tickPackets{0};
    std::atomic<int64_t> downloadPackets{0};
    std::atomic<int64_t> uploadPackets{0};
    std::atomic<float> meanPacketSize{0.0f};

    struct Tick
    {
        int32_t downloadBytes;
        int32_t uploadBytes;
        int32_t packets;
    };

    // The tick's share: each per-tick counter taken and zeroed in one exchange, so a frame
    // counted meanwhile lands in the next tick instead of being lost.
    Tick takeTick() noexcept;

    // The mean frame size moved toward `length` by one frame, in double precision, kept in single.
    static float movedMean(float mean, uint32_t length) noexcept
    {
        return static_cast<float>(double(mean) * 0.999 + double(length) * 0.001);
    }

    // Both reset commands: everything but uploadedTotal back to 0.
    void resetInterface() noexcept;
};
