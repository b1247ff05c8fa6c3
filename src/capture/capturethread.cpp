#include "capture/capturethread.h"

namespace {
constexpr int kSnapshotLength = 65536;
constexpr int kPromiscuous = 1;
constexpr int kReadTimeoutMs = 1000;
} // namespace

CaptureThread::CaptureThread(CaptureContext context, PcapDeviceList devices, int adapterIndex, QObject *parent)
    : QThread(parent)
    , m_context(context)
    , m_devices(std::move(devices))
    , m_adapterIndex(adapterIndex)
{
}

CaptureThread::~CaptureThread()
{
    stop();
}

void CaptureThread::stop()
{
    {
        std::lock_guard lock(m_handleMutex);
        m_stopping = true;
        if (m_handle)
            pcap_breakloop(m_handle);
    }
    wait();
    if (m_handle) {
        pcap_close(m_handle);
        m_handle = nullptr;
    }
}

void CaptureThread::run()
{
    char error[PCAP_ERRBUF_SIZE] = {};
    const pcap_if_t *device = deviceAt(m_devices.get(), m_adapterIndex);
    pcap_t *handle = device ? pcap_open_live(device->name, kSnapshotLength, kPromiscuous, kReadTimeoutMs, error) : nullptr;
    m_devices.reset();
    if (!handle) {
        Q_EMIT openFailed(QStringLiteral("Could not open device\n") + QString::fromLocal8Bit(error));
        return;
    }
    {
        std::lock_guard lock(m_handleMutex);
        m_handle = handle;
        if (m_stopping)
            return;
    }
    // Returns on a capture failure (the adapter went away) or when stop() breaks the loop.
    pcap_loop(handle, 0, classifyFrame, reinterpret_cast<u_char *>(&m_context));
}
