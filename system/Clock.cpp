#include "system/Clock.h"

#include "system/Service.h"

namespace halvane
{
namespace
{

class SystemClock final : public Clock
{
public:
    std::time_t now() override { return std::time(nullptr); }
    std::chrono::steady_clock::time_point steady() override
    {
        return std::chrono::steady_clock::now();
    }
};

} // namespace

Clock& Clock::system()
{
    static SystemClock system;
    return system;
}

LocalDate today()
{
    const std::time_t now = service<Clock>().now();
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

} // namespace halvane
