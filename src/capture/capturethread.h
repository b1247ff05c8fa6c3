#pragma once

#include "capture/adapters.h"
#include "capture/classifier.h"

#include <QThread>

#include <mutex>

// The capture thread: opens the chosen adapter and hands every frame to classifyFrame until
// stop() breaks the loop. Nothing here touches a widget; failures are reported by signal.
class CaptureThread : public QThread
{
    Q_OBJECT

public:
    CaptureThread(CaptureContext context, PcapDeviceList devices, int adapterIndex, QObject *parent = nullptr);
    ~CaptureThread() override;

    // Breaks the capture loop and joins the thread; afterwards the callback never runs again.
    void stop();

Q_SIGNALS:
    // The adapter could not be opened; `message` is for the user.
    void openFailed(const QString &message);

protected:
    void run() override;

private:
    CaptureContext m_context;
    PcapDeviceList m_devices; // released once the device is open
    const int m_adapterIndex;
    std::mutex m_handleMutex;
    pcap_t *m_handle = nullptr;
    bool m_stopping = false;
};
