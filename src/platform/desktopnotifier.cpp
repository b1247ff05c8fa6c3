#include "platform/desktopnotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QStringList>
#include <QVariantMap>

DesktopNotifier::DesktopNotifier(QDBusConnection bus, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{
}

void DesktopNotifier::notify(const QString &summary, const QString &body, bool urgent)
{
    if (!m_bus.isConnected()) {
        fallBack(summary, body, urgent);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    const QVariantMap hints{
        {QStringLiteral("urgency"), QVariant::fromValue<uchar>(urgent ? 2 : 1)},
        {QStringLiteral("desktop-entry"), QStringLiteral("tarvo")},
    };
    // Application, no notification to replace, icon, texts, no actions, hints, the server's own
    // display time.
    call << QStringLiteral("Tarvo") << 0u << QStringLiteral("tarvo") << summary << body << QStringList() << hints
         << -1;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, m_replyTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, summary, body, urgent](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        if (w->isError())
            fallBack(summary, body, urgent);
        else
            Q_EMIT delivered(Channel::Desktop);
    });
}

void DesktopNotifier::fallBack(const QString &summary, const QString &body, bool urgent)
{
    if (m_trayBalloon && m_trayBalloon(summary, body, urgent)) {
        Q_EMIT delivered(Channel::Tray);
    } else if (m_statusLine) {
        m_statusLine(summary + QStringLiteral(": ") + body);
        Q_EMIT delivered(Channel::StatusLine);
    }
}
