// A launcher for tests: starts nothing, keeps every attempt, and lets a
// program "start" when the test has installed it.
#pragma once

#include "system/Launcher.h"

#include <set>
#include <string>
#include <vector>

namespace halvane::test
{

class RecordingLauncher final : public Launcher
{
public:
    bool startDetached(const std::string& program) override
    {
        attempts.push_back(program);
        if (!installed.count(program))
            return false;
        started.push_back(program);
        return true;
    }

    std::set<std::string> installed;
    std::vector<std::string> attempts;
    std::vector<std::string> started;
};

} // namespace halvane::test
