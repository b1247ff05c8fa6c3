#include "net/webrequest.h"

#include <QCoreApplication>

bool isWebAddress(const QUrl &url)
{
    return url.isValid() && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

QNetworkRequest webRequest(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    return request;
}

bool isErrorStatus(QNetworkReply::NetworkError error)
{
    return (error >= QNetworkReply::ContentAccessDenied && error <= QNetworkReply::UnknownContentError)
        || (error >= QNetworkReply::InternalServerError && error <= QNetworkReply::UnknownServerError);
}

RedirectStep redirectStep(const QNetworkReply &reply, int redirectsSoFar, int maxRedirects)
{
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status < 300 || status > 302)
        return {};
    // Qt's parsed location header drops relative addresses, so resolve the raw one.
    const QUrl target = reply.url().resolved(QUrl::fromEncoded(reply.rawHeader("Location")));
    if (!isWebAddress(target))
        return {RedirectStep::Refuse, {},
                QCoreApplication::translate("WebRequest", "The server sent a redirect without a web address")};
    if (redirectsSoFar >= maxRedirects)
        return {RedirectStep::Refuse, {}, QCoreApplication::translate("WebRequest", "Too many redirects")};
    return {RedirectStep::Follow, target, {}};
}
