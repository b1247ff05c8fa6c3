#include "settings/settingsfile.h"

#include "meter/alertrules.h"
#include "meter/meteredrule.h"
#include "meter/oledate.h"
#include "settings/alertsteps.h"

#include <algorithm>
#include <limits>
#include <variant>

namespace {

constexpr QStringView systemSection = u"System";
constexpr QStringView lanSection = u"LANIPS";
constexpr QStringView ignoredSection = u"IGNIPS";
constexpr QStringView alertsSection = u"Alerts";
const QString missingAddress = QStringLiteral("no ip defined");

// The type of the field says how its value is written: bool as a flag, int32_t as an integer,
// double as a float, QString as it stands, TrayStyle as 0 or 1, a QList<int> as alert steps.
using Field = std::variant<bool AppSettings::*, std::atomic<bool> AppSettings::*, int32_t AppSettings::*,
                           QString AppSettings::*, TrayStyle AppSettings::*, bool FapParameters::*,
                           int32_t FapParameters::*, double FapParameters::*, bool AlertConfig::*,
                           int32_t AlertConfig::*, QList<int> AlertConfig::*>;

struct Setting
{
    QStringView section;
    QStringView key;
    Field field;
    QStringView writtenKey = {}; // when the program writes the key in another case than it reads it
    // An integer outside these bounds reads as the default.
    int32_t minimum = std::numeric_limits<int32_t>::min();
    int32_t maximum = std::numeric_limits<int32_t>::max();
};

// Every key written at a confirmation, in the order of the load; the defaults are those of AppSettings.
const Setting settingsTable[] = {
    {systemSection, u"autoaxis", &AppSettings::chartAutoScale},
    {systemSection, u"histlenght", &AppSettings::chartHistorySeconds},
    {systemSection, u"AutoStart", &AppSettings::autoStart},
    {systemSection, u"sm", &AppSettings::startMinimized},
    {systemSection, u"OnTop", &AppSettings::alwaysOnTop},
    {systemSection, u"Plan", &AppSettings::planIndex, u"plan"},
    {systemSection, u"ShowOptions", &AppSettings::showOptionsAtStart},
    {u"Ping", u"url", &AppSettings::pingHost},
    {u"Ping", u"timeout", &AppSettings::pingTimeoutMs},
    {u"Ping", u"ttl", &AppSettings::pingTtl},
    {u"Ping", u"size", &AppSettings::pingPacketSize},
    {systemSection, u"use192", &AppSettings::useAll192168},
    {systemSection, u"use6", &AppSettings::useAdapterIpv6},
    {systemSection, u"useop", &FapParameters::offPeakEnabled},
    {systemSection, u"opst", &FapParameters::offPeakStart},
    {systemSection, u"opet", &FapParameters::offPeakEnd},
    {u"Alpha", u"alpha", &AppSettings::windowOpacity},
    {u"Tray", u"type", &AppSettings::trayStyle},
    {systemSection, u"faprecharge", &FapParameters::rechargeRate},
    {systemSection, u"fapmaxonp", &FapParameters::cutOffLimit},
    {systemSection, u"fapmaxoffp", &FapParameters::offPeakCutOffLimit},
    {systemSection, u"tsht", &FapParameters::throttleLimit},
    {systemSection, u"adapter", &AppSettings::adapterIndex},
    {systemSection, u"adaptername", &AppSettings::adapterName},
    {alertsSection, u"Enabled", &AlertConfig::enabled},
    {alertsSection, u"Steps", &AlertConfig::stepsPercent},
    {alertsSection, u"WarnMinutes", &AlertConfig::warnMinutes, {}, 0, 24 * 60},
    {alertsSection, u"MarkMetered", &AlertConfig::markMetered},
    {alertsSection, u"MeteredPercent", &AlertConfig::meteredPercent, {}, MeteredRule::lowestStep, 100},
};

template<typename Settings, typename T>
auto &fieldOf(Settings &settings, T AppSettings::*member)
{
    return settings.*member;
}

template<typename Settings, typename T>
auto &fieldOf(Settings &settings, T FapParameters::*member)
{
    return settings.fap.*member;
}

template<typename Settings, typename T>
auto &fieldOf(Settings &settings, T AlertConfig::*member)
{
    return settings.alerts.*member;
}

const AppSettings &defaults()
{
    static const AppSettings instance;
    return instance;
}

void readValue(const IniDocument &ini, const Setting &row, bool &field, bool fallback)
{
    field = ini.flag(row.section, row.key, fallback);
}
void readValue(const IniDocument &ini, const Setting &row, std::atomic<bool> &field, const std::atomic<bool> &fallback)
{
    field.store(ini.flag(row.section, row.key, fallback.load()));
}
void readValue(const IniDocument &ini, const Setting &row, int32_t &field, int32_t fallback)
{
    const int32_t value = ini.integer(row.section, row.key, fallback);
    field = value < row.minimum || value > row.maximum ? fallback : value;
}
void readValue(const IniDocument &ini, const Setting &row, double &field, double fallback)
{
    field = ini.floating(row.section, row.key, fallback);
}
void readValue(const IniDocument &ini, const Setting &row, QString &field, const QString &fallback)
{
    field = ini.string(row.section, row.key, fallback);
}
void readValue(const IniDocument &ini, const Setting &row, QList<int> &field, const QList<int> &fallback)
{
    const auto text = ini.value(row.section, row.key);
    field = text ? parseAlertSteps(*text).value_or(fallback) : fallback;
}
void readValue(const IniDocument &ini, const Setting &row, TrayStyle &field, TrayStyle fallback)
{
    field = ini.integer(row.section, row.key, int32_t(fallback)) == 0 ? TrayStyle::Text : TrayStyle::Graphic;
}

void writeValue(IniDocument &ini, QStringView section, QStringView key, bool value)
{
    ini.setFlag(section, key, value);
}
void writeValue(IniDocument &ini, QStringView section, QStringView key, const std::atomic<bool> &value)
{
    ini.setFlag(section, key, value.load());
}
void writeValue(IniDocument &ini, QStringView section, QStringView key, int32_t value)
{
    ini.setInteger(section, key, value);
}
void writeValue(IniDocument &ini, QStringView section, QStringView key, double value)
{
    ini.setFloat(section, key, value);
}
void writeValue(IniDocument &ini, QStringView section, QStringView key, const QString &value)
{
    ini.setString(section, key, value);
}
void writeValue(IniDocument &ini, QStringView section, QStringView key, const QList<int> &value)
{
    ini.setString(section, key, formatAlertSteps(value));
}
void writeValue(IniDocument &ini, QStringView section, QStringView key, TrayStyle value)
{
    ini.setInteger(section, key, int32_t(value));
}

int32_t readCount(const IniDocument &ini, QStringView key)
{
    return std::clamp(ini.integer(systemSection, key, 0), 0, maxListCount);
}

QString entryKey(qsizetype index)
{
    return QStringLiteral("IP%1").arg(index);
}

QStringList readList(const IniDocument &ini, QStringView countKey, QStringView section)
{
    const int32_t count = readCount(ini, countKey);
    QStringList entries;
    entries.reserve(count);
    for (int32_t i = 0; i < count; ++i)
        entries.append(ini.string(section, entryKey(i), missingAddress));
    return entries;
}

// Entries beyond the new count stay in the file; the count keeps them from being read.
void writeEntries(IniDocument &ini, QStringView section, const QStringList &entries)
{
    for (qsizetype i = 0; i < entries.size(); ++i)
        ini.setString(section, entryKey(i), entries[i]);
}

// The alert commands: the shared one, then each kind's own.
template<typename Visit>
void forEachAlertCommand(Visit visit)
{
    visit(sharedAlertCommandKey, &AlertConfig::command);
    for (const AlertKindCommand &row : alertKindCommands)
        visit(row.key, row.command);
}

} // namespace

QString settingsPath(const QString &folder)
{
    return folder + QStringLiteral("tarvo.ini");
}

void loadSettings(const IniDocument &ini, AppSettings &settings)
{
    for (const Setting &row : settingsTable) {
        std::visit([&](auto member) { readValue(ini, row, fieldOf(settings, member), fieldOf(defaults(), member)); },
                   row.field);
    }
    forEachAlertCommand([&](QStringView key, QString AlertConfig::*command) {
        settings.alerts.*command = ini.string(alertsSection, key, QString());
    });
    settings.lanAddresses.assign(readList(ini, u"lanIPCount", lanSection));
    settings.ignoredAddresses.assign(readList(ini, u"ignIPCount", ignoredSection));
}

void writeSettings(IniDocument &ini, const AppSettings &settings)
{
    for (const Setting &row : settingsTable) {
        const QStringView key = row.writtenKey.isEmpty() ? row.key : row.writtenKey;
        std::visit([&](auto member) { writeValue(ini, row.section, key, fieldOf(settings, member)); }, row.field);
    }
    // Only the commands in use appear in the file; one that was there is emptied, not left behind.
    forEachAlertCommand([&](QStringView key, QString AlertConfig::*command) {
        const QString &line = settings.alerts.*command;
        if (!line.isEmpty() || ini.value(alertsSection, key))
            ini.setString(alertsSection, key, line);
    });
    const QStringList lan = settings.lanAddresses.entries();
    const QStringList ignored = settings.ignoredAddresses.entries();
    ini.setInteger(systemSection, u"lanIPCount", int32_t(lan.size()));
    ini.setInteger(systemSection, u"ignIPCount", int32_t(ignored.size()));
    writeEntries(ini, lanSection, lan);
    writeEntries(ini, ignoredSection, ignored);
}

void saveSettings(const QString &path, const AppSettings &settings)
{
    IniDocument ini = IniDocument::readForWrite(path);
    writeSettings(ini, settings);
    ini.save(path);
}

FapState loadFapState(const IniDocument &ini)
{
    FapState state;
    // -1 is what an unset bucket was stored as; no other negative content makes sense either.
    state.usedBytes = std::max(ini.integer(systemSection, u"fapbytes", 0), 0);
    state.lastShut = ini.floating(systemSection, u"lastshut", noLastUse);
    return state;
}

void saveFapState(const QString &path, const QDateTime &now, int32_t usedBytes)
{
    IniDocument ini = IniDocument::readForWrite(path);
    ini.setFloat(systemSection, u"lastshut", oleDate(now));
    ini.setInteger(systemSection, u"fapbytes", usedBytes);
    ini.save(path);
}
