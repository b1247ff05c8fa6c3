// Any bytes as "tarvo.ini" and as "plans.ini": the read keeps every byte, the settings read from
// it survive a write and a read back unchanged, and a save puts exactly the document on disk.
#include "settings/appsettings.h"
#include "settings/plans.h"
#include "settings/profile.h"
#include "settings/settingsfile.h"

#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <unistd.h>

namespace {

QByteArray settingsBytes(const AppSettings &settings)
{
    IniDocument written = IniDocument::fromBytes({});
    writeSettings(written, settings);
    return written.bytes();
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // tmpfs where there is one, so the flush of every save costs nothing.
    static const QString folder = [] {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        static const QString made = base + QStringLiteral("/tarvo-fuzz-profile-%1").arg(getpid());
        QDir().mkpath(made);
        std::atexit([] { QDir(made).removeRecursively(); });
        return made;
    }();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    IniDocument ini = IniDocument::fromBytes(bytes);
    check(ini.bytes() == bytes);
    AppSettings loaded;
    loadSettings(ini, loaded);
    const FapState fap = loadFapState(ini);

    writeSettings(ini, loaded);
    ini.setInteger(u"System", u"fapbytes", fap.usedBytes);
    AppSettings readBack;
    loadSettings(IniDocument::fromBytes(ini.bytes()), readBack);
    check(settingsBytes(readBack) == settingsBytes(loaded));
    check(loadFapState(IniDocument::fromBytes(ini.bytes())).usedBytes == fap.usedBytes);

    const QString settingsFile = folder + QStringLiteral("/tarvo.ini");
    ini.save(settingsFile);
    QFile saved(settingsFile);
    check(saved.open(QIODevice::ReadOnly) && saved.readAll() == ini.bytes());

    const QString plansFile = folder + QStringLiteral("/plans.ini");
    QFile plans(plansFile);
    if (plans.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        plans.write(bytes);
        plans.close();
        const QStringList names = readPlanNames(plansFile);
        (void)readPlan(plansFile, 0);
        (void)readPlan(plansFile, int32_t(names.size()) - 1);
    }
    return 0;
}
