#include "ui/monitor/trayindicator.h"

#include "ui/monitor/pictures.h"
#include "ui/monitor/trayimage.h"

#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

TrayIndicator::TrayIndicator(QMenu *popupMenu, QObject *parent)
    : QObject(parent)
{
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        m_icon = new QSystemTrayIcon(Pictures::programIcon(), this);
        m_icon->setContextMenu(popupMenu);
        m_icon->show();
    }
    refreshTimer = new QTimer(this);
    refreshTimer->setObjectName(QStringLiteral("refreshTimer"));
    refreshTimer->setInterval(100);
    connect(refreshTimer, &QTimer::timeout, this, &TrayIndicator::refresh);
    refreshTimer->start();
}

void TrayIndicator::setImage(const QImage &image)
{
    if (image.isNull())
        return;
    m_image = image;
    m_imageShown = false;
}

void TrayIndicator::refresh()
{
    // Handing the same picture to the desktop ten times a second would only cost bus traffic.
    if (m_imageShown || !m_icon)
        return;
    m_icon->setIcon(QIcon(QPixmap::fromImage(withWhiteTransparent(m_image))));
    m_imageShown = true;
}
