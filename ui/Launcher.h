// Starting another program without waiting for it, behind a seam: production
// starts a detached process, tests record what would have been started.
#pragma once

#include <string>

namespace halvane::ui
{

class Launcher
{
public:
    virtual ~Launcher() = default;
    // Starts the program file `program` (a path in the system's code page) on
    // its own, in a normal window, and returns at once. False when it cannot be
    // started: no such file, not a program.
    virtual bool startDetached(const std::string& program) = 0;
};

// The system's launcher: a detached process that this program neither
// watches nor ends.
Launcher& systemLauncher();

// The launcher in force (the system's until another is installed).
Launcher& launcher();
// Installs `l` (nullptr restores the system's); returns the previous one, or
// nullptr when that was the system's.
Launcher* setLauncher(Launcher* l);

} // namespace halvane::ui
