#include "capture/capturethread.h"

#include <QCoreApplication>

#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <memory>

namespace {

// Room for what the classifier reads of any link type (bytesRead), which the filter cuts to.
constexpr int kSnapshotLength = 96;
constexpr int kPromiscuous = 1;
constexpr auto kStatisticsInterval = std::chrono::seconds(1);

struct PcapCloser
{
    void operator()(pcap_t *handle) const noexcept { pcap_close(handle); }
};
using PcapHandle = std::unique_ptr<pcap_t, PcapCloser>;

QString deviceText(const QByteArray &device)
{
    return QString::fromLocal8Bit(device);
}

// The adapter's MTU; 0 when it has none of its own ("any") or the system does not say.
uint32_t mtuOf(const QByteArray &device)
{
    ifreq request{};
    if (device.size() >= qsizetype(sizeof request.ifr_name))
        return 0;
    std::copy(device.begin(), device.end(), request.ifr_name);
    const int probe = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (probe < 0)
        return 0;
    const bool known = ::ioctl(probe, SIOCGIFMTU, &request) == 0 && request.ifr_mtu > 0;
    ::close(probe);
    return known ? uint32_t(request.ifr_mtu) : 0;
}

} // namespace

std::variant<OpenedAdapter, QString> openAdapter(const QByteArray &device, int bufferBytes)
{
    const auto failure = [](const QString &reason) { return QCoreApplication::translate("CaptureThread", "Could not open device\n%1").arg(reason); };
    char error[PCAP_ERRBUF_SIZE] = {};
    PcapHandle handle(pcap_create(device.constData(), error));
    if (!handle)
        return failure(QString::fromLocal8Bit(error));
    pcap_set_snaplen(handle.get(), kSnapshotLength);
    pcap_set_promisc(handle.get(), kPromiscuous);
    pcap_set_timeout(handle.get(), CaptureThread::readTimeoutMs);
    pcap_set_buffer_size(handle.get(), bufferBytes);
    // A positive status is a warning (promiscuous mode not supported on "any", for instance).
    if (const int status = pcap_activate(handle.get()); status < 0) {
        const QString summary = QString::fromLatin1(pcap_statustostr(status));
        const QString detail = QString::fromLocal8Bit(pcap_geterr(handle.get()));
        const QString more = detail.isEmpty() || detail == summary ? QString() : QStringLiteral(" (%1)").arg(detail);
        return failure(QStringLiteral("%1: %2%3").arg(deviceText(device), summary, more));
    }
    const int linkType = pcap_datalink(handle.get());
    const std::optional<LinkLayout> link = linkLayoutFor(linkType);
    if (!link)
        return failure(QCoreApplication::translate("CaptureThread", "%1 carries frames of type %2, which Tarvo cannot read")
                           .arg(deviceText(device), linkTypeName(linkType)));
    // Every frame is accepted and cut to what the classifier reads; the wire length stays whole.
    bpf_insn keepHeader = BPF_STMT(BPF_RET | BPF_K, bytesRead(*link));
    bpf_program program{1, &keepHeader};
    if (pcap_setfilter(handle.get(), &program) != 0)
        return failure(QStringLiteral("%1: %2").arg(deviceText(device),
                                                    QString::fromLocal8Bit(pcap_geterr(handle.get()))));
    return OpenedAdapter{handle.release(), *link, mtuOf(device)};
}

CaptureThread::CaptureThread(CaptureContext context, QByteArray device, QObject *parent)
    : QThread(parent)
    , m_context(std::move(context))
    , m_device(std::move(device))
{
}

CaptureThread::~CaptureThread()
{
    stop();
}

void CaptureThread::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        if (m_handle)
            pcap_breakloop(m_handle);
    }
    m_wake.notify_all();
    wait();
}

CaptureStatistics CaptureThread::statistics() const noexcept
{
    return {m_captured.load(std::memory_order_relaxed), m_dropped.load(std::memory_order_relaxed)};
}

bool CaptureThread::publish(pcap_t *handle)
{
    std::lock_guard lock(m_mutex);
    if (m_stopping) {
        pcap_close(handle);
        return false;
    }
    m_handle = handle;
    m_lastReceived = 0;
    m_lastDropped = 0;
    return true;
}

void CaptureThread::closeHandle()
{
    std::lock_guard lock(m_mutex);
    pcap_close(m_handle);
    m_handle = nullptr;
}

void CaptureThread::readStatistics(pcap_t *handle)
{
    pcap_stat stats{};
    if (pcap_stats(handle, &stats) != 0)
        return;
    // The library's fields are 32 bits and wrap; their differences are not affected.
    m_captured.fetch_add(uint32_t(stats.ps_recv - m_lastReceived), std::memory_order_relaxed);
    m_dropped.fetch_add(uint32_t(stats.ps_drop - m_lastDropped), std::memory_order_relaxed);
    m_lastReceived = stats.ps_recv;
    m_lastDropped = stats.ps_drop;
}

void CaptureThread::flush() noexcept
{
    m_context.flush();
    if (m_context.pendingFlows)
        m_context.pendingFlows->flush();
}

bool CaptureThread::capture(pcap_t *handle)
{
    auto lastRead = std::chrono::steady_clock::now();
    int status;
    while ((status = pcap_dispatch(handle, -1, classifyFrame, reinterpret_cast<u_char *>(&m_context))) >= 0) {
        flush();
        if (const auto now = std::chrono::steady_clock::now(); now - lastRead >= kStatisticsInterval) {
            readStatistics(handle);
            lastRead = now;
        }
    }
    flush();
    readStatistics(handle);
    return status != PCAP_ERROR_BREAK;
}

QString CaptureThread::stoppedMessage(pcap_t *handle) const
{
    if (::if_nametoindex(m_device.constData()) == 0)
        return QCoreApplication::translate("CaptureThread", "Capture stopped: %1 is gone").arg(deviceText(m_device));
    return QCoreApplication::translate("CaptureThread", "Capture stopped: %1: %2")
        .arg(deviceText(m_device), QString::fromLocal8Bit(pcap_geterr(handle)));
}

void CaptureThread::run()
{
    auto opened = openAdapter(m_device, defaultBufferBytes);
    if (const auto *message = std::get_if<QString>(&opened)) {
        Q_EMIT openFailed(*message);
        return;
    }
    for (;;) {
        const OpenedAdapter adapter = std::get<OpenedAdapter>(opened);
        m_context.link = adapter.link;
        m_context.mtu = adapter.mtu;
        if (!publish(adapter.handle) || !capture(adapter.handle)) {
            if (m_handle)
                closeHandle();
            return;
        }
        // The loop failed: the adapter went away or went down. Try again until stop().
        Q_EMIT captureStopped(stoppedMessage(adapter.handle));
        closeHandle();
        for (;;) {
            {
                std::unique_lock lock(m_mutex);
                if (m_wake.wait_for(lock, std::chrono::milliseconds(m_reopenIntervalMs), [this] { return m_stopping; }))
                    return;
            }
            opened = openAdapter(m_device, defaultBufferBytes);
            if (std::holds_alternative<OpenedAdapter>(opened))
                break;
        }
        Q_EMIT captureResumed(QCoreApplication::translate("CaptureThread", "Capture resumed: %1 is back").arg(deviceText(m_device)));
    }
}
