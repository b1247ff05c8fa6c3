#pragma once

#include "meter/trafficstats.h"

#include <QWidget>

class FapMeter;
class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QStatusBar;
class QTimer;
class TLamp;
class TLevelBar;
class TTrafficChart;
class TTrayIndicator;
struct AppSettings;
struct TrafficCounters;

// The monitor window: the FAP figures, speeds and counters, refreshed by its one-second tick once
// monitoring has started, with the tray icon and the speed chart it feeds. Hiding or closing it
// leaves the program running in the tray.
class TfrmGui : public QWidget
{
    Q_OBJECT

public:
    TfrmGui(AppSettings &settings, TrafficCounters &counters, FapMeter &meter, QWidget *parent = nullptr);

    // The windows whose visibility stops the pull to the front; the about window is also the
    // one "About" shows. Either may be null.
    void setCompanionWindows(QWidget *optionsWindow, QWidget *aboutBox);

    // The first confirmation: starts the one-second tick and runs one tick at once, so the window
    // shows figures before it is shown.
    void startMonitoring();

    // At each confirmation of the options: opacity, the "Always on top" check mark and the
    // chart's axis mode from the settings.
    void applySettings();

    void setStatusText(const QString &text);
    QString statusText() const;

    // The latency probe's result, shown beside "Ping ( ms ):".
    void setPingText(const QString &text);

    // The tick at the local date-time `now` (days since 30 Dec 1899); the timer passes the clock.
    void tickAt(double now);

    const TrafficStats &stats() const { return m_stats; }

    // The pull to the front every 100 ms: only a shown window, only with "Always on top", and
    // never while the options or the about window is open.
    static bool keepInFront(bool visible, bool alwaysOnTop, bool optionsVisible, bool aboutVisible);

    QTimer *SpeedsTimer = nullptr;
    QTimer *PingTimer = nullptr; // 30 s from the first confirmation; the latency probe runs on it
    QTimer *Timer1 = nullptr;

    QMenuBar *MainMenu1 = nullptr;
    QMenu *File1 = nullptr;
    QAction *Close1 = nullptr;
    QMenu *Toola1 = nullptr;
    QAction *Options1 = nullptr;
    QMenu *Help1 = nullptr;
    QAction *InternetandothersatelliteservicesfromKELMIRA1 = nullptr;
    QAction *KelmiraSoftware1 = nullptr;
    QAction *Tarvoontheweb1 = nullptr;
    QAction *About1 = nullptr;

    QMenu *PopupMenu1 = nullptr;
    QAction *Show1 = nullptr;
    QAction *Minimize1 = nullptr;
    QAction *Alwaysontop1 = nullptr;
    QAction *Resetdownloadedsofar1 = nullptr;
    QAction *Resetallcounters1 = nullptr;
    QAction *Close2 = nullptr;

    QWidget *FapPanel = nullptr;
    QWidget *ShowMorePanel = nullptr;
    QWidget *DetailsPanel = nullptr;
    QWidget *RestrictionPanel = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QPushButton *ShowMoreButton = nullptr;
    QPushButton *HideDetailsButton = nullptr;

    QLabel *TotalDownloadedValue = nullptr;
    QLabel *FapLevelValue = nullptr;
    TLevelBar *LevelBar = nullptr;
    QLabel *PercentValue = nullptr;
    QLabel *TrendRising = nullptr;
    QLabel *TrendFalling = nullptr;
    QLabel *TrendSteady = nullptr;
    QLabel *DownloadAverageValue = nullptr;
    QLabel *DownloadInstantValue = nullptr;
    TLamp *DownloadLamp = nullptr;
    QLabel *FullRecoveryValue = nullptr;
    QLabel *BytesToThrottleValue = nullptr;
    QLabel *BytesToCutOffValue = nullptr;

    QLabel *TimeToThrottleValue = nullptr;
    QLabel *TimeToCutOffValue = nullptr;
    QLabel *UploadAverageValue = nullptr;
    QLabel *UploadInstantValue = nullptr;
    TLamp *UploadLamp = nullptr;
    QLabel *UploadTotalValue = nullptr;
    QLabel *PingValue = nullptr;
    QLabel *PacketsPerSecondValue = nullptr;
    QLabel *AveragePacketSizeValue = nullptr;
    QLabel *PacketsReceivedValue = nullptr;
    QLabel *PacketsSentValue = nullptr;
    TTrafficChart *TrafficChart = nullptr;

    QLabel *RestrictionValue = nullptr;

    TTrayIndicator *TrayIcon = nullptr;

Q_SIGNALS:
    // File > "Close" and the pop-up's "Close": the program should end.
    void closeRequested();
    // Tools > "Options...".
    void optionsRequested();
    // The pop-up's "Always on top" changed the setting; the options window's box follows.
    void alwaysOnTopToggled(bool alwaysOnTop);

public Q_SLOTS:
    void SpeedsTimerTimer();
    void Timer1Timer();

    void Close1Click();
    void Options1Click();
    void InternetandothersatelliteservicesfromKELMIRA1Click();
    void KelmiraSoftware1Click();
    void Tarvoontheweb1Click();
    void About1Click();

    void Show1Click();
    void Minimize1Click();
    void Alwaysontop1Click();
    void Resetdownloadedsofar1Click();
    void Resetallcounters1Click();

    void ShowMoreButtonClick();
    void HideDetailsButtonClick();

private:
    void createMenus();
    void createFapPanel();
    void createDetailsPanel();
    void createRestrictionPanel();
    int viewHeight(bool full) const;

    AppSettings &m_settings;
    TrafficCounters &m_counters;
    FapMeter &m_meter;
    TrafficStats m_stats;

    QWidget *m_optionsWindow = nullptr;
    QWidget *m_aboutBox = nullptr;
};
