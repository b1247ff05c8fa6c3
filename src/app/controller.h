#pragma once

#include "app/historywindowloader.h"
#include "app/meteredswitch.h"
#include "history/historyfilereader.h"
#include "history/historywriter.h"
#include "meter/alertrules.h"
#include "platform/autostartentry.h"
#include "session/monitoringsession.h"
#include "settings/filelocations.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class AlertCommands;
class DesktopNotifier;
class LatencyProbe;
class MonitorWindow;
class OptionsWindow;
class PlannerWindow;
class ProgramsWindow;
class PublicAddressLookup;
class QTimer;
class UsageHistoryReader;
struct OptionValues;
struct PlannerInputs;

// What the program takes from its surroundings; tests give a folder of their own and a fixed "now".
struct ProgramEnvironment
{
    FileLocations files = FileLocations::forThisProgram();
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); }; // the one clock
    QString autostartEntry = AutostartEntry::defaultPath(); // the start-at-logon entry's file
};

// The program's controller: the wiring between the windows, the desktop services and the
// monitoring session it owns. It loads the session at the start, carries out the confirmation
// and the cancellation of the options, drives the one-second tick and the saves, and stops the
// capture at the end. The windows only show what it hands them and report what the user does.
class Controller : public QObject
{
    Q_OBJECT

public:
    // The start: the adapters, the plans and "tarvo.ini" into `options`, the bucket caught up for
    // the time the program was off; the bucket is saved every 10 s from here on.
    explicit Controller(OptionsWindow &options, ProgramEnvironment environment = {});
    // Stops the capture, then writes the last-use time and the bucket (and the settings, when
    // their last write failed); a failure here is reported on standard error.
    ~Controller() override;

    // The monitor window is created after the load and handed over before the message loop runs.
    void setMonitor(MonitorWindow *monitor);
    // "Will it fit?", opened from the monitor's menu; after setMonitor.
    void setPlanner(PlannerWindow *planner);
    // Tools > "Programs..." opens it; it follows the tick while open.
    void setProgramsWindow(ProgramsWindow *programs);
    // What "History..." reads instead of the history file; it must live until the controller ends
    // or another reader (or null) is set, which closes the history window. Null turns the menu
    // item off.
    void setHistoryReader(const UsageHistoryReader *reader);
    // The history window "History..." opened last; null before.
    QWidget *historyWindow() const;

    // "Ok", or the automatic confirmation: check, take, save; the first one starts the monitoring.
    void confirm();
    // "Cancel": ends the program before the first confirmation, returns to the monitor after it.
    void cancel();
    // The monitor window's "Options...": the live bucket into the options, which replace the monitor.
    void showOptions();

    // The provider's figure into the running bucket, without stopping the capture: recorded in the
    // usage history and told on the status line. None before the first confirmation (the options'
    // level box still decides) or for a figure out of range.
    std::optional<BucketCorrection> setBucketFromProvider(const ProviderFigure &figure);
    // The answer to a set-bucket request on the program's socket, its line end included.
    QByteArray answerSetBucket(const QByteArray &argument);

    // The session's one-second tick at `now`.
    void tickAt(const QDateTime &now);

    // Breaks the capture loop and joins the thread; the counters, the bucket and the lists stay
    // valid until the controller is destroyed.
    void stopCapture() { m_session.stopCapture(); }
    bool captureStarted() const { return m_session.captureStarted(); }
    const CaptureThread *captureThread() const { return m_session.captureThread(); }
    // Null when its socket could not be opened: then the probe stays inactive.
    LatencyProbe *latencyProbe() const { return m_latencyProbe.get(); }

    // The running measurement: the settings, the bucket and the figures of the last tick.
    MonitoringSession &session() { return m_session; }
    const MonitoringSession &session() const { return m_session; }
    // Until the options window is first activated, which starts the automatic confirmation.
    bool firstActivationPending() const { return m_firstActivationPending; }

Q_SIGNALS:
    // Once, at the end of the first confirmation: the program's assembly asks for a newer version.
    void updateCheckDue();

private:
    void load();
    void onOptionsActivated();
    void autoConfirm();
    void fillFromPlan(int row);
    // What a confirmation read into the bucket: the level, and the plan with it.
    void takeBucket(const OptionValues &values);
    void startCapture();
    // What each tick of the session shows: the monitor, the planner, the dropped frames, the alerts.
    void showTick(const SessionTick &tick);
    void showCaptureStatistics(const SessionTick &tick);
    // The tick's news for the user, as the alert rules decide it, and the metered switch.
    void announceAlerts(const SessionTick &tick);
    void startMonitoring();
    void setAlwaysOnTop(bool alwaysOnTop);
    void createLatencyProbe();
    // "Set bucket from provider...": a dialog asks for the provider's figure.
    void askBucketFromProvider();
    // "History...": the open history window comes forward; otherwise a new one reads the history.
    void showHistory();
    // Where the session's finished minutes and the corrections are recorded.
    HistoryRecorder &history();
    // The bucket and the time now. Raises ProfileWriteError.
    void saveBucket();
    // The session's drain until the first tick; the level box follows unless the user typed in it.
    void drainWhileWaiting(const QDateTime &now);
    void showUsedBytes();
    // What the planner plans from: the plan, the bucket and the average speed of the moment.
    PlannerInputs plannerInputs(const QDateTime &now) const;
    // Every 10 s: the bucket, and the settings again while their last write failed.
    void periodicSave();
    // One write of "tarvo.ini". The first failure is shown (on standard error at shut-down),
    // later ones stay quiet until a write works again, which the status line says.
    bool writeFile(const std::function<void()> &write);

    // Steps that other parts of the program fill in.
    void writeStartAtLogon(); // the start-at-logon entry, at every confirmation
    void checkForUpdates();   // once, after the first confirmation

    OptionsWindow &m_options;
    MonitorWindow *m_monitor = nullptr;
    QTimer *m_autoConfirmTimer = nullptr; // once, just after the options window first shows
    QTimer *m_saveTimer = nullptr;        // the bucket every 10 s, from the start to the end
    QTimer *m_tickTimer = nullptr;        // every second from the first confirmation
    QTimer *m_pingTimer = nullptr;        // every 30 s from the first confirmation
    PublicAddressLookup *m_publicAddressLookup = nullptr; // "Add my public IP"
    DesktopNotifier *m_notifier = nullptr; // the alerts, on the desktop or at the monitor
    AlertCommands *m_alertCommands = nullptr; // the user's commands run at the alerts
    bool m_firstConfirmPending = true;
    bool m_firstActivationPending = true;
    PlannerWindow *m_planner = nullptr;
    ProgramsWindow *m_programs = nullptr;
    ProgramEnvironment m_environment;
    HistoryFileReader m_historyFile; // the file the recorder writes, beside "tarvo.ini"
    const UsageHistoryReader *m_historyReader = &m_historyFile;
    // A window of the monitor's, so that "Always on top" keeps it above the monitor; it goes when
    // closed, or with the monitor.
    QPointer<QWidget> m_historyWindow;
    HistoryWindowLoader m_historyWindowLoader; // the window's module, loaded when first opened
    QStringList m_deviceNames; // the capture devices, one per row of the adapter list
    std::unique_ptr<LatencyProbe> m_latencyProbe;
    std::unique_ptr<HistoryRecorder> m_history; // where the session's finished minutes go
    MonitoringSession m_session;
    QString m_shownUsedBytes;    // what the program last put into "Cumulative download in MB"
    bool m_saveFailing = false;  // the last write failed and has been reported
    bool m_settingsUnsaved = false; // the settings of the last confirmation are not in the file yet
    bool m_emptyBucketSaved = false; // the file's bucket is empty, as the live one was at the last save
    bool m_shuttingDown = false;
    uint64_t m_droppedShown = 0; // frames dropped by the capture that the status line has reported
    AlertRules m_alertRules;
    MeteredSwitch m_meteredSwitch; // the connection marked as metered while the bucket is high
};
