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

    // The mean frame size moved toward `length` by one frame, in double precision, kept in single;
    // unmoved when the frame does not count. The weights 1 and 0 give back the same float, so the
    // choice stays off the chain from one frame's mean to the next, which bounds the capture's pace.
    static float movedMean(float mean, uint32_t length, bool counts = true) noexcept
    {
        static constexpr double keep[2] = {1.0, 0.999}, take[2] = {0.0, 0.001};
        return static_cast<float>(double(mean) * keep[counts] + double(length) * take[counts]);
    }

    // Both reset commands: everything but uploadedTotal back to 0.
    void resetInterface() noexcept;
};
