#pragma once

#include "capture/capturethread.h"
#include "meter/fapmeter.h"
#include "meter/trafficcounters.h"
#include "settings/appsettings.h"

#include <QElapsedTimer>
#include <QTest>

#include <functional>
#include <limits>
#include <mutex>

// Waits, with the event loop running, until `condition` holds; false after `timeoutMs`.
inline bool waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QTest::qWait(20);
    }
    return true;
}

// A capture thread on `device` with state of its own: `lan` is the LAN list (the 192.168 rule
// off) and `adapterNetworks` the adapter's IPv6 networks; each LAN host's download goes to
// `hosts`. Its open failure is kept; start() runs it in the calling thread's network namespace.
struct LiveCapture
{
    LiveCapture(const QByteArray &device, const QStringList &lan, const QStringList &adapterNetworks = {})
        : thread(contextOf(adapterNetworks), device)
    {
        meter.setActiveLimit(std::numeric_limits<int32_t>::max());
        settings.useAll192168 = false;
        settings.lanAddresses.assign(lan);
        QObject::connect(&thread, &CaptureThread::openFailed, &thread, [this](const QString &message) {
            std::lock_guard lock(mutex);
            failure = message;
        }, Qt::DirectConnection);
    }
    void start() { thread.start(); }
    QString failed()
    {
        std::lock_guard lock(mutex);
        return failure;
    }

    AppSettings settings;
    TrafficCounters counters;
    FapMeter meter;
    HostCounters hosts;
    CaptureThread thread;
    std::mutex mutex;
    QString failure;

private:
    CaptureContext contextOf(const QStringList &adapterNetworks)
    {
        CaptureContext context{settings, counters, meter, hosts};
        context.adapterNetworks->assign(adapterNetworks);
        return context;
    }
};
