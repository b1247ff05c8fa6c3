#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <chrono>

class QNetworkReply;

// How long a fetch may take and how much it may bring; a server of ours answers in a few
// hundred bytes, so anything beyond the cap is refused rather than kept in memory.
struct HttpLimits {
    std::chrono::milliseconds deadline{30000}; // for the whole fetch, redirects included
    qint64 maxBodyBytes = 64 * 1024;
    int maxRedirects = 5;
};

// The outcome of a fetch: either an error text (nothing usable arrived) or a reply with its
// status, whatever the status is.
struct HttpReply {
    QString error;
    int status = 0;
    QByteArray body;

    bool failed() const { return !error.isEmpty(); }
};

// One GET at a time on the UI thread, without blocking it: follows the redirects 300, 301 and
// 302 (and only to http or https addresses), ends at an overall deadline, caps the body, and
// reports once through finished(). No proxy is used: the servers are the program's own.
class HttpFetch : public QObject {
    Q_OBJECT

public:
    explicit HttpFetch(QObject *parent = nullptr);
    ~HttpFetch() override;

    // A fetch still running is abandoned first, silently.
    void get(const QUrl &url, const HttpLimits &limits = {});
    // Ends a running fetch without a finished() signal (shut-down, a closed window).
    void abort();
    bool isRunning() const { return m_reply != nullptr; }

Q_SIGNALS:
    void finished(const HttpReply &reply);

private:
    void send(const QUrl &url);
    void takeBody();
    void onReplyFinished();
    void finish(HttpReply reply);

    QNetworkAccessManager m_manager;
    QNetworkReply *m_reply = nullptr;
    QTimer m_deadline;
    HttpLimits m_limits;
    QByteArray m_body;
    int m_redirects = 0;
};
