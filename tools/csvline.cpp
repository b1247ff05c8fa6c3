#include "csvline.h"

#include "meter/fapmeter.h"
#include "meter/formats.h"
#include "meter/trafficstats.h"

#include <QStringList>

#include <cmath>

const char csvHeader[] =
    "tick,time,down,up,packets,used,limit,restriction,remaining,level_percent,bytes_to_throttle,"
    "bytes_to_cutoff,full_recovery,time_to_throttle,time_to_cutoff,trend,avg_down,inst_down,avg_up,"
    "inst_up,downloaded_total,uploaded_total,packets_received,packets_sent,mean_packet_size";

namespace {


// A fraction in plain decimal notation (no exponent, no grouping) with at least `significant`
// significant digits, so the stored value can be read back exactly.
QString plainDecimal(double value, int significant)
{
    if (value == 0.0 || !std::isfinite(value))
        return QString::number(value);
    const int magnitude = int(std::floor(std::log10(std::fabs(value))));
    QString text = QString::number(value, 'f', std::max(0, significant - 1 - magnitude));
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text;
}

QString singlePrecision(float value)
{
    return plainDecimal(value, 9);
}

QString trendText(LevelTrend trend)
{
    switch (trend) {
    case LevelTrend::Rising:
        return QStringLiteral("rising");
    case LevelTrend::Falling:
        return QStringLiteral("falling");
    case LevelTrend::Steady:
        break;
    }
    return QStringLiteral("steady");
}

} // namespace

QByteArray csvLine(const CsvTick &tick)
{
    const FapMeter &meter = tick.meter;
    const TrafficStats &stats = tick.stats;
    const TrafficCounters &counters = tick.counters;
    const QStringList fields{
        QString::number(tick.tick),
        tick.moment.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")),
        QString::number(tick.taken.downloadBytes),
        QString::number(tick.taken.uploadBytes),
        QString::number(tick.taken.packets),
        QString::number(meter.usedBytes()),
        QString::number(meter.activeLimit()),
        restrictionText(meter.restriction()),
        QString::number(meter.remaining()),
        QString::number(meter.levelPercent()),
        QString::number(meter.bytesToThrottle()),
        plainDecimal(meter.bytesToCutOff(), 17),
        formatDuration(meter.fullRecoverySeconds()),
        formatDuration(meter.secondsToThrottle()),
        formatDuration(meter.secondsToCutOff()),
        trendText(meter.trend()),
        singlePrecision(stats.averageDownload),
        QString::number(stats.instantDownload),
        singlePrecision(stats.averageUpload),
        singlePrecision(stats.instantUpload),
        QString::number(counters.downloadedTotal.load()),
        QString::number(counters.uploadedTotal.load()),
        QString::number(counters.downloadPackets.load()),
        QString::number(counters.uploadPackets.load()),
        singlePrecision(counters.meanPacketSize.load()),
    };
    return fields.join(u',').toUtf8();
}
