#pragma once

#include "capture/classifier.h"

#include <QByteArray>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <variant>

// What the capture library has counted on the adapter since the capture started.
struct CaptureStatistics
{
    uint64_t captured = 0; // frames handed to the program
    uint64_t dropped = 0;  // frames lost because the program did not keep up
};

// An adapter opened for capture, or the message that says why it could not be.
struct OpenedAdapter
{
    pcap_t *handle = nullptr;
    LinkLayout link;
    uint32_t mtu = 0; // the adapter's; 0 when it has none of its own ("any")
};
// Opens `device` with a ring of `bufferBytes` and a filter that keeps only the bytes the
// classifier reads. The message is for the user; the handle is the caller's to close.
std::variant<OpenedAdapter, QString> openAdapter(const QByteArray &device, int bufferBytes);

// The capture thread: opens the adapter named at its creation and hands every frame to
// classifyFrame until stop(). When the adapter goes away it says so, tries to open the same
// device again every few seconds, and says so again when it is back. Nothing here touches a
// widget; what the user must learn is reported by signal.
class CaptureThread : public QThread
{
    Q_OBJECT

public:
    static constexpr int readTimeoutMs = 1000; // the longest a received frame waits in the library
    static constexpr int defaultReopenIntervalMs = 3000;
    static constexpr int defaultBufferBytes = 16 * 1024 * 1024;

    CaptureThread(CaptureContext context, QByteArray device, QObject *parent = nullptr);
    ~CaptureThread() override;

    // Breaks the capture loop (or the wait for the device) and joins the thread; afterwards the
    // callback never runs again.
    void stop();

    // From any thread: the library's totals, read on the capture thread about once a second
    // and at every end of the capture.
    CaptureStatistics statistics() const noexcept;

    void setReopenInterval(int milliseconds) { m_reopenIntervalMs = milliseconds; }

Q_SIGNALS:
    // The adapter could not be opened at the start; the thread has ended.
    void openFailed(const QString &message);
    // The capture stopped while running ("Capture stopped: eth0 is gone"); reopening goes on.
    void captureStopped(const QString &message);
    // The device was opened again after a stop.
    void captureResumed(const QString &message);

protected:
    void run() override;

private:
    // Runs the loop on `handle` until it ends; false when stop() ended it.
    bool capture(pcap_t *handle);
    void readStatistics(pcap_t *handle);
    // The batch's counts, and its flows when the context counts them.
    void flush() noexcept;
    // Publishes the handle for stop(); false (and the handle closed) when stop() came first.
    bool publish(pcap_t *handle);
    void closeHandle();
    QString stoppedMessage(pcap_t *handle) const;

    CaptureContext m_context;
    const QByteArray m_device;
    int m_reopenIntervalMs = defaultReopenIntervalMs;

    std::mutex m_mutex; // guards m_handle and m_stopping
    std::condition_variable m_wake;
    pcap_t *m_handle = nullptr;
    bool m_stopping = false;

    // The library's 32-bit counts of the current handle, and the 64-bit totals they feed.
    uint32_t m_lastReceived = 0;
    uint32_t m_lastDropped = 0;
    std::atomic<uint64_t> m_captured{0};
    std::atomic<uint64_t> m_dropped{0};
};
