#pragma once

#include <QImage>
#include <QObject>

#include <functional>

class QMenu;
class QSystemTrayIcon;
class QTimer;

// The icon in the desktop's notification area: the program's icon until the first tick, then
// the newest level picture, with the level and the restriction in its tool tip. Right-click opens
// the pop-up menu; a left click or a double click is reported.
class TrayIndicator : public QObject
{
    Q_OBJECT

public:
    // Whether the desktop shows a tray now; tests replace the desktop's answer.
    using Availability = std::function<bool()>;
    // Installs (or, with an empty one, removes) the replacement; returns the previous one.
    static Availability setAvailability(Availability availability);

    // Some desktops have no tray, or start theirs after the program: the icon is created as
    // soon as a tray is there.
    TrayIndicator(QMenu *popupMenu, QObject *parent = nullptr);

    // The icon is shown in a tray now; without one, nothing would bring a hidden window back.
    bool available() const;

    // A balloon at the icon; false when there is no tray to show it at.
    bool showMessage(const QString &summary, const QString &body, bool urgent);

    // The tool tip, also for an icon that appears later.
    void setToolTip(const QString &text);
    QString toolTip() const { return m_toolTip; }

    // The tick's picture; a null picture (drawing failed) keeps the previous one.
    void setImage(const QImage &image);
    const QImage &image() const { return m_image; }
    // What the tray shows; null while there is no tray.
    const QSystemTrayIcon *icon() const { return m_icon; }

    // Looks for a tray every 2 s while there is none, only where the desktop cannot announce one.
    QTimer *watchTimer = nullptr;

Q_SIGNALS:
    // A tray appeared after the start and the icon is in it.
    void appeared();
    // A left click; `twice` for the second click of a double click.
    void clicked(bool twice);

public Q_SLOTS:
    // Shows the newest picture.
    void refresh();

private:
    void lookForTray();
    // An announcement, or the look of the watch timer.
    void trayMayHaveCome();

    QMenu *m_popupMenu = nullptr;
    QSystemTrayIcon *m_icon = nullptr;
    QImage m_image;
    QString m_toolTip;
};
