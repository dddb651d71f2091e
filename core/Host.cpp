#include "Host.h"

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

ConsoleHost g_console;
Host* g_host = &g_console;

} // namespace

Host& host()
{
    return *g_host;
}

Host* setHost(Host* h)
{
    Host* previous = g_host == &g_console ? nullptr : g_host;
    g_host = h ? h : &g_console;
    return previous;
}

void msgBox(std::string_view text, std::string_view title)
{
    host().messageBox(text, title);
}

void endProcess()
{
    host().endProcess();
    std::_Exit(1); // a host that returns would break the promise; end regardless
}

} // namespace halvane
