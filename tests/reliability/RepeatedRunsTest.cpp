// The windowed program may run many times in one process: a hundred runs
// leave no file handle open (and, under LeakSanitizer, no memory behind).
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
        for (int i = 0; i < 100; ++i)
            ASSERT_FALSE(runOnce(control)) << "run " << i;
        // The table replaced between runs is opened anew each time: the old
        // handle must go.
        for (int i = 0; i < 20; ++i) {
            std::filesystem::remove(file);
            dir.write("t.dbf", threeRecords().bytes());
            ASSERT_FALSE(runOnce(control)) << "run on replaced table " << i;
        }
        EXPECT_LE(openDescriptors(), before + 1) << "one handle: the open table";
    }
    EXPECT_EQ(openDescriptors(), before);
}

} // namespace
