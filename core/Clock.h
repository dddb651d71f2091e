// The time of day, a service (core/Service.h): the table engine stamps the
// date of the last change into a table's header, and a test can fix the day.
#pragma once

#include <ctime>

namespace halvane
{

class Clock
{
public:
    virtual ~Clock() = default;
    virtual std::time_t now() = 0;

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
