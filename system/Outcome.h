// The outcome step of a guarded handler: any failure in its body skips the
// rest and ends in one message, then the end of the process.
#pragma once

#include "system/Failure.h"
#include "system/Host.h"

#include <exception>
#include <string>

namespace halvane
{

inline constexpr std::string_view kUnexpectedError = "Unexpected Error: ";

// Any exception of the standard library's family as a Failure: a Failure as
// it is, running out of memory as 7, file-system errors as 75, the rest as 5.
Failure toFailure(const std::exception& e);

// Shows `message` in a message box with the application title, then ends the
// process.
[[noreturn]] void reportAndEnd(std::string_view message);

// Runs `body`; a failure shows "Unexpected Error: " and its description and
// ends the process. Returns normally when the body did.
template <class Body> void guarded(Body&& body)
{
    std::string message;
    try {
        body();
        return;
    } catch (const std::exception& e) {
        message = std::string(kUnexpectedError) + toFailure(e).description();
    }
    reportAndEnd(message);
}

} // namespace halvane
