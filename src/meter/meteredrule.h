#pragma once

#include "meter/alertrules.h"

#include <cstdint>
#include <optional>

// NetworkManager's values of connection.metered; the device reports the guesses too.
enum class MeteredValue : int32_t { Unknown = 0, Yes = 1, No = 2, GuessYes = 3, GuessNo = 4 };

// When the running connection is to be marked as metered, so that updates, app stores and cloud
// sync wait, and when the value it had before goes back. The rule only decides: whoever holds it
// carries out the change and reports how it ended.
class MeteredRule
{
public:
    // Percentage points below the step the bucket must fall before the mark goes: programs
    // that wait for an unmetered connection should not start and stop with every small drain.
    static constexpr int marginPercent = 5;
    static constexpr int lowestStep = marginPercent * 2;

    enum class Action { None, Mark, PutBack };

    // `stepPercent` of the way to the throttle limit, lowestStep..100; off puts back what was marked.
    void setConfig(bool enabled, int stepPercent);

    // What to do at this tick; nothing while a change is under way or after a failure.
    Action tick(const AlertReading &reading);

    // A value recorded by a run that ended while it had the mark: it goes back first.
    Action resume(MeteredValue earlier);

    // The value to write over `found` for the mark; none when the connection counts as metered
    // already, which leaves it alone and gives nothing to put back.
    static std::optional<MeteredValue> markOver(MeteredValue found);
    // The value to write over `found` to put back `earlier`; none when someone else has changed
    // the mark since, whose choice stands.
    static std::optional<MeteredValue> putBackOver(MeteredValue found, MeteredValue earlier);

    // How the change of the last Mark or PutBack ended. `earlier` is what was found before a mark
    // that changed something.
    void marked(std::optional<MeteredValue> earlier);
    void putBack();
    // NetworkManager is absent, refuses or does not manage the adapter: no more tries this run.
    void failed();

    // The value to put back, while the mark is Tarvo's (or going).
    std::optional<MeteredValue> owedValue() const;
    bool busy() const { return m_state == State::Marking || m_state == State::PuttingBack; }

private:
    enum class State { Clear, Marking, Marked, LeftAlone, PuttingBack, GaveUp };
    bool high(const AlertReading &reading) const;

    bool m_enabled = false;
    int m_stepPercent = 90;
    bool m_high = false; // above the step, until below it by the margin
    State m_state = State::Clear;
    MeteredValue m_earlier = MeteredValue::Unknown; // while Marked or PuttingBack
};
