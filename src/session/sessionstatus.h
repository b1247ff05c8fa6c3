#pragma once

#include "meter/statusfigures.h"
#include "session/monitoringsession.h"

#include <QByteArray>

// The answer to `tarvo-cli status`: the readouts of the session's last tick as one line of JSON.
inline QByteArray sessionStatusJson(const MonitoringSession &session)
{
    std::optional<QString> topProgram;
    if (const ProgramUsage *programs = session.programUsage()) {
        const std::optional<ProgramBytes> top = programs->top(ProgramPeriod::LastMinute);
        topProgram = top ? top->program.name : QString();
    }
    return statusJson(statusFigures(session.meter(), session.stats(), session.ticking()), QLocale(), topProgram);
}
