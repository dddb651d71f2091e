// Where the program's own files are: the directory of the running program
// file, which holds DATES.TXT and the pictures the program loads by name. A
// service (system/Service.h), so a test can point the program at a directory it
// prepared.
#pragma once

#include <filesystem>

namespace halvane
{

class ProgramDirectory
{
public:
    virtual ~ProgramDirectory() = default;
    // Throws Failure 76 (path not found) when it cannot be told.
    virtual std::filesystem::path path() = 0;

    // The directory of the running executable.
    static ProgramDirectory& system();
};

} // namespace halvane
