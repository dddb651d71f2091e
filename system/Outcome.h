// The outcome of a guarded step: success, or the failure it ended in with
// the message to show for it. The step only gives the outcome back; the
// handler at the top shows it and ends the process (ui/forms), or the command
// line reports it and returns its exit status (cli/RunReport.h).
#pragma once

#include "system/Failure.h"

#include <exception>
#include <string>
#include <string_view>
#include <utility>

namespace halvane
{

inline constexpr std::string_view kUnexpectedError = "Unexpected Error: ";

// Any exception of the standard library's family as a Failure: a Failure as
// it is, running out of memory as 7, file-system errors as 75, the rest as 5.
Failure toFailure(const std::exception& e);

class [[nodiscard]] Outcome
{
public:
    // Success: number 0, no message.
    Outcome() = default;
    // The failure numbered `number`, shown as `message`.
    Outcome(int number, std::string message)
        : m_failed(true), m_number(number), m_message(std::move(message))
    {
    }

    bool succeeded() const { return !m_failed; }
    int number() const { return m_number; }
    const std::string& message() const { return m_message; }

private:
    bool m_failed = false;
    int m_number = 0;
    std::string m_message;
};

// The failure's number, with "Unexpected Error: " and its description.
Outcome unexpectedError(const Failure& failure);

// Runs `body`: success when it returned, else the failure it threw as
// unexpectedError().
template <class Body> Outcome guarded(Body&& body)
{
    try {
        body();
    } catch (const std::exception& e) {
        return unexpectedError(toFailure(e));
    }
    return {};
}

} // namespace halvane
