// The command line's text output to a file or a pipe: the UTF-8 bytes as
// they are, Persian names among them, formatted or not.
#include "cli/Console.h"
#include "tests/support/TempDir.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace halvane::test
{
namespace
{

TEST(ConsoleText, ToAFileTheUtf8BytesAsTheyAre)
{
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    const std::string name = "C:\\جدول‌ها\\شمسی.dbf";
    std::fputs("buffered first, ", file);
    EXPECT_TRUE(cli::writeText(file, name + ": 3 records\n"));
    EXPECT_TRUE(cli::printText(file, "%s: %ld %s, %.2f s\n", name.c_str(), 7L, "dates", 0.5));
    EXPECT_EQ(written(file),
              "buffered first, " + name + ": 3 records\n" + name + ": 7 dates, 0.50 s\n");
    std::fclose(file);
}

TEST(ConsoleText, LongFormattedTextWhole)
{
    std::FILE* file = std::tmpfile();
    const std::string long_(100'000, 'x');
    EXPECT_TRUE(cli::printText(file, "[%s]", long_.c_str()));
    EXPECT_EQ(written(file), "[" + long_ + "]");
    std::fclose(file);
}

} // namespace
} // namespace halvane::test
