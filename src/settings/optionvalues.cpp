#include "settings/optionvalues.h"

#include "settings/appsettings.h"
#include "settings/profile.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace {

constexpr double msecsPerDay = 86400000.0;
constexpr int32_t int32Max = std::numeric_limits<int32_t>::max();
constexpr int32_t int32Min = std::numeric_limits<int32_t>::min();

NumberReading notANumber()
{
    return {NumberReading::Outcome::NotANumber, 0, QString()};
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
        return notANumber();
    const double product = *value * unitBytes; // exact: the units are powers of two
    const double bytes = rounding == Rounding::Truncate ? std::trunc(product) : std::floor(product);
    if (*value < 0 || bytes > int32Max) {
        const double limit = (double(int32Max) + 1) / unitBytes;
        return outOfRange(QStringLiteral("0 or more and less than %1").arg(ProfileValue::formatFloat(limit)));
    }
    return {NumberReading::Outcome::Read, static_cast<int32_t>(bytes), QString()};
}

QString decimalForBytes(int32_t bytes, int32_t unitBytes, Rounding rounding)
{
    const double value = double(bytes) / unitBytes;
    const QString point = QLocale().decimalPoint();
    // Every text from `value` up to the next byte reads back as `bytes`. A byte is more than
    // 1e-7 MB, so seven decimals rounded up always land there; rounded to the nearest, fewer may.
    for (int decimals = 0; decimals <= 7; ++decimals) {
        const double scale = std::pow(10.0, decimals);
        for (const double candidate : {value, std::ceil(value * scale) / scale}) {
            QString text = QString::number(candidate, 'f', decimals);
            if (point != u".")
                text.replace(u'.', point);
            const NumberReading reading = bytesFromDecimal(text, unitBytes, rounding);
            if (reading.outcome == NumberReading::Outcome::Read && reading.value == bytes)
                return text;
        }
    }
    return ProfileValue::formatFloat(value);
}

NumberReading wholeNumberTimes(const QString &text, int32_t factor)
{
    const auto value = parseWholeNumber(text);
    if (!value)
        return notANumber();
    const int64_t product = int64_t(*value) * factor;
    if (product > int32Max || product < int32Min)
        return outOfRange(QStringLiteral("from %1 to %2").arg(int32Min / factor).arg(int32Max / factor));
    return {NumberReading::Outcome::Read, static_cast<int32_t>(product), QString()};
}

OptionsReadBack readBackOptions(const OptionTexts &texts, AppSettings &settings)
{
    OptionsReadBack result;
    // Takes one reading into its field; true when the reading ends the read-back.
    const auto stopsAt = [&result](const NumberReading &reading, std::optional<int32_t> &field, QStringView caption) {
        switch (reading.outcome) {
        case NumberReading::Outcome::Read:
            field = reading.value;
            return false;
        case NumberReading::Outcome::NotANumber:
            result.stop = OptionsReadBack::Stop::NotANumber;
            return true;
        case NumberReading::Outcome::OutOfRange:
            result.stop = OptionsReadBack::Stop::OutOfRange;
            result.message = QStringLiteral("The value of \"%1\" must be %2.").arg(caption, reading.allowed);
            return true;
        }
        return true;
    };
    constexpr int32_t kb = 1024;
    constexpr int32_t mb = 1048576;
    OptionValues &v = result.values;

    const bool planStopped =
        stopsAt(bytesFromDecimal(texts.rechargeRate, kb, Rounding::Truncate), v.rechargeRate,
                u"FAP recharge rate in KB/s")
        || stopsAt(bytesFromDecimal(texts.cutOffLimit, mb, Rounding::Truncate), v.cutOffLimit,
                   u"Cut off limit in MB")
        || stopsAt(bytesFromDecimal(texts.usedBytes, mb, Rounding::Truncate), v.usedBytes,
                   u"Cumulative download in MB")
        || stopsAt(bytesFromDecimal(texts.offPeakCutOffLimit, mb, Rounding::Truncate), v.offPeakCutOffLimit,
                   u"Off peak cut off limit in MB")
        || stopsAt(bytesFromDecimal(texts.throttleLimit, mb, Rounding::Floor), v.throttleLimit,
                   u"Throttle limit in MB");
    if (!planStopped) {
        v.pingHost = texts.pingHost;
        // The last boxes: whichever stops, `result` already says so.
        (void)(stopsAt(wholeNumberTimes(texts.pingTimeout, 1000), v.pingTimeoutMs, u"Timeout ( sec )")
               || stopsAt(wholeNumberTimes(texts.pingTtl, 1), v.pingTtl, u"TTL ( ping packet time to live )")
               || stopsAt(wholeNumberTimes(texts.pingPacketSize, 1), v.pingPacketSize, u"Packet size"));
    }
    // A box out of range refuses the whole confirmation, the boxes before it too.
    if (result.stop != OptionsReadBack::Stop::OutOfRange)
        takeValues(v, settings);
    return result;
}
