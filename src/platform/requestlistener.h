#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <chrono>
#include <functional>

class QSocketNotifier;

// What one client may take of the listener: a client that idles or talks without end must not
// keep the socket from the others.
struct RequestLimits {
    std::chrono::milliseconds requestTime{2000}; // to send its line and take the answer
    int maxConnections = 16;                     // open at once; later ones wait in the queue
    qint64 maxRequestBytes = 64;                 // a longer line is no request
};

// Serves one request line per connection on a Unix socket only the user can reach. Built on the
// bare socket rather than QLocalServer, which deletes its socket file when accept() fails (out of
// descriptors): this one waits and tries again, and removes the file only when it is destroyed.
class RequestListener : public QObject {
    Q_OBJECT

public:
    // The answer to a request line (its line end included); empty for none. The connection ends
    // once the answer has gone out.
    using Handler = std::function<QByteArray(const QByteArray &request)>;

    RequestListener(Handler handler, const RequestLimits &limits = {}, QObject *parent = nullptr);
    ~RequestListener() override;

    // Replaces whatever is at `path` (the caller holds the lock that makes it ours) with a socket
    // of mode 0600. False when it cannot be made.
    bool listen(const QString &path);
    int openConnections() const { return m_open; }

private:
    void acceptPending();
    void serve(int descriptor);
    void connectionEnded();
    void resumeAccepting();

    Handler m_handler;
    RequestLimits m_limits;
    QString m_path;
    int m_descriptor = -1;
    QSocketNotifier *m_notifier = nullptr;
    int m_open = 0;
    bool m_paused = false;
};
