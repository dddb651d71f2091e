// The few operating-system calls the core needs, behind one unit.
#pragma once

#include <filesystem>

namespace halvane::platform
{

// Directory of the running executable. Throws Failure when it cannot be told.
std::filesystem::path programDirectory();

// Makes `dir` the current directory (and, on Windows, its drive the current
// drive). Throws Failure 76 (path not found) when it cannot.
void makeCurrent(const std::filesystem::path& dir);

} // namespace halvane::platform
