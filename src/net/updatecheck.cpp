#include "net/updatecheck.h"

#include "net/updaterules.h"
#include "settings/profile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTimer>

namespace UpdateFiles {

QString reminderPath(const QString &directory) { return directory + QStringLiteral("remindin.dat"); }
QString pagePath(const QString &directory) { return directory + QStringLiteral("temp.html"); }
QString installerPath(const QString &directory) { return directory + QStringLiteral("Update.exe"); }

std::optional<QString> readFirstLine(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Bounded: a device without end (a link to /dev/zero) must not fill the memory.
    const QStringList lines = splitLines(QString::fromUtf8(file.read(maxFirstLineBytes)));
    if (lines.isEmpty())
        return std::nullopt;
    return lines.first();
}

QString writeLines(const QString &path, const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()
        || !syncFolderOf(path))
        return QCoreApplication::translate("UpdateCheck", "Unable to write to %1").arg(QDir::toNativeSeparators(path));
    return {};
}

} // namespace UpdateFiles

UpdateCheck::UpdateCheck(QString directory, QString host, QLocale locale, QObject *parent)
    : QObject(parent)
    , m_directory(std::move(directory))
    , m_host(std::move(host))
    , m_locale(std::move(locale))
{
    connect(&m_fetch, &HttpFetch::finished, this, &UpdateCheck::onReply);
}

void UpdateCheck::start(const QString &productName, const QString &version, const QDateTime &now,
                        const HttpLimits &limits)
{
    abort();
    m_newVersionAvailable = false;
    m_asked = false;
    const QString reminder = UpdateFiles::reminderPath(m_directory);
    switch (reminderGate(UpdateFiles::readFirstLine(reminder), now, m_locale)) {
    case ReminderGate::Skip:
        report({});
        return;
    case ReminderGate::QueryAndReset:
        if (const QString error = UpdateFiles::writeLines(reminder, {QStringLiteral("1")}); !error.isEmpty()) {
            report(error);
            return;
        }
        break;
    case ReminderGate::Query:
        break;
    }
    m_productName = productName;
    m_asked = true;
    m_fetch.get(updateQueryUrl(m_host, productName, version), limits);
}

void UpdateCheck::abort()
{
    ++m_run; // an outcome still to be reported is dropped
    m_fetch.abort();
}

void UpdateCheck::onReply(const HttpReply &reply)
{
    if (reply.failed()) {
        Q_EMIT failed(reply.error);
        return;
    }
    const UpdateReply parsed = parseUpdateReply(reply.body, m_locale);
    if (parsed.newVersionAvailable || !parsed.downloadUrl.isNull())
        m_downloadUrl = parsed.downloadUrl;
    if (!parsed.error.isEmpty()) {
        Q_EMIT failed(parsed.error);
        return;
    }
    if (parsed.newVersionAvailable) {
        m_whatsNew = parsed.whatsNew;
        m_installerSha256 = parsed.installerSha256;
    }
    m_newVersionAvailable = parsed.newVersionAvailable;
    Q_EMIT finished();
}

// An outcome known before any request is reported after returning, like every other one.
void UpdateCheck::report(const QString &error)
{
    QTimer::singleShot(0, this, [this, error, run = m_run] {
        if (run != m_run)
            return;
        if (error.isEmpty())
            Q_EMIT finished();
        else
            Q_EMIT failed(error);
    });
}
