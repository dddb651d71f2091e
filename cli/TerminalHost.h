// The host of the command-line runner: a message goes to standard error as
// one line that names the program and the table, and the end of the process
// is exit status 1.
#pragma once

#include "cli/ProgressBar.h"
#include "system/Host.h"

#include <functional>
#include <string>

namespace halvane::cli
{

class TerminalHost final : public Host
{
public:
    explicit TerminalHost(ProgressBar& progress) : m_progress(progress) {}

    // The file that messages from now on are about ("" for none).
    void setSubject(std::string subject) { m_subject = std::move(subject); }
    // Called when the process ends (nullptr: nothing).
    void setBeforeEnd(std::function<void()> beforeEnd) { m_beforeEnd = std::move(beforeEnd); }

    void messageBox(std::string_view text, std::string_view title) override;
    [[noreturn]] void endProcess() override;

private:
    ProgressBar& m_progress;
    std::string m_subject;
    std::function<void()> m_beforeEnd;
};

} // namespace halvane::cli
