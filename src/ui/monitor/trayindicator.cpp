#include "ui/monitor/trayindicator.h"

#include "platform/trayannouncements.h"
#include "ui/monitor/pictures.h"

#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

namespace {
TrayIndicator::Availability &replacedAvailability()
{
    static TrayIndicator::Availability availability;
    return availability;
}

bool trayShown()
{
    const TrayIndicator::Availability &replaced = replacedAvailability();
    return replaced ? replaced() : QSystemTrayIcon::isSystemTrayAvailable();
}
} // namespace

TrayIndicator::Availability TrayIndicator::setAvailability(Availability availability)
{
    return std::exchange(replacedAvailability(), std::move(availability));
}

TrayIndicator::TrayIndicator(QMenu *popupMenu, QObject *parent)
    : QObject(parent)
    , m_popupMenu(popupMenu)
{
    watchTimer = new QTimer(this);
    watchTimer->setObjectName(QStringLiteral("watchTimer"));
    watchTimer->setInterval(2000);
    connect(watchTimer, &QTimer::timeout, this, &TrayIndicator::trayMayHaveCome);
    auto *announcements = new TrayAnnouncements(QDBusConnection::sessionBus(), this);
    connect(announcements, &TrayAnnouncements::announced, this, &TrayIndicator::trayMayHaveCome);
    lookForTray();
}

void TrayIndicator::trayMayHaveCome()
{
    if (m_icon)
        return;
    lookForTray();
    if (m_icon)
        Q_EMIT appeared();
}

void TrayIndicator::lookForTray()
{
    if (!trayShown()) {
        if (TrayAnnouncements::mustLookNowAndThen())
            watchTimer->start();
        return;
    }
    watchTimer->stop();
    m_icon = new QSystemTrayIcon(Pictures::programIcon(), this);
    m_icon->setContextMenu(m_popupMenu);
    m_icon->setToolTip(m_toolTip);
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
            Q_EMIT clicked(reason == QSystemTrayIcon::DoubleClick);
    });
    m_icon->show();
    if (!m_image.isNull())
        refresh();
}

bool TrayIndicator::showMessage(const QString &summary, const QString &body, bool urgent)
{
    if (!available())
        return false;
    m_icon->showMessage(summary, body, urgent ? QSystemTrayIcon::Warning : QSystemTrayIcon::Information);
    return true;
}

bool TrayIndicator::available() const
{
    return m_icon && trayShown();
}

void TrayIndicator::setToolTip(const QString &text)
{
    // Set each tick: only a change goes to the desktop.
    if (text == m_toolTip)
        return;
    m_toolTip = text;
    if (m_icon)
        m_icon->setToolTip(text);
}

void TrayIndicator::setImage(const QImage &image)
{
    if (image.isNull())
        return;
    m_image = image;
    // At once, in the tick's own wake-up: a timer of its own would wake the program a second time.
    refresh();
}

void TrayIndicator::refresh()
{
    if (m_icon && !m_image.isNull())
        m_icon->setIcon(QIcon(QPixmap::fromImage(m_image)));
}
