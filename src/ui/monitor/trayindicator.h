#pragma once

#include <QImage>
#include <QObject>

class QMenu;
class QSystemTrayIcon;
class QTimer;

// The icon in the desktop's notification area: the program's icon until the first tick, then
// the newest level picture. Right-click opens the pop-up menu; left clicks do nothing.
class TrayIndicator : public QObject
{
    Q_OBJECT

public:
    // Without a system tray (some desktops, the offscreen platform) there is no icon at all.
    TrayIndicator(QMenu *popupMenu, QObject *parent = nullptr);

    bool available() const { return m_icon != nullptr; }

    // The tick's picture; a null picture (drawing failed) keeps the previous one.
    void setImage(const QImage &image);
    const QImage &image() const { return m_image; }

    QTimer *refreshTimer = nullptr;

public Q_SLOTS:
    // Shows the newest picture; runs every 100 ms.
    void refresh();

private:
    QSystemTrayIcon *m_icon = nullptr;
    QImage m_image;
    bool m_imageShown = true;
};
