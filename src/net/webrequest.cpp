#include "net/webrequest.h"

#include <QCoreApplication>

namespace {
bool hasParentSegment(const QUrl &url)
{
    return url.path(QUrl::FullyDecoded).split(u'/').contains(QLatin1String(".."));
}
} // namespace

bool isWebAddress(const QUrl &url)
{
    return url.isValid() && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"))
        && !hasParentSegment(url);
}

QString serverAddress(const QString &hostSetting)
{
    if (hostSetting.startsWith(QLatin1String("http://")) || hostSetting.startsWith(QLatin1String("https://")))
        return hostSetting;
    return QStringLiteral("http://") + hostSetting;
}

QNetworkRequest webRequest(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    return request;
}

namespace {
// Qt reports an HTTP error status as an error of the reply; such a reply still carries a body.
bool isErrorStatus(QNetworkReply::NetworkError error)
{
    return (error >= QNetworkReply::ContentAccessDenied && error <= QNetworkReply::UnknownContentError)
        || (error >= QNetworkReply::InternalServerError && error <= QNetworkReply::UnknownServerError);
}
} // namespace

bool isFollowedRedirect(int status)
{
    return status >= 300 && status <= 302;
}

ReplyStep replyStep(const QNetworkReply &reply, int redirectsSoFar, int maxRedirects)
{
    if (reply.error() != QNetworkReply::NoError && !isErrorStatus(reply.error()))
        return {ReplyStep::Fail, {}, reply.errorString()};
    if (!isFollowedRedirect(reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt()))
        return {};
    // Qt's parsed location header drops relative addresses, so resolve the raw one, whose ".."
    // segments the resolving would hide.
    const QUrl location = QUrl::fromEncoded(reply.rawHeader("Location"));
    const QUrl target = reply.url().resolved(location);
    if (!isWebAddress(target) || hasParentSegment(location))
        return {ReplyStep::Fail, {},
                QCoreApplication::translate("WebRequest", "The server sent a redirect without a web address")};
    if (redirectsSoFar >= maxRedirects)
        return {ReplyStep::Fail, {}, QCoreApplication::translate("WebRequest", "Too many redirects")};
    return {ReplyStep::Follow, target, {}};
}

void abandonReply(QNetworkReply *reply, const QObject *receiver)
{
    if (!reply)
        return;
    reply->disconnect(receiver);
    reply->abort();
    reply->deleteLater();
}
