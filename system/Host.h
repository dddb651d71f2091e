// The program's way out to the person at the screen: message boxes and the
// ending of the process, a service (system/Service.h). The windows call
// msgBox() and endProcess(); the windowed program puts a host that shows real
// boxes in place, tests one that records every message, so nothing below the
// windows needs a window system. Only the windows' handlers end the process;
// the command line reports on the terminal itself (cli/RunReport.h).
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

    // Until another is put in place: messages go to standard error, and the
    // end of the process is exit status 1.
    static Host& system();
};

void msgBox(std::string_view text, std::string_view title = kAppTitle);
[[noreturn]] void endProcess();

} // namespace halvane
