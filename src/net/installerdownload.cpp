#include "net/installerdownload.h"

#include "net/webrequest.h"
#include "settings/profile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QNetworkProxy>
#include <QTemporaryFile>

#include <utility>

#include <unistd.h>

namespace {
int statusOf(const QNetworkReply &reply)
{
    return reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

// What the reply may hold in memory; the rest waits in the socket until the file has taken it.
constexpr qint64 readBufferBytes = 1024 * 1024;

QString unableToWrite(const QString &path)
{
    return QCoreApplication::translate("InstallerDownload", "Unable to write to %1").arg(QDir::toNativeSeparators(path));
}
} // namespace

InstallerDownload::InstallerDownload(QObject *parent)
    : QObject(parent)
{
    m_manager.setProxy(QNetworkProxy::NoProxy);
    m_inactivity.setSingleShot(true);
    connect(&m_inactivity, &QTimer::timeout, this, [this] {
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(m_limits.inactivity);
        fail(tr("The download stalled: nothing arrived for %1 s").arg(seconds.count()));
    });
}

InstallerDownload::~InstallerDownload() { abort(); }

void InstallerDownload::start(const QUrl &url, const QString &target, const DownloadLimits &limits,
                              const QByteArray &sha256)
{
    abort();
    m_limits = limits;
    m_target = target;
    m_sha256 = sha256;
    m_redirects = 0;
    m_allHttps = true;
    if (!isWebAddress(url)) {
        // Reported after returning, like every other outcome.
        QTimer::singleShot(0, this, [this, url] { Q_EMIT finished({false, tr("Not a web address: %1").arg(url.toDisplayString())}); });
        return;
    }
    m_file = std::make_unique<QTemporaryFile>(target + QStringLiteral(".XXXXXX"));
    if (!m_file->open()) {
        m_file.reset();
        QTimer::singleShot(0, this, [this, target] { Q_EMIT finished({false, unableToWrite(target)}); });
        return;
    }
    send(url);
}

void InstallerDownload::abort()
{
    m_inactivity.stop();
    m_file.reset(); // removes what arrived
    abandonReply(std::exchange(m_reply, nullptr), this);
}

void InstallerDownload::send(const QUrl &url)
{
    m_received = 0;
    m_hash.reset();
    m_allHttps = m_allHttps && url.scheme() == QLatin1String("https");
    m_file->resize(0);
    m_file->seek(0);
    m_inactivity.start(m_limits.inactivity);
    m_reply = m_manager.get(webRequest(url));
    m_reply->setReadBufferSize(readBufferBytes);
    connect(m_reply, &QNetworkReply::readyRead, this, &InstallerDownload::takeBody);
    connect(m_reply, &QNetworkReply::finished, this, &InstallerDownload::onReplyFinished);
}

void InstallerDownload::takeBody()
{
    m_inactivity.start(m_limits.inactivity);
    const QByteArray piece = m_reply->readAll();
    if (isFollowedRedirect(statusOf(*m_reply)))
        return; // a redirect's own body is not the file
    const qint64 announced = m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    if (announced > m_limits.maxBytes || m_received + piece.size() > m_limits.maxBytes) {
        fail(tr("The download is larger than %1 bytes, more than an update can be").arg(m_limits.maxBytes));
        return;
    }
    if (piece.isEmpty())
        return;
    if (m_file->write(piece) != piece.size()) {
        fail(unableToWrite(m_target));
        return;
    }
    m_hash.addData(piece);
    m_received += piece.size();
    Q_EMIT progress(m_received, announced);
}

void InstallerDownload::onReplyFinished()
{
    takeBody();
    if (!m_reply)
        return; // the write failed
    const ReplyStep step = replyStep(*m_reply, m_redirects, m_limits.maxRedirects);
    if (step.kind == ReplyStep::Fail) {
        fail(step.error);
        return;
    }
    if (step.kind == ReplyStep::Follow) {
        ++m_redirects;
        std::exchange(m_reply, nullptr)->deleteLater();
        send(step.target);
        return;
    }
    if (statusOf(*m_reply) >= 299) {
        finish({});
        return;
    }
    if (!bodyComplete()) {
        fail(tr("The connection ended before the whole download arrived"));
        return;
    }
    if (!m_file->flush() || ::fsync(m_file->handle()) != 0 || !renameOver(m_file->fileName(), m_target)) {
        fail(unableToWrite(m_target));
        return;
    }
    m_file->setAutoRemove(false);
    finish({true, {}, m_sha256.isEmpty() ? m_allHttps : m_hash.result() == m_sha256});
}

// Without a length or chunks, a body ends when the connection does, which a dropped connection
// also looks like.
bool InstallerDownload::bodyComplete() const
{
    const QVariant announced = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (announced.isValid())
        return m_received == announced.toLongLong();
    return m_reply->rawHeader("Transfer-Encoding").toLower().contains("chunked");
}

void InstallerDownload::fail(const QString &error)
{
    finish({false, error});
}

void InstallerDownload::finish(DownloadResult result)
{
    abort();
    // Last: a receiver may start the next download or delete this object.
    Q_EMIT finished(result);
}
