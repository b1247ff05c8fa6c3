#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

// The rules of the update check, without files or network: the reminder gate, the question sent
// to the update server and the reading of its answer.

// Replaces every `search` in `text` with `replacement`, through the marker "$~$": first every
// search becomes the marker, then every marker the replacement. Each pass goes on after what it
// just inserted, so a search or replacement that overlaps the marker cannot make it loop.
QString stringReplaceAll(QString text, const QString &search, const QString &replacement);

// Lines ended by CR LF, LF or CR; a line end at the very end adds no empty line.
QStringList splitLines(const QString &text);

// The reminder file's moment: the locale's short date with a four-digit year and its long time
// (without the time zone), so that the same locale reads back what it wrote.
QString reminderText(const QDateTime &moment, const QLocale &locale);
// A two-digit year reads as the nearest such year to `today`. Nothing for a text that is no date.
std::optional<QDateTime> readReminderText(const QString &text, const QLocale &locale, const QDate &today);

// How long "Remind me in 5 days" keeps the check quiet.
constexpr qint32 reminderSeconds = 432000;

enum class ReminderGate {
    Skip,          // "-1", or a reminder less than 5 days old
    Query,         // a reminder 5 days old or older: the file stays as it is
    QueryAndReset, // no file, no first line, or no moment: the file becomes "1"
};
// The gate for the reminder file's first line (none when the file is missing or empty) at the
// moment `now`. A moment more than 5 days ahead counts as no moment.
ReminderGate reminderGate(const std::optional<QString> &firstLine, const QDateTime &now, const QLocale &locale);

// http://host/keyaccess/checkupdate.php?ver=...&prod=... with the version as the about window
// shows it ("1.11") and the product name's spaces as "%20"; a host given with "https://" is asked
// over https.
QUrl updateQueryUrl(const QString &host, const QString &productName, const QString &version);

// The server's answer: "0" on the first line is no offer; otherwise the installer's address, a
// number, optionally the line "sha256=" with the installer's digest in 64 hex digits, and the
// page about the new version.
struct UpdateReply
{
    bool newVersionAvailable = false;
    QString downloadUrl; // may be set even when the reply is refused
    QByteArray installerSha256; // the 32 bytes of the digest line; empty without one
    QString whatsNew;    // the lines after the number (and the digest), each followed by CR LF
    QString error;       // why the reply cannot be read; empty when it can
};
// Whatever the reply's status, its body is read the same way; numbers use the locale.
UpdateReply parseUpdateReply(const QByteArray &body, const QLocale &locale);
