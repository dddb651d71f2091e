// The program's way out to the person at the screen: message boxes and the
// ending of the process. Production code calls msgBox() and endProcess();
// the windowed program installs a host that shows real boxes, tests install
// one that records every message, so the core needs no window system.
#pragma once

#include <string>
#include <string_view>

namespace halvane
{

inline constexpr std::string_view kAppTitle = "qrx2";

class Host
{
public:
    virtual ~Host() = default;
    // Modal: returns when the person has pressed OK.
    virtual void messageBox(std::string_view text, std::string_view title) = 0;
    // Immediate: no further handler runs. Must not return.
    [[noreturn]] virtual void endProcess() = 0;
};

// The host in force. Until one is installed, a console host writes messages
// to standard error and ends the process with status 1.
Host& host();
// Installs `h` (nullptr restores the console host); returns the previous one.
Host* setHost(Host* h);

void msgBox(std::string_view text, std::string_view title = kAppTitle);
[[noreturn]] void endProcess();

// Sets a host for the life of a scope and restores the previous one.
class ScopedHost
{
public:
    explicit ScopedHost(Host& h) : m_previous(setHost(&h)) {}
    ~ScopedHost() { setHost(m_previous); }
    ScopedHost(const ScopedHost&) = delete;
    ScopedHost& operator=(const ScopedHost&) = delete;

private:
    Host* m_previous;
};

} // namespace halvane
