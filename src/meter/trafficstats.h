#pragma once

#include <cstdint>

// The four speed figures of the monitor, moved once a second by the meter tick. Idle seconds
// leave them as they were, so the averages are averages over active seconds only.
struct TrafficStats
{
    float averageDownload = 0.0f; // bytes per second
    int32_t instantDownload = 0;  // bytes per second
    float averageUpload = 0.0f;   // bytes per second
    float instantUpload = 0.0f;   // bytes per second

    // One second with `downloadBytes` down and `uploadBytes` up.
    void tick(int32_t downloadBytes, int32_t uploadBytes) noexcept;
    void reset() noexcept;
};
