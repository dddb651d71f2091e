// Starting another program without waiting for it, a service
// (system/Service.h): the system's starts a detached process that this program
// neither watches nor ends; tests record what would have been started.
#pragma once

#include <string>

namespace halvane
{

class Launcher
{
public:
    virtual ~Launcher() = default;
    // Starts the program file `program` (a path in the system's code page,
    // which ends at its first zero as the file system sees it) on its own, in
    // a normal window that gets the focus, and returns at once. False when it
    // cannot be started: no such file, not a program.
    virtual bool startDetached(const std::string& program) = 0;

    // LauncherPosix.cpp or LauncherWin32.cpp.
    static Launcher& system();
};

} // namespace halvane
