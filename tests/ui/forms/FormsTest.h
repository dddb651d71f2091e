// The frame of every window test without a toolkit: the recording window
// system in place of a backend, message boxes recorded, the end of the
// process turned into test::ProcessEnded, and the program's scene (its own
// C: drive and program directory).
#pragma once

#include "tests/support/ProgramScene.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/RecordingWindowSystem.h"
#include "ui/forms/WindowServices.h"

#include <gtest/gtest.h>

namespace halvane::test
{

class FormsTest : public ::testing::Test, public ProgramScene
{
protected:
    // Clicks the control `name` of the open window `window`; fails the test
    // when the control cannot take the click.
    void click(std::string_view window, std::string_view name)
    {
        EXPECT_TRUE(windows.click(window, name)) << window << "." << name << " takes no click";
    }

    RecordingHost host;
    RecordingWindowSystem windows;
};

} // namespace halvane::test
