#include "capture/adapters.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <pcap/pcap.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace {

// The first IPv4 address the library lists for the device.
QString firstIpv4(const pcap_addr_t *addresses)
{
    for (const pcap_addr_t *address = addresses; address; address = address->next) {
        if (address->addr && address->addr->sa_family == AF_INET) {
            char text[INET_ADDRSTRLEN] = {};
            const auto *inet = reinterpret_cast<const sockaddr_in *>(address->addr);
            if (inet_ntop(AF_INET, &inet->sin_addr, text, sizeof text))
                return QString::fromLatin1(text);
        }
    }
    return {};
}

} // namespace

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
        const QString name = QString::fromLocal8Bit(device->name);
        const AdapterFacts facts{adapterKind(QStringLiteral("/sys/class/net/") + name), firstIpv4(device->addresses)};
        result.rows.append(adapterRowText(device->description, device->name, facts));
        result.deviceNames.append(QString::fromLocal8Bit(device->name));
    }
    pcap_freealldevs(devices);
    return result;
}

QString adapterKind(const QString &deviceFolder)
{
    const QDir folder(deviceFolder);
    const auto has = [&folder](const char *entry) { return QFileInfo::exists(folder.filePath(QLatin1String(entry))); };
    if (has("wireless") || has("phy80211"))
        return QStringLiteral("Wi-Fi");
    if (has("bridge"))
        return QCoreApplication::translate("Adapters", "Bridge");
    if (has("bonding"))
        return QCoreApplication::translate("Adapters", "Bond");
    if (has("tun_flags"))
        return QCoreApplication::translate("Adapters", "Tunnel");
    QFile typeFile(folder.filePath(QStringLiteral("type")));
    if (!typeFile.open(QIODevice::ReadOnly))
        return {};
    bool isNumber = false;
    const int type = typeFile.readLine(16).trimmed().toInt(&isNumber);
    if (!isNumber)
        return {};
    switch (type) {
    case 1: // ARPHRD_ETHER: a device behind it is a card, none a virtual one (veth, ifb, dummy)
        return has("device") ? QStringLiteral("Ethernet") : QCoreApplication::translate("Adapters", "Virtual Ethernet");
    case 512: // ARPHRD_PPP
        return QStringLiteral("PPP");
    case 772: // ARPHRD_LOOPBACK
        return QStringLiteral("Loopback");
    case 776: // ARPHRD_SIT
    case 778: // ARPHRD_IPGRE
    case 65534: // ARPHRD_NONE: tun, wireguard
        return QCoreApplication::translate("Adapters", "Tunnel");
    default:
        return {};
    }
}

QString adapterRowText(const char *description, const char *name, const AdapterFacts &facts)
{
    QStringList parts;
    for (const QString &fact : {facts.kind, facts.ipv4}) {
        if (!fact.isEmpty())
            parts.append(fact);
    }
    const QString text = description     ? QString::fromLocal8Bit(description)
                         : parts.isEmpty() ? QCoreApplication::translate("Adapters", "No description available")
                                           : parts.join(QStringLiteral(", "));
    return text + QStringLiteral(" (") + QString::fromLocal8Bit(name) + QLatin1Char(')');
}

int adapterRowFor(const QStringList &deviceNames, const QString &storedName, int storedRow)
{
    if (!storedName.isEmpty())
        return int(deviceNames.indexOf(storedName));
    return storedRow >= 0 && storedRow < deviceNames.size() ? storedRow : -1;
}
