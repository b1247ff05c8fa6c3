#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <memory>

class QNetworkReply;
class QTemporaryFile;

struct DownloadLimits {
    std::chrono::milliseconds inactivity{60000}; // the longest wait for the next piece
    int maxRedirects = 5;
};

// How a download ended: saved, refused by the server's status (nothing to say to the user), or
// failed with an error text.
struct DownloadResult {
    bool saved = false;
    QString error;
};

// Fetches a web address into a file without blocking the thread. The body goes to a temporary
// file beside the target, which takes the target's name only once the whole body has arrived
// (its announced length reached, or its last chunk) with a status below 299; a link at the
// target is replaced, never written through. Redirects as the other fetches: 300 to 302 only.
class InstallerDownload : public QObject {
    Q_OBJECT

public:
    explicit InstallerDownload(QObject *parent = nullptr);
    ~InstallerDownload() override;

    // A download still running is abandoned first, silently.
    void start(const QUrl &url, const QString &target, const DownloadLimits &limits = {});
    // Ends a running download without a signal; what arrived is thrown away.
    void abort();
    bool isRunning() const { return m_reply != nullptr; }

Q_SIGNALS:
    // After each piece: the bytes so far and the length the server announced (0 for none).
    void progress(qint64 received, qint64 announced);
    void finished(const DownloadResult &result);

private:
    void send(const QUrl &url);
    void takeBody();
    void onReplyFinished();
    bool bodyComplete() const;
    void finish(DownloadResult result);
    void fail(const QString &error);

    QNetworkAccessManager m_manager;
    QNetworkReply *m_reply = nullptr;
    std::unique_ptr<QTemporaryFile> m_file;
    QString m_target;
    QTimer m_inactivity;
    DownloadLimits m_limits;
    qint64 m_received = 0;
    int m_redirects = 0;
};
