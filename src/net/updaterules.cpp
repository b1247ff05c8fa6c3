#include "net/updaterules.h"

#include "meter/oledate.h"
#include "net/webrequest.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <cstdlib>

namespace {

const QString marker = QStringLiteral("$~$");

QString replaceEach(QString text, const QString &search, const QString &replacement)
{
    for (qsizetype at = text.indexOf(search); at >= 0; at = text.indexOf(search, at + replacement.size()))
        text.replace(at, search.size(), replacement);
    return text;
}

// The locale's long time without its time zone, which the locale's own parser cannot read back.
QString timeWithoutZone(const QLocale &locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString kept;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u't')
            kept += c;
    }
    return kept.trimmed();
}

QString reminderFormat(const QLocale &locale, bool fourDigitYear)
{
    QString date = locale.dateFormat(QLocale::ShortFormat);
    if (fourDigitYear && !date.contains(QLatin1String("yyyy")))
        date.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return date + u' ' + timeWithoutZone(locale);
}

// Numbers with the locale's decimal separator and nothing else: "1,1" is no number under a dot.
QLocale plainNumbers(QLocale locale)
{
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

} // namespace

QString stringReplaceAll(QString text, const QString &search, const QString &replacement)
{
    if (search.isEmpty())
        return text;
    return replaceEach(replaceEach(std::move(text), search, marker), marker, replacement);
}

QStringList splitLines(const QString &text)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
    QStringList lines = text.split(lineEnd);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString reminderText(const QDateTime &moment, const QLocale &locale)
{
    return locale.toString(moment, reminderFormat(locale, true));
}

std::optional<QDateTime> readReminderText(const QString &text, const QLocale &locale, const QDate &today)
{
    // Files written by earlier versions hold two-digit years, which Qt reads as 19xx.
    QDateTime moment = locale.toDateTime(text, reminderFormat(locale, false));
    if (moment.isValid()) {
        const int year = moment.date().year();
        const int centuries = (today.year() - year + 50) / 100;
        moment = moment.addYears(100 * centuries);
    } else {
        moment = locale.toDateTime(text, reminderFormat(locale, true));
    }
    if (!moment.isValid())
        return std::nullopt;
    return moment;
}

ReminderGate reminderGate(const std::optional<QString> &firstLine, const QDateTime &now, const QLocale &locale)
{
    if (firstLine == QLatin1String("-1"))
        return ReminderGate::Skip;
    const std::optional<QDateTime> moment =
        firstLine ? readReminderText(*firstLine, locale, now.date()) : std::nullopt;
    if (!moment)
        return ReminderGate::QueryAndReset;
    // A 32-bit difference of local clock readings, wrapping as the counts it was first written for did.
    const auto elapsed =
        qint32(quint32(dateTimeToSeconds(oleDate(now))) - quint32(dateTimeToSeconds(oleDate(*moment))));
    if (elapsed < -reminderSeconds)
        return ReminderGate::QueryAndReset; // no button writes a moment that far ahead
    return elapsed < reminderSeconds ? ReminderGate::Skip : ReminderGate::Query;
}

QUrl updateQueryUrl(const QString &host, const QString &productName, const QString &version)
{
    return QUrl(serverAddress(host) + QStringLiteral("/keyaccess/checkupdate.php?ver=") + version
                + QStringLiteral("&prod=")
                + stringReplaceAll(productName, QStringLiteral(" "), QStringLiteral("%20")));
}

UpdateReply parseUpdateReply(const QByteArray &body, const QLocale &locale)
{
    UpdateReply reply;
    const QStringList lines = splitLines(QString::fromUtf8(body));
    if (lines.isEmpty()) {
        reply.error = QCoreApplication::translate("UpdateCheck", "The update server sent an empty reply");
        return reply;
    }
    if (lines[0] == QLatin1String("0"))
        return reply;
    if (lines.size() < 3) {
        reply.downloadUrl = lines.value(1);
        reply.error = QCoreApplication::translate("UpdateCheck", "The update server's reply has %1 lines, fewer than 3").arg(lines.size());
        return reply;
    }
    reply.downloadUrl = lines[1];
    bool isNumber = false;
    plainNumbers(locale).toDouble(lines[2], &isNumber);
    if (!isNumber) {
        reply.error = QCoreApplication::translate("UpdateCheck", "'%1' is not a valid floating point value").arg(lines[2]);
        return reply;
    }
    qsizetype page = 3;
    static const QRegularExpression digestLine(QStringLiteral("^sha256=([0-9a-fA-F]{64})$"));
    if (const QRegularExpressionMatch digest = digestLine.match(lines.value(page)); digest.hasMatch()) {
        reply.installerSha256 = QByteArray::fromHex(digest.captured(1).toLatin1());
        ++page;
    }
    for (qsizetype i = page; i < lines.size(); ++i)
        reply.whatsNew += lines[i] + QStringLiteral("\r\n");
    reply.newVersionAvailable = true;
    return reply;
}
