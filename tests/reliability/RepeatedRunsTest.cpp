// The windowed program may run many times in one process: a hundred runs,
// each released afterwards as the main window releases it, hold no file
// handle between runs (and, under LeakSanitizer, leave no memory behind).
#include "tests/reliability/Reliability.h"

#include <filesystem>

using namespace halvane;
using namespace halvane::test;

namespace
{

std::size_t openDescriptors()
{
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                      std::filesystem::directory_iterator{}));
}

TEST(RepeatedRuns, AHundredRunsInOneProcessKeepNoHandles)
{
    TempDir dir;
    const auto file = dir.write("t.dbf", threeRecords().bytes());
    const std::size_t before = openDescriptors();
    {
        dbase::DataControl control(file);
        control.Refresh();
        EXPECT_EQ(openDescriptors(), before) << "the window's load keeps nothing open";
        for (int i = 0; i < 100; ++i) {
            ASSERT_FALSE(runOnce(control)) << "run " << i;
            control.Close();
        }
        EXPECT_EQ(openDescriptors(), before);
        // The table replaced between runs is opened anew each time.
        for (int i = 0; i < 20; ++i) {
            std::filesystem::remove(file);
            dir.write("t.dbf", threeRecords().bytes());
            ASSERT_FALSE(runOnce(control)) << "run on replaced table " << i;
            EXPECT_EQ(openDescriptors(), before + 1) << "during a run: the table";
            control.Close();
        }
    }
    EXPECT_EQ(openDescriptors(), before);
}

} // namespace
