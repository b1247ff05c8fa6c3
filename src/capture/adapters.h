#pragma once

#include <pcap/pcap.h>

#include <QString>
#include <QStringList>

#include <memory>

struct PcapDeviceListDeleter
{
    void operator()(pcap_if_t *devices) const noexcept { pcap_freealldevs(devices); }
};
using PcapDeviceList = std::unique_ptr<pcap_if_t, PcapDeviceListDeleter>;

// The capture library's devices, in its order, with the row the user sees for each.
struct AdapterEnumeration
{
    PcapDeviceList devices;
    QStringList rows;
    QString error; // the library's text when the enumeration failed
};

AdapterEnumeration enumerateAdapters();

// Linux devices rarely carry a description, so the device name always follows in parentheses:
// "No description available (eth0)".
QString adapterRowText(const char *description, const char *name);

// The device of row `index`, counted from 0 along the library's list; null when there is none.
const pcap_if_t *deviceAt(const pcap_if_t *devices, int index) noexcept;
