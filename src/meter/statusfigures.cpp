#include "meter/statusfigures.h"

#include "meter/formats.h"
#include "meter/trafficstats.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

QString restrictionKey(Restriction restriction)
{
    switch (restriction) {
    case Restriction::Throttled:
        return QStringLiteral("throttled");
    case Restriction::CutOff:
        return QStringLiteral("cut_off");
    case Restriction::None:
        break;
    }
    return QStringLiteral("none");
}

namespace {

QJsonValue seconds(std::optional<int64_t> value)
{
    return value ? QJsonValue(qint64(*value)) : QJsonValue(QJsonValue::Null);
}

} // namespace

StatusFigures statusFigures(const FapMeter &meter, const TrafficStats &stats, bool monitoring)
{
    return StatusFigures{
        .monitoring = monitoring,
        .restriction = meter.restriction(),
        .percentLeft = meter.levelPercent(),
        .bytesLeft = meter.remaining(),
        .bytesToThrottle = meter.bytesToThrottle(),
        .secondsToThrottle = meter.secondsToThrottle(),
        .secondsToCutOff = meter.secondsToCutOff(),
        .downloadSpeed = std::llround(double(stats.instantDownload)),
        .uploadSpeed = std::llround(double(stats.instantUpload)),
        .idle = meter.idle(),
    };
}

QString statusLine(const StatusFigures &figures, const QLocale &locale)
{
    if (!figures.monitoring)
        return QStringLiteral("not counting yet: the options wait for Ok");
    const QString speed = QStringLiteral(" bytes / s");
    const QString bucket = restrictionText(figures.restriction) + u' ' + QString::number(figures.percentLeft)
                           + QStringLiteral("% | left ") + formatCountOrZero(double(figures.bytesLeft), locale)
                           + QStringLiteral(" bytes | to throttle ") + formatDuration(figures.secondsToThrottle)
                           + QStringLiteral(" | to cut off ") + formatDuration(figures.secondsToCutOff);
    // The monitor holds the last speeds while nothing moves; a line read by a script says so.
    if (figures.idle)
        return bucket + QStringLiteral(" | idle");
    return bucket + QStringLiteral(" | down ") + formatCountOrZero(double(figures.downloadSpeed), locale) + speed
           + QStringLiteral(" | up ") + formatCountOrZero(double(figures.uploadSpeed), locale) + speed;
}

QByteArray statusJson(const StatusFigures &figures, const QLocale &locale, const std::optional<QString> &topProgram)
{
    const QString restriction = restrictionKey(figures.restriction);
    // Before the first Ok there is no level yet: 0 % would read as an empty allowance.
    const QJsonValue percent = figures.monitoring ? QJsonValue(qint64(figures.percentLeft)) : QJsonValue();
    QJsonObject object{
        {QStringLiteral("version"), statusVersion},
        {QStringLiteral("monitoring"), figures.monitoring},
        {QStringLiteral("restriction"), restriction},
        {QStringLiteral("percent_left"), percent},
        {QStringLiteral("bytes_left"), qint64(figures.bytesLeft)},
        {QStringLiteral("bytes_to_throttle"), qint64(figures.bytesToThrottle)},
        {QStringLiteral("seconds_to_throttle"), seconds(figures.secondsToThrottle)},
        {QStringLiteral("seconds_to_cut_off"), seconds(figures.secondsToCutOff)},
        {QStringLiteral("download_bytes_per_second"), qint64(figures.downloadSpeed)},
        {QStringLiteral("upload_bytes_per_second"), qint64(figures.uploadSpeed)},
        {QStringLiteral("text"), statusLine(figures, locale)},
        {QStringLiteral("class"), restriction},
        {QStringLiteral("percentage"), percent},
        {QStringLiteral("idle"), figures.idle},
    };
    if (topProgram)
        object.insert(QStringLiteral("top_program"), topProgram->isEmpty() ? QJsonValue() : QJsonValue(*topProgram));
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}
