// The time of day, a service (system/Service.h): the table engine stamps the
// date of the last change into a table's header, and a test can fix the day;
// and a steady time for intervals (how often a progress bar is redrawn),
// which a test can step.
#pragma once

#include <chrono>
#include <ctime>

namespace halvane
{

class Clock
{
public:
    virtual ~Clock() = default;
    virtual std::time_t now() = 0;
    // A time that only goes forward, for measuring intervals.
    virtual std::chrono::steady_clock::time_point steady() = 0;

    // The system's clock.
    static Clock& system();
};

// The local calendar date of the clock in force.
struct LocalDate {
    int year;  // e.g. 2026
    int month; // 1 to 12
    int day;   // 1 to 31
};
LocalDate today();

} // namespace halvane
