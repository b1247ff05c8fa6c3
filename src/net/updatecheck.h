#pragma once

#include "net/httpfetch.h"

#include <QDateTime>
#include <QLocale>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

// The files the update check and the offer keep: the reminder with the settings, the page and
// the installer with the downloads (see settings/filelocations.h).
namespace UpdateFiles {

QString reminderPath(const QString &directory);  // "remindin.dat"
QString pagePath(const QString &directory);      // "temp.html"
QString installerPath(const QString &directory); // "Update.exe"

// The first line of a text file, from its first `maxFirstLineBytes` bytes only; none when it
// cannot be read or holds no line.
constexpr qint64 maxFirstLineBytes = 4096;
std::optional<QString> readFirstLine(const QString &path);
// Replaces the file with `lines`, each followed by CR LF. The error text, empty on success.
QString writeLines(const QString &path, const QStringList &lines);

} // namespace UpdateFiles

// Asks the update server once whether a newer version exists, unless the reminder file says not
// to. The request never blocks the thread; the outcome comes through finished() or failed().
class UpdateCheck : public QObject {
    Q_OBJECT

public:
    // `directory` holds the reminder file (with its trailing separator); `host` is the update
    // server, optionally with ":port"; numbers and dates are written in `locale`.
    UpdateCheck(QString directory, QString host, QLocale locale = {}, QObject *parent = nullptr);

    // Starts the check at the moment `now`; a running one is abandoned. `version` is sent as it
    // is written.
    void start(const QString &productName, const QString &version, const QDateTime &now,
               const HttpLimits &limits = {});
    // Ends a running check without a signal (shut-down).
    void abort();
    bool isRunning() const { return m_fetch.isRunning(); }

    // The outcome of the last check; the address and the page keep the last reply's values.
    bool newVersionAvailable() const { return m_newVersionAvailable; }
    QString downloadUrl() const { return m_downloadUrl; }
    QString whatsNew() const { return m_whatsNew; }
    // The digest the installer must have; empty when the server named none.
    QByteArray installerSha256() const { return m_installerSha256; }
    // The product name of the last check that got past the reminder file.
    QString productName() const { return m_productName; }
    // Whether the last start asked the server: false when the reminder file kept it quiet or
    // could not be written.
    bool asked() const { return m_asked; }

Q_SIGNALS:
    void finished(); // no new version (or the reminder kept quiet), or one to offer
    void failed(const QString &error);

private:
    void onReply(const HttpReply &reply);
    void report(const QString &error);

    QString m_directory;
    QString m_host;
    QLocale m_locale;
    HttpFetch m_fetch;
    unsigned m_run = 0;
    bool m_newVersionAvailable = false;
    bool m_asked = false;
    QString m_downloadUrl;
    QString m_whatsNew;
    QByteArray m_installerSha256;
    QString m_productName;
};
