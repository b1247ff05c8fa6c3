#include "capture/adapters.h"

AdapterEnumeration enumerateAdapters()
{
    AdapterEnumeration result;
    pcap_if_t *devices = nullptr;
    char error[PCAP_ERRBUF_SIZE] = {};
    if (pcap_findalldevs(&devices, error) == -1) {
        result.error = QString::fromLocal8Bit(error);
        return result;
    }
    result.devices.reset(devices);
    for (const pcap_if_t *device = devices; device; device = device->next)
        result.rows.append(adapterRowText(device->description, device->name));
    return result;
}

QString adapterRowText(const char *description, const char *name)
{
    const QString text = description ? QString::fromLocal8Bit(description) : QStringLiteral("No description available");
    return text + QStringLiteral(" (") + QString::fromLocal8Bit(name) + QLatin1Char(')');
}

const pcap_if_t *deviceAt(const pcap_if_t *devices, int index) noexcept
{
    if (index < 0)
        return nullptr;
    const pcap_if_t *device = devices;
    for (int i = 0; device && i < index; ++i)
        device = device->next;
    return device;
}
