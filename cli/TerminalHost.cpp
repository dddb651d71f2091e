#include "cli/TerminalHost.h"

#include "cli/CommandLine.h"
#include "cli/Console.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace halvane::cli
{

void TerminalHost::messageBox(std::string_view text, std::string_view title)
{
    m_progress.clear();
    std::string line(kProgramName);
    if (!m_subject.empty())
        line += ": " + m_subject;
    if (title != kAppTitle)
        line += ": " + std::string(title);
    line += ": " + std::string(text) + "\n";
    writeText(stderr, line);
    std::fflush(stderr);
}

void TerminalHost::endProcess()
{
    if (auto beforeEnd = std::exchange(m_beforeEnd, nullptr))
        beforeEnd();
    std::fflush(nullptr);
    restoreConsole();
    // Immediate, as the windowed program ends: no further handler runs. The
    // table engine has put every saved record in the file already.
    std::_Exit(1);
}

} // namespace halvane::cli
