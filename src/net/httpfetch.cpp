#include "net/httpfetch.h"

#include "net/webrequest.h"

#include <QNetworkProxy>

#include <utility>

namespace {
HttpReply failure(QString text)
{
    HttpReply reply;
    reply.error = std::move(text);
    return reply;
}
} // namespace

HttpFetch::HttpFetch(QObject *parent)
    : QObject(parent)
{
    m_manager.setProxy(QNetworkProxy::NoProxy);
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(m_limits.deadline);
        finish(failure(tr("The server did not answer in time (%1 s)").arg(seconds.count())));
    });
}

HttpFetch::~HttpFetch() { abort(); }

void HttpFetch::get(const QUrl &url, const HttpLimits &limits)
{
    abort();
    m_limits = limits;
    m_redirects = 0;
    if (!isWebAddress(url)) {
        // Reported after returning, like every other outcome.
        QTimer::singleShot(0, this, [this, url] {
            Q_EMIT finished(failure(tr("Not a web address: %1").arg(url.toDisplayString())));
        });
        return;
    }
    m_deadline.start(m_limits.deadline);
    send(url);
}

void HttpFetch::abort()
{
    m_deadline.stop();
    m_body.clear();
    abandonReply(std::exchange(m_reply, nullptr), this);
}

void HttpFetch::send(const QUrl &url)
{
    m_body.clear();
    m_reply = m_manager.get(webRequest(url));
    connect(m_reply, &QNetworkReply::readyRead, this, &HttpFetch::takeBody);
    connect(m_reply, &QNetworkReply::finished, this, &HttpFetch::onReplyFinished);
}

void HttpFetch::takeBody()
{
    m_body += m_reply->read(m_limits.maxBodyBytes + 1 - m_body.size());
    if (m_body.size() > m_limits.maxBodyBytes)
        finish(failure(tr("The reply is larger than %1 bytes").arg(m_limits.maxBodyBytes)));
}

void HttpFetch::onReplyFinished()
{
    takeBody();
    if (!m_reply)
        return; // the body was over the cap
    const ReplyStep step = replyStep(*m_reply, m_redirects, m_limits.maxRedirects);
    if (step.kind == ReplyStep::Fail) {
        finish(failure(step.error));
        return;
    }
    if (step.kind == ReplyStep::Follow) {
        ++m_redirects;
        std::exchange(m_reply, nullptr)->deleteLater();
        send(step.target);
        return;
    }
    HttpReply reply;
    reply.status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    reply.body = std::exchange(m_body, {});
    finish(std::move(reply));
}

void HttpFetch::finish(HttpReply reply)
{
    abort();
    // Last: a receiver may start the next fetch or delete this object.
    Q_EMIT finished(reply);
}
