#include "net/publicaddresslookup.h"

#include "settings/addressset.h"

#include <utility>

std::optional<QString> publicAddressFromReply(const HttpReply &reply)
{
    if (reply.failed() || reply.status < 200 || reply.status > 299)
        return std::nullopt;
    const QString address = QString::fromLatin1(reply.body.trimmed());
    if (!parseCanonicalAddress(address))
        return std::nullopt;
    return address;
}

PublicAddressLookup::PublicAddressLookup(QString host, QObject *parent)
    : QObject(parent)
    , m_host(std::move(host))
{
    connect(&m_fetch, &HttpFetch::finished, this,
            [this](const HttpReply &reply) { Q_EMIT finished(publicAddressFromReply(reply)); });
}

QUrl PublicAddressLookup::pageUrl() const
{
    return url(QStringLiteral("/myip.php"));
}

void PublicAddressLookup::start()
{
    m_fetch.get(url(QStringLiteral("/myipsimple.php")), limits);
}

QUrl PublicAddressLookup::url(const QString &page) const
{
    return QUrl(QStringLiteral("http://") + m_host + page);
}
