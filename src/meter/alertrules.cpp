#include "meter/alertrules.h"

#include "meter/formats.h"

#include <algorithm>

const std::array<AlertKindCommand, 8> alertKindCommands{{
    {Alert::Kind::Step, u"step", u"StepCommand", &AlertConfig::stepCommand},
    {Alert::Kind::Warning, u"warning", u"WarningCommand", &AlertConfig::warningCommand},
    {Alert::Kind::Throttled, u"throttled", u"ThrottledCommand", &AlertConfig::throttledCommand},
    {Alert::Kind::CutOff, u"cut_off", u"CutOffCommand", &AlertConfig::cutOffCommand},
    {Alert::Kind::Recovered, u"recovered", u"RecoveredCommand", &AlertConfig::recoveredCommand},
    {Alert::Kind::CutOffReleased, u"cut_off_released", u"CutOffReleasedCommand", &AlertConfig::cutOffReleasedCommand},
    {Alert::Kind::CaptureStopped, u"capture_stopped", u"CaptureStoppedCommand", &AlertConfig::captureStoppedCommand},
    {Alert::Kind::FramesDropped, u"frames_dropped", u"FramesDroppedCommand", &AlertConfig::framesDroppedCommand},
}};

namespace {
const AlertKindCommand &kindCommand(Alert::Kind kind)
{
    return *std::find_if(alertKindCommands.begin(), alertKindCommands.end(),
                         [kind](const AlertKindCommand &row) { return row.kind == kind; });
}
} // namespace

QString alertCommandLine(const AlertConfig &config, Alert::Kind kind)
{
    const QString &own = config.*kindCommand(kind).command;
    return own.trimmed().isEmpty() ? config.command.trimmed() : own.trimmed();
}

QStringView alertKindName(Alert::Kind kind)
{
    return kindCommand(kind).name;
}

AlertReading alertReading(const QDateTime &now, const FapMeter &meter)
{
    AlertReading reading;
    reading.now = now;
    reading.restriction = meter.restriction();
    reading.throttleLimit = meter.parameters().throttleLimit;
    reading.usedBytes = int64_t(reading.throttleLimit) - meter.bytesToThrottle();
    reading.bytesToCutOff = meter.bytesToCutOff();
    reading.secondsToThrottle = meter.secondsToThrottle();
    reading.secondsToCutOff = meter.secondsToCutOff();
    reading.fullRecoverySeconds = meter.fullRecoverySeconds();
    reading.netRate = meter.netRate();
    return reading;
}

std::optional<int64_t> ticksToThrottle(const AlertReading &reading)
{
    const int64_t left = int64_t(reading.throttleLimit) - reading.usedBytes;
    if (left < 0 || reading.netRate >= 0)
        return std::nullopt;
    // At the throttle limit exactly is not above it: one tick more.
    return left / -reading.netRate + 1;
}

AlertRules::AlertRules(AlertConfig config, QLocale locale)
    : m_config(std::move(config))
    , m_locale(std::move(locale))
{
}

void AlertRules::setConfig(const AlertConfig &config)
{
    // The new steps up to the one last announced count as announced.
    const int announcedPercent = m_announcedStep >= 0 ? m_config.stepsPercent[m_announcedStep] : 0;
    m_config = config;
    m_announcedStep = stepAt(announcedPercent);
}

int AlertRules::stepAt(double percent) const
{
    const auto &steps = m_config.stepsPercent;
    const auto above = std::upper_bound(steps.begin(), steps.end(), percent,
                                        [](double value, int step) { return value < double(step); });
    return int(above - steps.begin()) - 1;
}

QString AlertRules::clockTime(const QDateTime &now, int64_t seconds) const
{
    const QDateTime start = now.toLocalTime();
    const QDateTime moment = start.addSecs(seconds);
    // Another day than today names its weekday.
    return m_locale.toString(moment, moment.date() == start.date() ? QStringLiteral("HH:mm")
                                                                    : QStringLiteral("ddd HH:mm"));
}

QList<Alert> AlertRules::tick(const AlertReading &reading)
{
    QList<Alert> alerts;
    const int64_t margin = std::max<int64_t>(1, int64_t(rearmFraction * reading.throttleLimit));
    followCapture(reading, alerts);
    followLevel(reading, margin, alerts);
    followRestriction(reading, margin, alerts);
    if (!m_config.enabled)
        alerts.clear();
    return alerts;
}

void AlertRules::followCapture(const AlertReading &reading, QList<Alert> &alerts)
{
    if (reading.captureStopped) {
        m_runTicks = 0;
        if (!m_stopTold) {
            m_stopTold = true;
            alerts.append({Alert::Kind::CaptureStopped, tr("Capture stopped"),
                           tr("%1. Downloads are not counted until it is back.").arg(reading.captureMessage)});
        }
    } else if (m_stopTold && ++m_runTicks >= captureRunTicks) {
        m_stopTold = false;
    }

    if (reading.droppedFrames > m_dropped) {
        if (m_quietTicks >= dropQuietTicks)
            alerts.append({Alert::Kind::FramesDropped, tr("Frames dropped"),
                           tr("Frames dropped by the capture: %1. The bucket misses their bytes.")
                               .arg(formatCountOrZero(double(reading.droppedFrames), m_locale))});
        m_quietTicks = 0;
    } else if (m_quietTicks < dropQuietTicks) {
        ++m_quietTicks;
    }
    m_dropped = reading.droppedFrames; // a new capture counts from 0 again
}

void AlertRules::followLevel(const AlertReading &reading, int64_t margin, QList<Alert> &alerts)
{
    const double percent =
        reading.throttleLimit > 0 ? 100.0 * double(reading.usedBytes) / double(reading.throttleLimit) : 0.0;
    const double rearmPercent = 100.0 * rearmFraction;
    while (m_announcedStep >= 0 && percent < m_config.stepsPercent[m_announcedStep] - rearmPercent)
        --m_announcedStep;
    const bool below = reading.restriction == Restriction::None && !m_throttled;
    const QString toThrottle = formatCountOrZero(double(reading.throttleLimit - reading.usedBytes), m_locale);

    const int step = stepAt(percent);
    if (step > m_announcedStep) {
        // Past the throttle the steps are old news.
        if (below) {
            const QString body =
                reading.secondsToThrottle
                    ? tr("%1 bytes to throttle, %2 at the current speed.").arg(toThrottle, formatDuration(reading.secondsToThrottle))
                    : tr("%1 bytes to throttle.").arg(toThrottle);
            alerts.append({Alert::Kind::Step, tr("%1 % of the way to the throttle limit").arg(m_config.stepsPercent[step]), body});
        }
        m_announcedStep = step;
    }

    if (m_warned && reading.usedBytes < m_warnedUsed - margin)
        m_warned = false;
    const int64_t warnSeconds = int64_t(m_config.warnMinutes) * 60;
    const std::optional<int64_t> soon = ticksToThrottle(reading);
    m_soonTicks = below && soon && *soon <= warnSeconds ? m_soonTicks + 1 : 0;
    if (!m_warned && m_soonTicks >= warnHoldTicks) {
        m_warned = true;
        m_warnedUsed = reading.usedBytes;
        const int64_t minutes = (*soon + 59) / 60;
        // Two whole sentences rather than a plural form: the English one must read right with no
        // translation loaded.
        const QString body =
            minutes == 1 ? tr("At the current speed you will be throttled in %1 minute (at about %2): %3 bytes to throttle.")
                         : tr("At the current speed you will be throttled in %1 minutes (at about %2): %3 bytes to throttle.");
        alerts.append({Alert::Kind::Warning, tr("Throttled soon"),
                       namingTopProgram(body.arg(minutes).arg(clockTime(reading.now, *soon), toThrottle), reading)});
    }
}

QString AlertRules::namingTopProgram(const QString &body, const AlertReading &reading) const
{
    return reading.topProgram.isEmpty() ? body : tr("%1 Downloaded most in the last hour: %2.").arg(body, reading.topProgram);
}

void AlertRules::followRestriction(const AlertReading &reading, int64_t margin, QList<Alert> &alerts)
{
    const bool recovered = reading.usedBytes <= int64_t(reading.throttleLimit) - margin || reading.usedBytes <= 0;
    const bool cutOff = reading.restriction == Restriction::CutOff;
    if (cutOff && !m_cutOff) {
        m_throttled = true;
        m_warned = true;
        const QString until = reading.secondsToCutOff ? clockTime(reading.now, *reading.secondsToCutOff) : QString();
        const QString full = reading.fullRecoverySeconds ? clockTime(reading.now, *reading.fullRecoverySeconds) : QString();
        QString body = tr("Cut off.");
        if (reading.secondsToCutOff && reading.fullRecoverySeconds)
            body = tr("Cut off until about %1; full recovery at about %2.").arg(until, full);
        else if (reading.secondsToCutOff)
            body = tr("Cut off until about %1.").arg(until);
        else if (reading.fullRecoverySeconds)
            body = tr("full recovery at about %1.").arg(full);
        alerts.append({Alert::Kind::CutOff, tr("Cut off"), body, true});
    } else if (!cutOff && m_cutOff) {
        QString body;
        if (reading.restriction == Restriction::Throttled) {
            body = reading.secondsToThrottle
                       ? tr("Still throttled until about %1.").arg(clockTime(reading.now, *reading.secondsToThrottle))
                       : tr("Still throttled.");
        } else if (recovered) {
            // One alert for both: the throttle is over too.
            m_throttled = false;
            m_warned = false;
            body = tr("Below the throttle limit again: %1 bytes to throttle.")
                       .arg(formatCountOrZero(double(reading.throttleLimit - reading.usedBytes), m_locale));
        } else {
            body = tr("Downloads run again.");
        }
        alerts.append({Alert::Kind::CutOffReleased, tr("Cut-off released"), body});
    }
    m_cutOff = cutOff;

    if (reading.restriction == Restriction::Throttled && !m_throttled) {
        m_throttled = true;
        m_warned = true;
        const QString toCutOff = formatCountOrZero(double(reading.bytesToCutOff), m_locale);
        const QString body =
            reading.secondsToThrottle
                ? tr("%1 bytes to cut off; below the throttle limit again at about %2.")
                      .arg(toCutOff, clockTime(reading.now, *reading.secondsToThrottle))
                : tr("%1 bytes to cut off.").arg(toCutOff);
        alerts.append({Alert::Kind::Throttled, tr("Throttled"), namingTopProgram(body, reading)});
    } else if (reading.restriction == Restriction::None && m_throttled && recovered) {
        m_throttled = false;
        m_warned = false;
        alerts.append({Alert::Kind::Recovered, tr("No longer throttled"),
                       tr("Below the throttle limit again: %1 bytes to throttle.")
                           .arg(formatCountOrZero(double(reading.throttleLimit - reading.usedBytes), m_locale))});
    }
}
