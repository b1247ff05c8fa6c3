#pragma once

#include <QCryptographicHash>
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
    qint64 maxBytes = 64 * 1024 * 1024; // far above any installer of ours
};

// How a download ended: saved, refused by the server's status (nothing to say to the user), or
// failed with an error text. A saved file is verified when it matched the SHA-256 it was given,
// or, given none, when every hop came over https (whose certificate Qt verifies).
struct DownloadResult {
    bool saved = false;
    QString error;
    bool verified = false;
};

// Fetches a web address into a file without blocking the thread. The body goes to a temporary
// file beside the target, which takes the target's name only once the whole body has arrived
// (its announced length reached, or its last chunk) with a status below 299; a link at the
// target is replaced, never written through. Redirects as the other fetches: 300 to 302 only.
// A body over the size limit (announced or arrived) ends the download.
class InstallerDownload : public QObject {
    Q_OBJECT

public:
    explicit InstallerDownload(QObject *parent = nullptr);
    ~InstallerDownload() override;

    // A download still running is abandoned first, silently. `sha256` is the digest the file
    // must have to count as verified; empty for none.
    void start(const QUrl &url, const QString &target, const DownloadLimits &limits = {},
               const QByteArray &sha256 = {});
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
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
    QByteArray m_sha256;
    qint64 m_received = 0;
    int m_redirects = 0;
    bool m_allHttps = true;
};
