#pragma once

#include "config/optionsform.h"
#include "core/adapters.h"
#include "core/appsettings.h"
#include "core/trafficcounters.h"
#include "meter/fapmeter.h"

#include <QWidget>

#include <memory>

class TfrmGui;
class TSniffThread;

// The options window, and the program's main window: it owns the settings, the counters, the
// bucket and the capture thread; closing it ends the program.
class TfrmMain : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmMain(QWidget *parent = nullptr);
    ~TfrmMain() override;

    // The monitor window is created after this one and handed over before the message loop runs.
    void setMonitor(TfrmGui *monitor) { m_monitor = monitor; }

    // Breaks the capture loop and joins the thread; the counters, the bucket and the lists
    // stay valid until this window is destroyed.
    void stopCapture();

    bool captureStarted() const { return m_sniffThread != nullptr; }
    const TSniffThread *sniffThread() const { return m_sniffThread.get(); }

    AppSettings settings;
    TrafficCounters counters;
    FapMeter meter;
    bool firstConfirmPending = true;
    bool firstActivationPending = true;
    OptionsForm ui;

public Q_SLOTS:
    void Button1Click();
    void Button2Click();
    void BitBtn1Click();
    void BitBtn2Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void startCapture();

    PcapDeviceList m_devices; // kept from enumeration until the capture thread opens its device
    std::unique_ptr<TSniffThread> m_sniffThread;
    TfrmGui *m_monitor = nullptr;
};
