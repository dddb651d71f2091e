// Reading an existing file by its name, with the failures the program reports
// for it: DATES.TXT, and the pictures the windows load by name.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace halvane
{

using FileHandle = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Opens the regular file at `path` for reading bytes, whatever characters
// its name holds. Throws Failure 53 when it is missing, 70 when it may not
// be read, 75 when it is not a regular file or cannot be opened; the
// description names the file.
FileHandle openExistingFile(const std::filesystem::path& path);

// The whole file at `path`, as bytes: openExistingFile's failures, and 57 on
// a read error.
std::string readWholeFile(const std::filesystem::path& path);

} // namespace halvane
