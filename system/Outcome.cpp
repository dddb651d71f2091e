#include "system/Outcome.h"

#include <filesystem>
#include <new>

namespace halvane
{

Failure toFailure(const std::exception& e)
{
    if (auto* f = dynamic_cast<const Failure*>(&e))
        return *f;
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return Failure(err::OutOfMemory, "Out of memory");
    if (auto* fs = dynamic_cast<const std::filesystem::filesystem_error*>(&e))
        return Failure(err::PathFileAccess, fs->what());
    return Failure(err::InvalidCall, e.what());
}

Outcome unexpectedError(const Failure& failure)
{
    return Outcome(failure.number(), std::string(kUnexpectedError) + failure.description());
}

} // namespace halvane
