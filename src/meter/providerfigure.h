#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>

// A figure from the provider's own meter, which the bucket is set to when Tarvo's count has drifted.
struct ProviderFigure
{
    enum class Kind { RemainingBytes, RemainingPercent, LevelBytes };
    Kind kind = Kind::RemainingBytes;
    double value = 0; // bytes, or percent of the limit in force
};

// The bucket level the figure stands for under the cut-off limit in force, as the monitor's "left"
// reads it: left = limit - level. A remaining allowance above the limit is an empty bucket. None for
// a negative figure, a percentage above 100, a level beyond what the bucket holds, or a limit of 0
// with a percentage.
std::optional<int32_t> levelFromProvider(const ProviderFigure &figure, int32_t limit);

// "BYTES" (units as for a plan's size: 3GB, 500MB; 0 allowed) or "N%" of the remaining allowance,
// or the bucket level in bytes when `level` is set (then no %). None for anything else.
std::optional<ProviderFigure> parseProviderFigure(const QString &text, bool level);

// The figure on the running program's socket, after "set-bucket ": "remaining|percent|level VALUE".
QByteArray setBucketArgument(const ProviderFigure &figure);
std::optional<ProviderFigure> figureFromSetBucketArgument(const QByteArray &argument);

// One setting of the bucket from the provider's figure, as the usage history keeps it.
struct BucketCorrection
{
    int64_t utcSeconds = 0;   // when
    int64_t tarvoLevel = 0;   // Tarvo's level just before
    int64_t providerLevel = 0; // the level the provider's figure stood for
};

// How far Tarvo's count runs ahead of the provider's (positive) or behind it (negative), in bytes
// a day, averaged over the corrections in time order: each one after the first shows what Tarvo
// gained on the provider since the one before, when the two were equal. None with fewer than two,
// or when they all fall in the same second.
std::optional<double> driftBytesPerDay(std::span<const BucketCorrection> corrections);
