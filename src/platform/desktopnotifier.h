#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>

// Tells the user something while the program may be out of sight: through the desktop's
// notification service (org.freedesktop.Notifications on the session bus), else as the tray
// icon's balloon, else on the monitor's status line. The bus is only ever called
// asynchronously: a service that is slow or gone costs the user-interface thread nothing, its
// message just falls back once the short reply time is over.
class DesktopNotifier : public QObject
{
    Q_OBJECT

public:
    enum class Channel { Desktop, Tray, StatusLine };
    Q_ENUM(Channel)

    static constexpr int defaultReplyTimeoutMs = 3000;

    // Shows a balloon at the tray icon; false when there is no tray to show it at.
    using TrayBalloon = std::function<bool(const QString &summary, const QString &body, bool urgent)>;
    using StatusLine = std::function<void(const QString &text)>;

    explicit DesktopNotifier(QDBusConnection bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);

    void setTrayBalloon(TrayBalloon balloon) { m_trayBalloon = std::move(balloon); }
    void setStatusLine(StatusLine statusLine) { m_statusLine = std::move(statusLine); }
    void setReplyTimeout(int milliseconds) { m_replyTimeoutMs = milliseconds; }

    // Returns at once; `delivered` says later where the message went.
    void notify(const QString &summary, const QString &body, bool urgent = false);

Q_SIGNALS:
    void delivered(DesktopNotifier::Channel channel);

private:
    void fallBack(const QString &summary, const QString &body, bool urgent);

    QDBusConnection m_bus;
    TrayBalloon m_trayBalloon;
    StatusLine m_statusLine;
    int m_replyTimeoutMs = defaultReplyTimeoutMs;
};
