#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <variant>

struct AppSettings;
struct FapState;

// `tarvo-cli replay [--ini FILE] [--used BYTES] [--lan ADDR]... [--ignore ADDR]... [--no-192]
// [--mtu BYTES] CAPTURE.pcap`, as read from its arguments.
struct ReplayOptions
{
    QString settingsFile;             // --ini; empty: the defaults of "tarvo.ini"
    std::optional<int32_t> usedBytes; // --used; otherwise "fapbytes" of the settings
    QStringList lanAddresses;         // --lan, added to the settings' list
    QStringList ignoredAddresses;     // --ignore, likewise
    bool no192 = false;               // --no-192: the 192.168 rule off
    // --mtu: the captured adapter's, for the merged TCP frames a capture of a real adapter holds;
    // 0 counts every frame as captured.
    uint32_t mtu = 1500;
    static constexpr uint32_t largestMtu = 1 << 20;
    QString capturePath;
    // A frame this long after the first is taken for a broken timestamp; the fuzz target, whose
    // time is short, makes it an hour.
    int64_t longestSpanSeconds = 31 * 86400;
};

// The arguments after "replay"; a bad option gives its one-line message instead.
std::variant<ReplayOptions, QString> parseReplayOptions(const QStringList &arguments);

// The settings a replay or a watch starts from and the bucket saved in them ("fapbytes",
// "lastshut"). A file that cannot be read, or one larger than IniDocument::maxFileSize, gives its
// one-line message.
std::optional<QString> readReplaySettings(const QString &path, AppSettings &settings, FapState &fap);

// Runs the capture through the classifier and the meter and writes to `out` a header and one CSV
// line per tick, each as it is made, so a month of capture time needs no more memory than a
// minute. On a fault the lines written stand and the one-line message is returned.
std::optional<QString> runReplay(const ReplayOptions &options, std::FILE *out);
