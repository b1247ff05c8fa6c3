#pragma once

#include "settings/appsettings.h"
#include "settings/profile.h"

#include <QDateTime>
#include <QString>

#include <cstdint>

// "tarvo.ini": every setting, the two address lists and the bucket.

inline constexpr int32_t maxListCount = 10000; // a damaged count cannot make a load read billions of keys
inline constexpr double noLastUse = -1.0;      // "lastshut" when no time of saving is known

QString settingsPath(const QString &folder);

// Every setting of the file into `settings`; a missing key or a value that does not parse gives
// the setting's default.
void loadSettings(const IniDocument &ini, AppSettings &settings);
// The settings written at every confirmation, in `ini` ...
void writeSettings(IniDocument &ini, const AppSettings &settings);
// ... and in the file at `path` in one crash-safe replacement. Raises ProfileWriteError.
void saveSettings(const QString &path, const AppSettings &settings);

// The bucket as the last run left it.
struct FapState
{
    int32_t usedBytes = 0;
    double lastShut = noLastUse; // OLE date of the last save
};
FapState loadFapState(const IniDocument &ini);
// Writes "lastshut" = now and "fapbytes" = usedBytes. Raises ProfileWriteError.
void saveFapState(const QString &path, const QDateTime &now, int32_t usedBytes);
