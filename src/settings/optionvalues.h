#pragma once

#include <QList>
#include <QString>
#include <QTime>

#include <cstdint>
#include <optional>

// How the options window shows and reads back its boxes. Decimals are read in the user's locale
// as the settings file writes floats (ProfileValue::parseFloat) and shown with the fewest digits
// that read back to the same bytes: 96888422 bytes show as "92.4" MB.

// Leading blanks, an optional sign and decimal digits (ASCII or the locale's own), in 32 bits:
// "010" is 10, "+7" is 7; nothing for "", "1 ", "2.5", "0x10" or a number that does not fit.
std::optional<int32_t> parseWholeNumber(QStringView text);

// A date-time (days since 30 December 1899) and its time of day, for the time-of-day pickers.
// The time of day is value - floor(value), as the bucket reads it, before 1899 too.
QTime timeOfDay(double dateTime);
// `dateTime` with its time of day replaced by `time`; the day stays.
double withTimeOfDay(double dateTime, QTime time);

// One box read back as a 32-bit number, or why not.
struct NumberReading
{
    enum class Outcome { Read, NotANumber, OutOfRange };
    Outcome outcome = Outcome::Read;
    int32_t value = 0;
    QString allowed; // unless Read: what the box may hold, for the message
};

enum class Rounding { Truncate, Floor };

// A decimal box in units of `unitBytes` (1024 or 1048576) read back as whole bytes. The product
// is rounded as asked; a value below 0, or one whose bytes do not fit 32 bits (2048 MB,
// 2097152 KB/s and above), is out of range rather than wrapped.
NumberReading bytesFromDecimal(const QString &text, int32_t unitBytes, Rounding rounding);

// The shortest decimal of `bytes` in units of `unitBytes` that bytesFromDecimal with `rounding`
// reads back to the same bytes: 64592281 bytes are "61.6" MB, not "61.5999994277954".
QString decimalFromBytes(int64_t bytes, int32_t unitBytes, Rounding rounding);

// A whole-number box from `lowest` to `highest` as typed, times `factor` (1, or 1000 for seconds
// to milliseconds); a product that does not fit 32 bits is out of range rather than wrapped.
NumberReading wholeNumberTimes(const QString &text, int32_t factor, int32_t lowest, int32_t highest);

struct AppSettings;

// The boxes the confirmation reads, in the order it reads them: the "Direcway settings" tab's,
// then those of "Cosmetic and others", then the alert steps.
enum class OptionBox {
    None,
    RechargeRate,
    CutOffLimit,
    UsedBytes,
    OffPeakCutOffLimit,
    ThrottleLimit,
    PingTimeout,
    PingTtl,
    PingPacketSize,
    ChartHistory,
    AlertSteps,
};

// The texts of those boxes.
struct OptionTexts
{
    QString rechargeRate;       // KB/s
    QString cutOffLimit;        // MB
    QString usedBytes;          // MB
    QString offPeakCutOffLimit; // MB
    QString throttleLimit;      // MB
    QString pingHost;
    QString pingTimeout;        // seconds
    QString pingTtl;
    QString pingPacketSize;     // bytes
    QString chartHistory;       // seconds
    QString alertSteps;         // "75,90"
};

// The values read back; each is set only when it was reached and read.
struct OptionValues
{
    std::optional<int32_t> rechargeRate;
    std::optional<int32_t> cutOffLimit;
    std::optional<int32_t> usedBytes;
    std::optional<int32_t> offPeakCutOffLimit;
    std::optional<int32_t> throttleLimit;
    std::optional<QString> pingHost;
    std::optional<int32_t> pingTimeoutMs;
    std::optional<int32_t> pingTtl;
    std::optional<int32_t> pingPacketSize;
    std::optional<int32_t> chartHistorySeconds;
    std::optional<QList<int>> alertSteps;

    // The four boxes of the bucket were all read: its plan and its level are taken together.
    bool bucketRead() const { return offPeakCutOffLimit.has_value(); }
};

struct OptionsReadBack
{
    enum class Stop { None, NotANumber, OutOfRange };
    OptionValues values;
    Stop stop = Stop::None;
    OptionBox box = OptionBox::None; // the box that stopped it
    QString message;                 // names that box and what it may hold
};

// Reads the boxes in order and stops at the first one that fails: then nothing at all is taken,
// and the caller shows the message and puts the focus on the box. Otherwise every value goes into
// `settings`. A cut-off limit below the throttle limit fails at the cut-off box. The level of
// "Cumulative download in MB" is the bucket's, not a setting: it is only in the values.
OptionsReadBack readBackOptions(const OptionTexts &texts, AppSettings &settings);
