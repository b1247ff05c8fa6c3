#pragma once

#include <QString>
#include <QStringList>

// The capture library's devices, in its order: the row the user sees for each and its name.
struct AdapterEnumeration
{
    QStringList rows;
    QStringList deviceNames;
    QString error; // the library's text when the enumeration failed
};

AdapterEnumeration enumerateAdapters();

// What a row says of a device the capture library does not describe: its kind and its first
// IPv4 address, either of them may be empty.
struct AdapterFacts
{
    QString kind; // "Ethernet", "Wi-Fi", ...
    QString ipv4; // "192.168.1.10"
};

// The kind of the network device whose folder under /sys/class/net is `deviceFolder`: from its
// "type" (the ARPHRD number) and the folders and files that mark wireless, bridged, bonded and
// tun devices. Empty when the folder says nothing known.
QString adapterKind(const QString &deviceFolder);

// Linux devices rarely carry a description, so the device name always follows in parentheses.
// Without a description the facts stand in: "Ethernet, 192.168.1.10 (eth0)"; without those
// either, "No description available (eth0)".
QString adapterRowText(const char *description, const char *name, const AdapterFacts &facts = {});

// The row to select at load. Devices come and go between runs, so the stored device name
// decides; a gone device selects nothing (-1) rather than another one. Only a file written
// before names were stored (`storedName` empty) falls back to the stored row.
int adapterRowFor(const QStringList &deviceNames, const QString &storedName, int storedRow);
