#include "settings/optionvalues.h"

#include "settings/alertsteps.h"
#include "settings/appsettings.h"
#include "settings/profile.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double msecsPerDay = 86400000.0;
constexpr int32_t int32Max = std::numeric_limits<int32_t>::max();
constexpr int32_t int32Min = std::numeric_limits<int32_t>::min();

NumberReading notANumber(QString allowed)
{
    return {NumberReading::Outcome::NotANumber, 0, std::move(allowed)};
}

NumberReading outOfRange(QString allowed)
{
    return {NumberReading::Outcome::OutOfRange, 0, std::move(allowed)};
}

// A box the confirmation got to: its value replaces the setting.
template<typename T>
void takeIf(T &setting, const std::optional<T> &value)
{
    if (value)
        setting = *value;
}

void takeValues(const OptionValues &values, AppSettings &settings)
{
    FapParameters &fap = settings.fap;
    takeIf(fap.rechargeRate, values.rechargeRate);
    takeIf(fap.cutOffLimit, values.cutOffLimit);
    takeIf(fap.offPeakCutOffLimit, values.offPeakCutOffLimit);
    takeIf(fap.throttleLimit, values.throttleLimit);
    takeIf(settings.pingHost, values.pingHost);
    takeIf(settings.pingTimeoutMs, values.pingTimeoutMs);
    takeIf(settings.pingTtl, values.pingTtl);
    takeIf(settings.pingPacketSize, values.pingPacketSize);
    takeIf(settings.chartHistorySeconds, values.chartHistorySeconds);
    takeIf(settings.alerts.stepsPercent, values.alertSteps);
}

} // namespace

std::optional<int32_t> parseWholeNumber(QStringView localText)
{
    const QString ascii = ProfileValue::asciiDigits(localText);
    const QStringView text = ascii;
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    const QStringView rest = text.mid(i);
    // Digits after an optional sign, nothing else; toInt alone would also take blanks at the end.
    const qsizetype digitsFrom = (!rest.isEmpty() && (rest[0] == u'+' || rest[0] == u'-')) ? 1 : 0;
    if (digitsFrom == rest.size())
        return std::nullopt;
    for (qsizetype k = digitsFrom; k < rest.size(); ++k) {
        if (rest[k] < u'0' || rest[k] > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const int32_t value = rest.toInt(&ok, 10);
    return ok ? std::optional<int32_t>(value) : std::nullopt;
}

QTime timeOfDay(double dateTime)
{
    // The bucket's own reading of the off-peak window: value - floor, before 1899 too.
    const double fraction = dateTime - std::floor(dateTime);
    const auto msecs = std::llround(fraction * msecsPerDay);
    // A fraction a hair below 1 rounds to midnight of the next day, which a time cannot hold.
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(std::min<long long>(msecs, msecsPerDay - 1)));
}

double withTimeOfDay(double dateTime, QTime time)
{
    return std::floor(dateTime) + time.msecsSinceStartOfDay() / msecsPerDay;
}

NumberReading bytesFromDecimal(const QString &text, int32_t unitBytes, Rounding rounding)
{
    const auto value = ProfileValue::parseFloat(text);
    if (!value)
        return notANumber(QCoreApplication::translate("OptionValues", "a number"));
    const double product = *value * unitBytes; // exact: the units are powers of two
    const double bytes = rounding == Rounding::Truncate ? std::trunc(product) : std::floor(product);
    if (*value < 0 || bytes > int32Max) {
        const double limit = (double(int32Max) + 1) / unitBytes;
        return outOfRange(QCoreApplication::translate("OptionValues", "0 or more and less than %1").arg(ProfileValue::formatFloat(limit)));
    }
    return {NumberReading::Outcome::Read, static_cast<int32_t>(bytes), QString()};
}

QString decimalFromBytes(int64_t bytes, int32_t unitBytes, Rounding rounding)
{
    const double value = double(bytes) / unitBytes;
    const QString point = QLocale().decimalPoint();
    // Fixed decimals, never an exponent: 1 byte is "0.000001" MB.
    for (int decimals = 0; decimals <= 15; ++decimals) {
        QString text = QString::number(value, 'f', decimals);
        if (point != u".")
            text.replace(u'.', point);
        const NumberReading back = bytesFromDecimal(text, unitBytes, rounding);
        if (back.outcome == NumberReading::Outcome::Read && back.value == bytes)
            return text;
    }
    return ProfileValue::formatFloat(value);
}

NumberReading wholeNumberTimes(const QString &text, int32_t factor, int32_t lowest, int32_t highest)
{
    lowest = std::max(lowest, int32Min / factor);
    highest = std::min(highest, int32Max / factor);
    const auto value = parseWholeNumber(text);
    if (!value)
        return notANumber(QCoreApplication::translate("OptionValues", "a whole number"));
    if (*value < lowest || *value > highest)
        return outOfRange(QCoreApplication::translate("OptionValues", "from %1 to %2").arg(lowest).arg(highest));
    return {NumberReading::Outcome::Read, *value * factor, QString()};
}

OptionsReadBack readBackOptions(const OptionTexts &texts, AppSettings &settings)
{
    OptionsReadBack result;
    // Takes one reading into its field; true when the reading ends the read-back.
    const auto stopsAt = [&result](const NumberReading &reading, auto &field, OptionBox box, QStringView caption) {
        if (reading.outcome == NumberReading::Outcome::Read) {
            field = reading.value;
            return false;
        }
        result.stop = reading.outcome == NumberReading::Outcome::NotANumber ? OptionsReadBack::Stop::NotANumber
                                                                            : OptionsReadBack::Stop::OutOfRange;
        result.box = box;
        result.message = QCoreApplication::translate("OptionValues", "The value of \"%1\" must be %2.").arg(caption, reading.allowed);
        return true;
    };
    constexpr int32_t kb = 1024;
    constexpr int32_t mb = 1048576;
    // The most echo data an IPv4 datagram carries.
    constexpr int32_t largestEcho = 65507;
    OptionValues &v = result.values;

    // The boxes' captions in the contexts of the tabs that show them: one translation, so the
    // message names a box as the user reads it.
    bool stopped =
        stopsAt(bytesFromDecimal(texts.rechargeRate, kb, Rounding::Truncate), v.rechargeRate, OptionBox::RechargeRate,
                QCoreApplication::translate("OptionValues", "FAP recharge rate in KB/s"))
        || stopsAt(bytesFromDecimal(texts.cutOffLimit, mb, Rounding::Truncate), v.cutOffLimit,
                   OptionBox::CutOffLimit, QCoreApplication::translate("PlanTab", "Cut off limit in MB"))
        || stopsAt(bytesFromDecimal(texts.usedBytes, mb, Rounding::Truncate), v.usedBytes, OptionBox::UsedBytes,
                   QCoreApplication::translate("PlanTab", "Cumulative download in MB"))
        || stopsAt(bytesFromDecimal(texts.offPeakCutOffLimit, mb, Rounding::Truncate), v.offPeakCutOffLimit,
                   OptionBox::OffPeakCutOffLimit, QCoreApplication::translate("PlanTab", "Off peak cut off limit in MB"))
        || stopsAt(bytesFromDecimal(texts.throttleLimit, mb, Rounding::Floor), v.throttleLimit,
                   OptionBox::ThrottleLimit, QCoreApplication::translate("PlanTab", "Throttle limit in MB"));
    if (!stopped) {
        v.pingHost = texts.pingHost;
        stopped =
            stopsAt(wholeNumberTimes(texts.pingTimeout, 1000, 1, int32Max), v.pingTimeoutMs, OptionBox::PingTimeout,
                    QCoreApplication::translate("CosmeticTab", "Timeout ( sec )"))
            || stopsAt(wholeNumberTimes(texts.pingTtl, 1, 1, 255), v.pingTtl, OptionBox::PingTtl,
                       QCoreApplication::translate("CosmeticTab", "TTL ( ping packet time to live )"))
            || stopsAt(wholeNumberTimes(texts.pingPacketSize, 1, 0, largestEcho), v.pingPacketSize,
                       OptionBox::PingPacketSize, QCoreApplication::translate("CosmeticTab", "Packet size"))
            || stopsAt(wholeNumberTimes(texts.chartHistory, 1, 1, 86400), v.chartHistorySeconds,
                       OptionBox::ChartHistory, QCoreApplication::translate("CosmeticTab", "History length ( sec )"));
    }
    if (stopped)
        return result;
    v.alertSteps = parseAlertSteps(texts.alertSteps);
    if (!v.alertSteps) {
        result.stop = OptionsReadBack::Stop::NotANumber;
        result.box = OptionBox::AlertSteps;
        result.message = QCoreApplication::translate("OptionValues", "The value of \"At these parts of the way to the throttle limit ( % )\" must be "
                                        "whole percentages from 1 to 99, separated by commas (such as 75,90), or "
                                        "nothing.");
        return result;
    }
    // Cut off before throttled would leave the figures between the two limits meaningless.
    if (*v.cutOffLimit < *v.throttleLimit) {
        result.stop = OptionsReadBack::Stop::OutOfRange;
        result.box = OptionBox::CutOffLimit;
        result.message = QCoreApplication::translate("OptionValues", "The value of \"Cut off limit in MB\" must not be below the \"Throttle limit "
                                        "in MB\".");
        return result;
    }
    takeValues(v, settings);
    return result;
}
