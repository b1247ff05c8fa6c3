#include "meter/trafficstats.h"

#include <cmath>

void TrafficStats::tick(int32_t downloadBytes, int32_t uploadBytes) noexcept
{
    const double d = downloadBytes;
    if (averageDownload == 0.0f)
        averageDownload = float(d);
    if (downloadBytes != 0) {
        averageDownload = float(0.01 * d + 0.99 * double(averageDownload));
        instantDownload = int32_t(std::trunc(0.1 * d + 0.9 * double(instantDownload)));
    }
    if (uploadBytes != 0) {
        const double p = uploadBytes;
        averageUpload = float(0.99 * double(averageUpload) + 0.01 * p);
        instantUpload = float(0.9 * double(averageUpload) + 0.1 * p);
    }
}

void TrafficStats::reset() noexcept
{
    *this = TrafficStats{};
}
