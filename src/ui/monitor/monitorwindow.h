#pragma once

#include "meter/trafficcounters.h"
#include "settings/appsettings.h"

#include <QHash>
#include <QWidget>

class FapMeter;
class Lamp;
class LevelBar;
class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QStatusBar;
class QTimer;
class TrafficChart;
class TrayIndicator;
struct TrafficStats;

// What one tick shows: the moment, what the tick took, and the state after it, read only.
struct TickDisplay
{
    double now; // local date-time, days since 30 Dec 1899
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

    // Shown after a confirmation of the options. "Start minimizred" keeps it in the tray, or, with
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
    // never while the options or the about window is open.
    static bool keepInFront(bool visible, bool alwaysOnTop, bool optionsVisible, bool aboutVisible);
    // One pull, as the front timer runs it.
    void pullToFront();

    QTimer *frontTimer = nullptr; // runs only while "Always on top" is on
    QTimer *noticeTimer = nullptr;

    QMenuBar *menuBar = nullptr;
    QMenu *fileMenu = nullptr;
    QAction *closeAction = nullptr;
    QMenu *toolsMenu = nullptr;
    QAction *optionsAction = nullptr;
    QAction *plannerAction = nullptr;
    QAction *historyAction = nullptr;
    QMenu *helpMenu = nullptr;
    QAction *makerSiteAction = nullptr;
    QAction *softwareSiteAction = nullptr;
    QAction *productSiteAction = nullptr;
    QAction *aboutAction = nullptr;

    QMenu *trayMenu = nullptr;
    QAction *showAction = nullptr;
    QAction *minimizeAction = nullptr;
    QAction *alwaysOnTopAction = nullptr;
    QAction *resetCountersAction = nullptr;
    QAction *resetFapLevelAction = nullptr;
    QAction *trayCloseAction = nullptr;

    QWidget *fapPanel = nullptr;
    QWidget *showMorePanel = nullptr;
    QWidget *detailsPanel = nullptr;
    QWidget *restrictionPanel = nullptr;
    QStatusBar *statusBar = nullptr;
    QPushButton *showMoreButton = nullptr;
    QPushButton *hideDetailsButton = nullptr;

    QLabel *totalDownloadedValue = nullptr;
    QLabel *fapLevelValue = nullptr;
    LevelBar *levelBar = nullptr;
    QLabel *percentValue = nullptr;
    QLabel *trendRising = nullptr;
    QLabel *trendFalling = nullptr;
    QLabel *trendSteady = nullptr;
    QLabel *downloadAverageValue = nullptr;
    QLabel *downloadInstantValue = nullptr;
    Lamp *downloadLamp = nullptr;
    QLabel *fullRecoveryValue = nullptr;
    QLabel *bytesToThrottleValue = nullptr;
    QLabel *bytesToCutOffValue = nullptr;

    QLabel *timeToThrottleValue = nullptr;
    QLabel *timeToCutOffValue = nullptr;
    QLabel *uploadAverageValue = nullptr;
    QLabel *uploadInstantValue = nullptr;
    Lamp *uploadLamp = nullptr;
    QLabel *uploadTotalValue = nullptr;
    QLabel *pingValue = nullptr;
    QLabel *packetsPerSecondValue = nullptr;
    QLabel *averagePacketSizeValue = nullptr;
    QLabel *packetsReceivedValue = nullptr;
    QLabel *packetsSentValue = nullptr;
    TrafficChart *trafficChart = nullptr;

    QLabel *restrictionValue = nullptr;

    TrayIndicator *trayIcon = nullptr;

Q_SIGNALS:
    // File > "Close" and the tray menu's "Close": the program should end.
    void closeRequested();
    // Tools > "Options...".
    void optionsRequested();
    // Tools > "Will it fit?...".
    void plannerRequested();
    // Tools > "History...".
    void historyRequested();
    // The tray menu's "Always on top" turned the setting over.
    void alwaysOnTopToggled(bool alwaysOnTop);
    // "Reset interface counters ( does not affect FAP calculations )".
    void resetCountersRequested();
    // "Reset FAP level", once the user said yes.
    void resetFapLevelRequested();

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
    void minimiseToTaskBar();
    // "Minimize": to the tray when there is one, else to the task bar.
    void putAway();
    void setAlwaysOnTop(bool alwaysOnTop);
    void toggleAlwaysOnTop();
    void askResetFapLevel();
    void showDetails();
    void hideDetails();

    QHash<const QLabel *, int> m_valueLimits; // where each value must end
    bool m_alwaysOnTop = false;
    // Closed without a tray: it waits in the task bar, and "Always on top" does not pull it back.
    bool m_inTaskBar = false;
    QWidget *m_optionsWindow = nullptr;
    QWidget *m_aboutWindow = nullptr;
    QString m_statusText; // what the status line shows when no notice passes
};
