#pragma once

#include "config/oledate.h"
#include "config/optionsform.h"
#include "config/settingsfile.h"
#include "core/adapters.h"
#include "core/appsettings.h"
#include "core/trafficcounters.h"
#include "meter/fapmeter.h"

#include <QWidget>

#include <functional>
#include <memory>

class QTimer;
class TfrmGui;
class TSniffThread;
struct OptionValues;

// What the program takes from its surroundings; tests give a directory of their own and a fixed "now".
struct ProgramEnvironment
{
    QString directory = programDirectory(); // with its trailing separator
    std::function<double()> now = oleNow;   // the local date-time as an OLE date
};

// The options window, and the program's main window: it owns the settings, the counters, the
// bucket and the capture thread; closing it ends the program.
class TfrmMain : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmMain(ProgramEnvironment environment = {}, QWidget *parent = nullptr);
    ~TfrmMain() override;

    // The monitor window is created after this one and handed over before the message loop runs.
    void setMonitor(TfrmGui *monitor) { m_monitor = monitor; }

    // Breaks the capture loop and joins the thread; the counters, the bucket and the lists
    // stay valid until this window is destroyed.
    void stopCapture();

    // The window is shown maximised every time.
    void showMaximisedWindow();

    // The monitor window's "Options...": the live bucket into "Cumulative download in MB", the
    // monitor window hidden, this window shown.
    void showFromMonitor();
    // The monitor window's "Always on top" entry was toggled: the box follows it.
    void alwaysOnTopToggled(bool on);

    bool captureStarted() const { return m_sniffThread != nullptr; }
    const TSniffThread *sniffThread() const { return m_sniffThread.get(); }

    AppSettings settings;
    TrafficCounters counters;
    FapMeter meter;
    bool firstConfirmPending = true;
    bool firstActivationPending = true;
    // The load found the time of the last save; without it the options wait for the user.
    bool lastUseKnown = false;
    OptionsForm ui;
    QTimer *Timer1 = nullptr; // the automatic confirmation after the first activation
    QTimer *Timer2 = nullptr; // saves the bucket every 10 s from creation to exit

    const QString &programDir() const { return m_environment.directory; }

public Q_SLOTS:
    void Button1Click();
    void Button2Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void Button3Click();
    void CheckBox6Click();
    void ComboBox1Change();
    void Timer1Timer();
    void Timer2Timer();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormActivate();
    void FormDestroy();
    void startCapture();

    // The settings load of the start: the plans, "tarvo.ini", the bucket and its catch-up.
    void loadSettingsFile();
    // The loaded settings into the controls.
    void showSettings();
    void showUsedBytes();
    // Every setting a confirmation writes. Raises ProfileWriteError.
    void saveSettingsFile();
    // The bucket and the time now. Raises ProfileWriteError.
    void save();

    void addAddress(const AddressEditor &editor, LiveAddressList &list);
    void deleteAddress(const AddressEditor &editor, LiveAddressList &list);
    void takeNumbers(const OptionValues &values);
    void takeRemainingSettings();

    // Steps that other parts of the program fill in.
    void applyToMonitor();     // opacity, the "Always on top" check mark, the chart's axis
    void writeStartAtLogon();  // the start-at-logon entry, at every confirmation
    void checkForUpdates();    // once, after the first confirmation

    ProgramEnvironment m_environment;

    PcapDeviceList m_devices; // kept from enumeration until the capture thread opens its device
    std::unique_ptr<TSniffThread> m_sniffThread;
    TfrmGui *m_monitor = nullptr;
};
