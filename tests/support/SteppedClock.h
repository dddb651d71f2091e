// A clock for tests: the day is fixed, and the steady time goes forward by
// `step` at each reading (and by advance()), so a test decides how much time
// passes between two things the code under test does. In place for the life
// of the object.
#pragma once

#include "system/Clock.h"
#include "system/Service.h"

#include <chrono>

namespace halvane::test
{

class SteppedClock final : public Clock
{
public:
    explicit SteppedClock(std::chrono::steady_clock::duration step) : m_step(step), m_scope(*this)
    {
    }

    std::time_t now() override { return 1'765'000'000; } // a day of December 2025
    std::chrono::steady_clock::time_point steady() override
    {
        ++readings;
        return m_time += m_step;
    }
    void advance(std::chrono::steady_clock::duration by) { m_time += by; }

    int readings = 0;

private:
    std::chrono::steady_clock::duration m_step;
    std::chrono::steady_clock::time_point m_time{};
    ReplaceService<Clock> m_scope;
};

} // namespace halvane::test
