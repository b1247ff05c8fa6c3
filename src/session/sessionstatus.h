#pragma once

#include "meter/statusfigures.h"
#include "session/monitoringsession.h"

#include <QByteArray>

// The answer to `tarvo-cli status`: the readouts of the session's last tick as one line of JSON.
inline QByteArray sessionStatusJson(const MonitoringSession &session)
{
    return statusJson(statusFigures(session.meter(), session.stats(), session.ticking()));
}
