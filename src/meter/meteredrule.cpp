#include "meter/meteredrule.h"

#include <algorithm>

void MeteredRule::setConfig(bool enabled, int stepPercent)
{
    m_enabled = enabled;
    m_stepPercent = std::clamp(stepPercent, lowestStep, 100);
}

bool MeteredRule::high(const AlertReading &reading) const
{
    if (!m_enabled)
        return false;
    if (reading.restriction != Restriction::None)
        return true;
    if (reading.throttleLimit <= 0)
        return false;
    // Whole numbers: a level at the step exactly is not above it.
    const int64_t scaled = reading.usedBytes * 100;
    const int64_t limit = reading.throttleLimit;
    if (m_high)
        return scaled >= (m_stepPercent - marginPercent) * limit;
    return scaled > m_stepPercent * limit;
}

MeteredRule::Action MeteredRule::tick(const AlertReading &reading)
{
    m_high = high(reading);
    switch (m_state) {
    case State::Clear:
        if (!m_high)
            return Action::None;
        m_state = State::Marking;
        return Action::Mark;
    case State::Marked:
        if (m_high)
            return Action::None;
        m_state = State::PuttingBack;
        return Action::PutBack;
    case State::LeftAlone:
        if (!m_high)
            m_state = State::Clear;
        return Action::None;
    case State::Marking:
    case State::PuttingBack:
    case State::GaveUp:
        break;
    }
    return Action::None;
}

MeteredRule::Action MeteredRule::resume(MeteredValue earlier)
{
    m_earlier = earlier;
    m_state = State::PuttingBack;
    return Action::PutBack;
}

std::optional<MeteredValue> MeteredRule::markOver(MeteredValue found)
{
    if (found == MeteredValue::Yes || found == MeteredValue::GuessYes)
        return std::nullopt;
    return MeteredValue::Yes;
}

std::optional<MeteredValue> MeteredRule::putBackOver(MeteredValue found, MeteredValue earlier)
{
    if (found != MeteredValue::Yes || earlier == MeteredValue::Yes)
        return std::nullopt;
    return earlier;
}

void MeteredRule::marked(std::optional<MeteredValue> earlier)
{
    if (earlier) {
        m_earlier = *earlier;
        m_state = State::Marked;
    } else {
        m_state = State::LeftAlone;
    }
}

void MeteredRule::putBack()
{
    m_state = State::Clear;
}

void MeteredRule::failed()
{
    m_state = State::GaveUp;
}

std::optional<MeteredValue> MeteredRule::owedValue() const
{
    if (m_state == State::Marked || m_state == State::PuttingBack)
        return m_earlier;
    return std::nullopt;
}
