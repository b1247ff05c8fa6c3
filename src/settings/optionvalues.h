#pragma once

#include <QString>
#include <QTime>

#include <cstdint>
#include <optional>

// How the options window reads its boxes back. Decimals are shown and read in the user's locale
// as the settings file writes floats (ProfileValue::formatFloat and parseFloat), with as few
// decimals as read back to the same bytes: 96888422 bytes show as "92.4" MB.

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
    QString allowed; // OutOfRange: the values the box may hold, for the message
};

enum class Rounding { Truncate, Floor };

// A decimal box in units of `unitBytes` (1024 or 1048576) read back as whole bytes. The product
// is rounded as asked; a value below 0, or one whose bytes do not fit 32 bits (2048 MB,
// 2097152 KB/s and above), is out of range rather than wrapped.
NumberReading bytesFromDecimal(const QString &text, int32_t unitBytes, Rounding rounding);

// The shortest decimal text of `bytes` in units of `unitBytes` that bytesFromDecimal reads back
// as `bytes` with the same rounding, in the user's locale: 96888422 bytes in MB are "92.4", not
// "92.3999996185303". A count no box can hold (below 0) is shown in full.
QString decimalForBytes(int32_t bytes, int32_t unitBytes, Rounding rounding);

// A whole-number box times `factor` (1, or 1000 for seconds to milliseconds); a product that
// does not fit 32 bits is out of range rather than wrapped.
NumberReading wholeNumberTimes(const QString &text, int32_t factor);

struct AppSettings;

// The texts of the boxes the confirmation reads, in the order it reads them: the "Direcway
// settings" tab's, then the ping boxes of "Cosmetic and others".
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

    // The four boxes of the bucket were all read: its plan and its level are taken together.
    bool bucketRead() const { return offPeakCutOffLimit.has_value(); }
};

struct OptionsReadBack
{
    enum class Stop { None, NotANumber, OutOfRange };
    OptionValues values;
    Stop stop = Stop::None;
    QString message; // OutOfRange: names the box and the values it may hold
};

// Reads the boxes in order and stops at the first one that fails. At a box that holds no
// number the boxes before it are taken into `settings` (the caller ends silently); at a box out
// of range nothing is taken and the caller shows the message. The level of "Cumulative download
// in MB" is the bucket's, not a setting: it is only in the values.
OptionsReadBack readBackOptions(const OptionTexts &texts, AppSettings &settings);
