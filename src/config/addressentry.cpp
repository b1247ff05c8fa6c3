#include "config/addressentry.h"

namespace {

std::optional<qint32> wholeNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    const QStringView rest = QStringView(text).mid(i);
    if (rest.isEmpty())
        return std::nullopt;
    // Digits after an optional sign, nothing else; toInt alone would also take blanks at the end.
    const qsizetype digitsFrom = (rest[0] == u'+' || rest[0] == u'-') ? 1 : 0;
    if (digitsFrom == rest.size())
        return std::nullopt;
    for (qsizetype k = digitsFrom; k < rest.size(); ++k) {
        if (rest[k] < u'0' || rest[k] > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const qint32 value = rest.toInt(&ok, 10);
    return ok ? std::optional<qint32>(value) : std::nullopt;
}

} // namespace

std::optional<QString> addressFromBoxes(AddressBoxes &boxes)
{
    for (QString &box : boxes) {
        const auto value = wholeNumber(box);
        if (!value)
            return std::nullopt;
        box = QString::number(*value);
    }
    return boxes[0] + u'.' + boxes[1] + u'.' + boxes[2] + u'.' + boxes[3];
}
