#pragma once

#include "net/httpfetch.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <optional>

// The address a reply of the plain address page holds: only a 2xx reply whose body, without
// surrounding white space, is a dotted IPv4 address written as the classifier writes a frame's
// address ("203.0.113.7", no leading zeros); anything else would be an entry that never counts.
std::optional<QString> publicAddressFromReply(const HttpReply &reply);

// Asks the product site under which address it sees this computer. `host` is the site's host
// (optionally host:port); see Endpoints::publicAddressHost().
class PublicAddressLookup : public QObject
{
    Q_OBJECT

public:
    explicit PublicAddressLookup(QString host, QObject *parent = nullptr);

    // The page for people ("/myip.php"), opened in the browser.
    QUrl pageUrl() const;

    // One GET of "/myipsimple.php" without blocking; a lookup still running is abandoned.
    void start();

    // 30 s for the whole lookup, and an address is a few bytes.
    HttpLimits limits{.maxBodyBytes = 1024};

Q_SIGNALS:
    // Once per start(): the address, or nothing after any failure.
    void finished(const std::optional<QString> &address);

private:
    QUrl url(const QString &page) const;

    QString m_host;
    HttpFetch m_fetch;
};
