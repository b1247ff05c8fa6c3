#include "meter/providerfigure.h"

#include "meter/plantext.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>

std::optional<int32_t> levelFromProvider(const ProviderFigure &figure, int32_t limit)
{
    constexpr double largest = std::numeric_limits<int32_t>::max();
    if (!(figure.value >= 0) || !std::isfinite(figure.value))
        return std::nullopt;
    double level = 0;
    switch (figure.kind) {
    case ProviderFigure::Kind::LevelBytes:
        level = std::floor(figure.value);
        break;
    case ProviderFigure::Kind::RemainingBytes:
        level = double(limit) - std::floor(figure.value);
        break;
    case ProviderFigure::Kind::RemainingPercent:
        if (figure.value > 100 || limit <= 0)
            return std::nullopt;
        level = double(limit) - std::round(double(limit) * figure.value / 100.0);
        break;
    }
    if (level > largest)
        return std::nullopt;
    return int32_t(std::max(level, 0.0));
}

std::optional<ProviderFigure> parseProviderFigure(const QString &text, bool level)
{
    const ProviderFigure::Kind bytes = level ? ProviderFigure::Kind::LevelBytes : ProviderFigure::Kind::RemainingBytes;
    static const QRegularExpression percent(QStringLiteral("^\\s*(\\d+(?:\\.\\d+)?)\\s*%\\s*$"));
    static const QRegularExpression zero(QStringLiteral("^\\s*0+(?:\\.0+)?\\s*([kmgt]?b)?\\s*$"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch match = percent.match(text); match.hasMatch()) {
        if (level)
            return std::nullopt;
        return ProviderFigure{ProviderFigure::Kind::RemainingPercent, match.captured(1).toDouble()};
    }
    if (zero.match(text).hasMatch())
        return ProviderFigure{bytes, 0};
    if (const auto count = parseByteCount(text))
        return ProviderFigure{bytes, double(*count)};
    return std::nullopt;
}

namespace {
const char *const kindWords[] = {"remaining", "percent", "level"};
} // namespace

QByteArray setBucketArgument(const ProviderFigure &figure)
{
    return QByteArray(kindWords[int(figure.kind)]) + ' ' + QByteArray::number(figure.value, 'f', 3);
}

std::optional<ProviderFigure> figureFromSetBucketArgument(const QByteArray &argument)
{
    const QList<QByteArray> words = argument.simplified().split(' ');
    if (words.size() != 2)
        return std::nullopt;
    const auto kind = std::find(std::begin(kindWords), std::end(kindWords), words[0]);
    bool ok = false;
    const double value = words[1].toDouble(&ok);
    if (kind == std::end(kindWords) || !ok)
        return std::nullopt;
    return ProviderFigure{ProviderFigure::Kind(kind - std::begin(kindWords)), value};
}

std::optional<double> driftBytesPerDay(std::span<const BucketCorrection> corrections)
{
    if (corrections.size() < 2)
        return std::nullopt;
    const int64_t seconds = corrections.back().utcSeconds - corrections.front().utcSeconds;
    if (seconds <= 0)
        return std::nullopt;
    double gained = 0;
    for (const BucketCorrection &correction : corrections.subspan(1))
        gained += double(correction.tarvoLevel - correction.providerLevel);
    return gained * 86400.0 / double(seconds);
}
