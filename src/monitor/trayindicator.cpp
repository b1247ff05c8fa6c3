#include "monitor/trayindicator.h"

#include "monitor/pictures.h"
#include "monitor/trayimage.h"

#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

TTrayIndicator::TTrayIndicator(QMenu *popupMenu, QObject *parent)
    : QObject(parent)
{
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        m_icon = new QSystemTrayIcon(Pictures::programIcon(), this);
        m_icon->setContextMenu(popupMenu);
        m_icon->show();
    }
    RefreshTimer = new QTimer(this);
    RefreshTimer->setObjectName(QStringLiteral("RefreshTimer"));
    RefreshTimer->setInterval(100);
    connect(RefreshTimer, &QTimer::timeout, this, &TTrayIndicator::RefreshTimerTimer);
    RefreshTimer->start();
}

void TTrayIndicator::setImage(const QImage &image)
{
    if (image.isNull())
        return;
    m_image = image;
    m_imageShown = false;
}

void TTrayIndicator::RefreshTimerTimer()
{
    // Handing the same picture to the desktop ten times a second would only cost bus traffic.
    if (m_imageShown || !m_icon)
        return;
    m_icon->setIcon(QIcon(QPixmap::fromImage(withWhiteTransparent(m_image))));
    m_imageShown = true;
}
