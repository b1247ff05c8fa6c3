#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <variant>

struct AppSettings;
struct FapState;

// `tarvo-cli replay [--ini FILE] [--used BYTES] [--lan ADDR]... [--ignore ADDR]... [--no-192]
// CAPTURE.pcap`, as read from its arguments.
struct ReplayOptions
{
    QString settingsFile;             // --ini; empty: the defaults of "tarvo.ini"
    std::optional<int32_t> usedBytes; // --used; otherwise "fapbytes" of the settings
    QStringList lanAddresses;         // --lan, added to the settings' list
    QStringList ignoredAddresses;     // --ignore, likewise
    bool no192 = false;               // --no-192: the 192.168 rule off
    QString capturePath;
};

// The arguments after "replay"; a bad option gives its one-line message instead.
std::variant<ReplayOptions, QString> parseReplayOptions(const QStringList &arguments);

// The settings a replay or a watch starts from and the bucket saved in them ("fapbytes",
// "lastshut"). A file that cannot be read gives its one-line message.
std::optional<QString> readReplaySettings(const QString &path, AppSettings &settings, FapState &fap);

// Runs the capture through the classifier and the meter, one CSV line per tick after a header.
// The whole output or, on failure, nothing but the one-line message.
std::variant<QByteArray, QString> runReplay(const ReplayOptions &options);
