#include "system/Host.h"

#include "system/Service.h"

#include <cstdio>
#include <cstdlib>

namespace halvane
{
namespace
{

class ConsoleHost final : public Host
{
public:
    void messageBox(std::string_view text, std::string_view title) override
    {
        std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(),
                     static_cast<int>(text.size()), text.data());
        std::fflush(stderr);
    }
    [[noreturn]] void endProcess() override { std::_Exit(1); }
};

} // namespace

Host& Host::system()
{
    static ConsoleHost console;
    return console;
}

void msgBox(std::string_view text, std::string_view title)
{
    service<Host>().messageBox(text, title);
}

void endProcess()
{
    service<Host>().endProcess();
    std::_Exit(1); // a host that returns would break the promise; end regardless
}

} // namespace halvane
