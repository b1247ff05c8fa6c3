#pragma once

#include "meter/trafficcounters.h"
#include "settings/appsettings.h"

#include <QDateTime>
#include <QHash>
#include <QWidget>

class FapMeter;
class Lamp;
class LevelBar;
class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QTimer;
class TrafficChart;
class TrayIndicator;
struct TrafficStats;

// What one tick shows: the moment, what the tick took, and the state after it, read only.
struct TickDisplay
{
    QDateTime now; // the moment of the tick
    TrafficCounters::Tick taken;
    const FapMeter &meter;
    const TrafficCounters &counters;
    const TrafficStats &stats;
    TrayStyle trayStyle;
    int32_t chartHistorySeconds;
};

// The monitor window: the FAP figures, speeds and counters of each tick, with the tray icon and
// the speed chart. Its menus report what the user asks for; hiding or closing it leaves the
// program running in the tray.
class MonitorWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MonitorWindow(QWidget *parent = nullptr);

    // The windows whose visibility stops the pull to the front; the about window is also the
    // one "About" shows. Either may be null.
    void setCompanionWindows(QWidget *optionsWindow, QWidget *aboutWindow);

    // Opacity, "Always on top" (the check mark and the pull to the front) and the chart's axis
    // mode, at the start and at each confirmation of the options.
    void applySettings(const AppSettings &settings);

    void showTick(const TickDisplay &tick);

    // Shown after a confirmation of the options. "Start minimized" keeps it in the tray, or, with
    // no tray to come back from, minimised in the task bar.
    void showAfterConfirmation(bool startMinimized);

    void setStatusText(const QString &text);
    QString statusText() const;
    // A passing notice: shown for noticeMs, then the status text comes back.
    void showNotice(const QString &text);
    static constexpr int noticeMs = 10000;

    // The latency probe's result, shown beside "Ping ( ms ):".
    void setPingText(const QString &text);

    // The pull to the front every 100 ms: only a shown window, only with "Always on top", and
    // never while the options window or one of its own (about, history, planner, a menu) is open.
    static bool keepInFront(bool visible, bool alwaysOnTop, bool optionsVisible, bool ownWindowOpen);
    // One pull, as the front timer runs it.
    void pullToFront();

    // Tools > "History..." only while there is a history to read.
    void setHistoryAvailable(bool available);
    // A balloon at the tray icon; false when there is no tray to show it at.
    bool showTrayMessage(const QString &summary, const QString &body, bool urgent);

Q_SIGNALS:
    // File > "Close" and the tray menu's "Close": the program should end.
    void closeRequested();
    // Tools > "Options...".
    void optionsRequested();
    // Tools > "Will it fit?...".
    void plannerRequested();
    // Tools > "History...".
    void historyRequested();
    // Tools > "Programs...".
    void programsRequested();
    // The tray menu's "Always on top" turned the setting over.
    void alwaysOnTopToggled(bool alwaysOnTop);
    // "Reset interface counters ( does not affect FAP calculations )".
    void resetCountersRequested();
    // "Reset FAP level", once the user said yes.
    void resetFapLevelRequested();
    // File and tray menu "Set bucket from provider...".
    void setBucketRequested();

protected:
    // Closing hides the window while a tray icon can bring it back, and minimises it otherwise.
    void closeEvent(QCloseEvent *event) override;
    // A minimise from the window manager leaves only the tray icon, as long as there is one.
    void changeEvent(QEvent *event) override;

private:
    void createMenus();
    void createFapPanel();
    void createDetailsPanel();
    void createRestrictionPanel();
    int viewHeight(bool full) const;

    // A value's new text, cut to the room before its right-hand neighbour.
    void display(QLabel *label, const QString &text);
    void showAbout();
    void restore();
    // A left click at the tray icon shows the window or puts it away; a double click shows it.
    void trayClicked(bool twice);
    void minimiseToTaskBar();
    // "Minimize": to the tray when there is one, else to the task bar.
    void putAway();
    // The check mark, the stay-on-top flag and the pull to the front follow the setting.
    void setAlwaysOnTop(bool alwaysOnTop);
    void toggleAlwaysOnTop();
    // The about window, or a window whose parent is this one, is shown.
    bool ownWindowOpen() const;
    void askResetFapLevel();
    void showDetails();
    void hideDetails();

    QTimer *m_frontTimer = nullptr; // runs only while "Always on top" is on
    QTimer *m_noticeTimer = nullptr;

    QMenuBar *m_menuBar = nullptr;
    QAction *m_historyAction = nullptr;
    QAction *m_alwaysOnTopAction = nullptr;
    QMenu *m_trayMenu = nullptr; // the tray icon's, also on the window itself

    QWidget *m_fapPanel = nullptr;
    QWidget *m_showMorePanel = nullptr;
    QWidget *m_detailsPanel = nullptr;
    QWidget *m_restrictionPanel = nullptr;
    QStatusBar *m_statusBar = nullptr;

    QLabel *m_totalDownloadedValue = nullptr;
    QLabel *m_fapLevelValue = nullptr;
    LevelBar *m_levelBar = nullptr;
    QLabel *m_percentValue = nullptr;
    QLabel *m_trendRising = nullptr;
    QLabel *m_trendFalling = nullptr;
    QLabel *m_trendSteady = nullptr;
    QLabel *m_downloadAverageValue = nullptr;
    QLabel *m_downloadInstantValue = nullptr;
    Lamp *m_downloadLamp = nullptr;
    QLabel *m_fullRecoveryValue = nullptr;
    QLabel *m_bytesToThrottleValue = nullptr;
    QLabel *m_bytesToCutOffValue = nullptr;

    QLabel *m_timeToThrottleValue = nullptr;
    QLabel *m_timeToCutOffValue = nullptr;
    QLabel *m_uploadAverageValue = nullptr;
    QLabel *m_uploadInstantValue = nullptr;
    Lamp *m_uploadLamp = nullptr;
    QLabel *m_uploadTotalValue = nullptr;
    QLabel *m_pingValue = nullptr;
    QLabel *m_packetsPerSecondValue = nullptr;
    QLabel *m_averagePacketSizeValue = nullptr;
    QLabel *m_packetsReceivedValue = nullptr;
    QLabel *m_packetsSentValue = nullptr;
    TrafficChart *m_trafficChart = nullptr;

    QLabel *m_restrictionValue = nullptr;

    TrayIndicator *m_trayIcon = nullptr;

    QHash<const QLabel *, int> m_valueLimits; // where each value must end
    bool m_alwaysOnTop = false;
    // Closed without a tray: it waits in the task bar, and "Always on top" does not pull it back.
    bool m_inTaskBar = false;
    QWidget *m_optionsWindow = nullptr;
    QWidget *m_aboutWindow = nullptr;
    QString m_statusText; // what the status line shows when no notice passes
};
