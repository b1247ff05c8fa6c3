#include "capture/adapters.h"

#include <pcap/pcap.h>

AdapterEnumeration enumerateAdapters()
{
    AdapterEnumeration result;
    pcap_if_t *devices = nullptr;
    char error[PCAP_ERRBUF_SIZE] = {};
    if (pcap_findalldevs(&devices, error) == -1) {
        result.error = QString::fromLocal8Bit(error);
        return result;
    }
    for (const pcap_if_t *device = devices; device; device = device->next) {
        result.rows.append(adapterRowText(device->description, device->name));
        result.deviceNames.append(QString::fromLocal8Bit(device->name));
    }
    pcap_freealldevs(devices);
    return result;
}

QString adapterRowText(const char *description, const char *name)
{
    const QString text = description ? QString::fromLocal8Bit(description) : QStringLiteral("No description available");
    return text + QStringLiteral(" (") + QString::fromLocal8Bit(name) + QLatin1Char(')');
}

int adapterRowFor(const QStringList &deviceNames, const QString &storedName, int storedRow)
{
    if (!storedName.isEmpty())
        return int(deviceNames.indexOf(storedName));
    return storedRow >= 0 && storedRow < deviceNames.size() ? storedRow : -1;
}
