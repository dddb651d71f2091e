// The windowed program may run many times in one process: a hundred runs,
// each released afterwards as the main window releases it, hold no file
// handle between runs (and, under LeakSanitizer, leave no memory behind).
#include "tests/reliability/Reliability.h"

#include <filesystem>
#ifdef _WIN32
#include <windows.h>
#endif

using namespace halvane;
using namespace halvane::test;

namespace
{

// Whether this process holds `file` open. On Windows: whether another
// program would be refused the file it wants to itself, which is what a
// handle held between runs would cost the exporting program.
bool held(const std::filesystem::path& file)
{
#ifdef _WIN32
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(h);
    return false;
#else
    std::error_code ec;
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd", ec))
        if (std::filesystem::equivalent(std::filesystem::read_symlink(fd.path(), ec), file, ec))
            return true;
    return false;
#endif
}

TEST(RepeatedRuns, AHundredRunsInOneProcessKeepNoHandles)
{
    TempDir dir;
    const auto file = dir.write("t.dbf", threeRecords().bytes());
    {
        dbase::DataControl control(file);
        control.Refresh();
        EXPECT_FALSE(held(file)) << "the window's load keeps nothing open";
        for (int i = 0; i < 100; ++i) {
            ASSERT_FALSE(runOnce(control)) << "run " << i;
            control.Close();
        }
        EXPECT_FALSE(held(file));
        // The table replaced between runs is opened anew each time.
        for (int i = 0; i < 20; ++i) {
            std::filesystem::remove(file);
            dir.write("t.dbf", threeRecords().bytes());
            ASSERT_FALSE(runOnce(control)) << "run on replaced table " << i;
            EXPECT_TRUE(held(file)) << "during a run: the table";
            control.Close();
            EXPECT_FALSE(held(file)) << "after the run";
        }
    }
}

} // namespace
