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

// Linux devices rarely carry a description, so the device name always follows in parentheses:
// "No description available (eth0)".
QString adapterRowText(const char *description, const char *name);

// The row to select at load. Devices come and go between runs, so the stored device name
// decides; a gone device selects nothing (-1) rather than another one. Only a file written
// before names were stored (`storedName` empty) falls back to the stored row.
int adapterRowFor(const QStringList &deviceNames, const QString &storedName, int storedRow);
