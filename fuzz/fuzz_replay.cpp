// tarvo-cli replay on any capture-file bytes: no crash, no read out of bounds, no hang.
#include "replay.h"

#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = [] {
        static const QString made = QDir::temp().filePath(QStringLiteral("tarvo-fuzz-replay-%1.pcap").arg(getpid()));
        std::atexit([] { QFile::remove(made); });
        return made;
    }();
    static std::FILE *sink = std::fopen("/dev/null", "w");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();
    ReplayOptions options;
    options.capturePath = path;
    options.lanAddresses = {QStringLiteral("10.0.0.2")};
    options.longestSpanSeconds = 3600;
    (void)runReplay(options, sink);
    return 0;
}
