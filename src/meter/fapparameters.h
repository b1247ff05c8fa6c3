#pragma once

#include <cstdint>

// The plan's bucket parameters, as the user set them; byte quantities are 32-bit like the
// provider's own counters.
struct FapParameters
{
    int32_t rechargeRate = 4096;            // bytes per second
    int32_t cutOffLimit = 96888422;         // bytes
    int32_t throttleLimit = 64592281;       // bytes
    bool offPeakEnabled = false;
    int32_t offPeakCutOffLimit = 267386880; // bytes
    double offPeakStart = 0.0;              // date-times; only the time of day counts
    double offPeakEnd = 0.0;
};
