#pragma once

#include "meter/alertconfig.h"
#include "meter/fapmeter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// One tick's figures the rules look at: the bucket after its step and the capture's state.
struct AlertReading
{
    QDateTime now;              // the tick's moment
    Restriction restriction = Restriction::None;
    int64_t usedBytes = 0;
    int32_t throttleLimit = 0;
    double bytesToCutOff = 0;
    std::optional<int64_t> secondsToThrottle; // reaching it while below, leaving it while above
    std::optional<int64_t> secondsToCutOff;   // while cut off: until the release
    std::optional<int64_t> fullRecoverySeconds;
    int64_t netRate = 0;        // bytes per second: positive drains, negative fills
    bool captureStopped = false;
    QString captureMessage;     // why it stopped, as the capture said it
    uint64_t droppedFrames = 0; // since the capture started
    QString topProgram;         // the program that downloaded most in the last hour; empty when not known
};

// The bucket's figures of its last tick; the capture's fields are the caller's to fill.
AlertReading alertReading(const QDateTime &now, const FapMeter &meter);

// The first tick above the throttle limit if the bucket goes on filling at the reading's net
// rate, counted as planDownload counts it for a download at that rate; none while it does not
// fill or is above already.
std::optional<int64_t> ticksToThrottle(const AlertReading &reading);

// One thing to tell the user.
struct Alert
{
    enum class Kind { Step, Warning, Throttled, CutOff, Recovered, CutOffReleased, CaptureStopped, FramesDropped };
    Kind kind;
    QString summary;
    QString body;
    bool urgent = false; // the desktop may keep it on screen until dismissed
};

// Each kind's name for an alert command (TARVO_ALERT), its own command's key in "tarvo.ini"
// [Alerts] and the field that keeps it.
struct AlertKindCommand
{
    Alert::Kind kind;
    QStringView name;
    QStringView key;
    QString AlertConfig::*command;
};
extern const std::array<AlertKindCommand, 8> alertKindCommands;
// The key of the command for every kind without one of its own.
inline constexpr QStringView sharedAlertCommandKey = u"Command";

// The command line an alert of `kind` runs: its own, else the shared one; empty for none.
QString alertCommandLine(const AlertConfig &config, Alert::Kind kind);
QStringView alertKindName(Alert::Kind kind);

// Decides, tick by tick, which changes of the bucket and the capture are news. Each alert comes
// once per crossing: a step or the throttle announced is announced again only after the level has
// gone back by a margin (hysteresis), so a level that hovers at a threshold says nothing more.
class AlertRules
{
    Q_DECLARE_TR_FUNCTIONS(AlertRules)

public:
    // The margin below a threshold that re-arms it, as a part of the throttle limit.
    static constexpr double rearmFraction = 0.02;
    // Dropped frames are told again only after this many ticks without new drops.
    static constexpr int dropQuietTicks = 300;
    // A stopped capture is told again only after it has run this many ticks again.
    static constexpr int captureRunTicks = 60;
    // "Throttled soon" waits until the projection has held this many ticks: a burst of a few
    // seconds moves the smoothed rate but is no news.
    static constexpr int warnHoldTicks = 30;

    explicit AlertRules(AlertConfig config = {}, QLocale locale = QLocale());

    // New settings: steps already passed stay quiet; nothing else is forgotten.
    void setConfig(const AlertConfig &config);
    const AlertConfig &config() const { return m_config; }

    // The alerts of one tick, most important last. Nothing while alerts are switched off, but the
    // state still follows, so switching them on does not replay old news.
    QList<Alert> tick(const AlertReading &reading);

private:
    // The highest step at or below `percent` of the way, -1 for none.
    int stepAt(double percent) const;
    void followCapture(const AlertReading &reading, QList<Alert> &alerts);
    void followRestriction(const AlertReading &reading, int64_t margin, QList<Alert> &alerts);
    void followLevel(const AlertReading &reading, int64_t margin, QList<Alert> &alerts);
    QString clockTime(const QDateTime &now, int64_t seconds) const;
    // `body` with the program that downloaded most in the last hour, when the reading knows it.
    QString namingTopProgram(const QString &body, const AlertReading &reading) const;

    AlertConfig m_config;
    QLocale m_locale;
    int m_announcedStep = -1; // index into the steps
    bool m_warned = false;
    int64_t m_warnedUsed = 0;
    int m_soonTicks = 0; // ticks in a row the throttle has been within the warning minutes
    bool m_throttled = false;        // "Throttled" (or the cut-off) said, "Recovered" not yet
    bool m_cutOff = false;
    bool m_stopTold = false;
    int m_runTicks = 0;
    uint64_t m_dropped = 0;
    int m_quietTicks = dropQuietTicks; // ticks since the last new drop
};
