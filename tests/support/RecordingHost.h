// A host for tests: records every message box and turns the end of the
// process into an exception that the test can expect. Only the windows'
// handlers end the process (the end cannot return to them, so it unwinds out
// of the handler instead); a run, a guarded step and the command line give
// their outcome back and never get here.
#pragma once

#include "system/Host.h"
#include "system/Service.h"

#include <string>
#include <utility>
#include <vector>

namespace halvane::test
{

// Not derived from std::exception, so no guarded handler can swallow it.
struct ProcessEnded {
};

struct Message {
    std::string text;
    std::string title;
    friend bool operator==(const Message&, const Message&) = default;
};

class RecordingHost final : public Host
{
public:
    RecordingHost() : m_scope(*this) {}

    void messageBox(std::string_view text, std::string_view title) override
    {
        messages.push_back({std::string(text), std::string(title)});
    }
    [[noreturn]] void endProcess() override
    {
        ++ended;
        throw ProcessEnded{};
    }

    std::vector<Message> messages;
    int ended = 0;

private:
    ReplaceService<Host> m_scope;
};

} // namespace halvane::test
