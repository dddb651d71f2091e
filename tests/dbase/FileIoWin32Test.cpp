// The Windows engine saves into a view of the table, a change of up to 16
// bytes by one store. A touch of the view that faults (a page the system
// cannot read in: a network or removable drive lost, an I/O error) must not
// end the program: the save is made with WriteFile instead, under the same
// rule (another program's text is kept).
// The fault is made by taking access to one page of the view away.
#include "dbase/FileIo.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <string>
#include <windows.h>
// After windows.h, whose types it uses.
#include <psapi.h>

using namespace halvane;
using namespace halvane::dbase;
using halvane::test::TempDir;

namespace
{

// The view of `file` that this process has mapped, found by the name of the
// file mapped there; nullptr when there is none.
char* viewOf(const std::filesystem::path& file)
{
    const std::wstring name = file.filename().wstring();
    MEMORY_BASIC_INFORMATION info{};
    for (const char* at = nullptr; ::VirtualQuery(at, &info, sizeof info) == sizeof info;
         at = static_cast<const char*>(info.BaseAddress) + info.RegionSize) {
        if (info.State != MEM_COMMIT || info.Type != MEM_MAPPED)
            continue;
        wchar_t mapped[MAX_PATH];
        const DWORD n =
            ::GetMappedFileNameW(::GetCurrentProcess(), info.BaseAddress, mapped, MAX_PATH);
        if (n > 0 && std::wstring_view(mapped, n).ends_with(name))
            return static_cast<char*>(info.AllocationBase);
    }
    return nullptr;
}

struct FaultedSave {
    const char* name;
    std::string was, now; // what the run read in the field, and its new text
    std::string inFile;   // what the file holds there (another program's text, or `was`)
};

class ViewFault : public testing::TestWithParam<FaultedSave>
{
};

TEST_P(ViewFault, TheSaveIsWrittenWithWriteFile)
{
    const FaultedSave& c = GetParam();
    constexpr std::size_t kPage = 4096, kField = 2 * kPage + 100;
    std::string bytes(3 * kPage, '.');
    bytes.replace(kField, c.inFile.size(), c.inFile);
    TempDir dir;
    const auto file = dir.write("view-fault.dbf", bytes);
    FileIo& io = FileIo::system();
    FileIo::Handle h{};
    ASSERT_FALSE(io.open(file, FileIo::Mode::ReadWrite, h));
    const std::string dots(8, '.');
    bool kept = true;
    ASSERT_FALSE(io.replace(h, 10, dots, std::string("12345678"), kept)); // maps the view
    EXPECT_FALSE(kept);
    // 10 bytes: one masked store into the view.
    ASSERT_FALSE(io.replace(h, 30, std::string(10, '.'), std::string("1403/09/18"), kept));
    EXPECT_FALSE(kept);
    char* view = viewOf(file);
    ASSERT_NE(view, nullptr) << "no view of the table is mapped";
    DWORD before = 0;
    ASSERT_TRUE(::VirtualProtect(view + 2 * kPage, kPage, PAGE_NOACCESS, &before));

    EXPECT_FALSE(io.replace(h, kField, c.was, c.now, kept));
    const bool theirs = c.inFile != c.was;
    EXPECT_EQ(kept, theirs);
    // Later saves go on with WriteFile.
    EXPECT_FALSE(io.replace(h, 20, dots, std::string("abcdefgh"), kept));
    EXPECT_FALSE(io.sync(h));
    EXPECT_FALSE(io.close(h));

    std::string expected = bytes;
    expected.replace(10, 8, "12345678");
    expected.replace(30, 10, "1403/09/18");
    expected.replace(20, 8, "abcdefgh");
    if (!theirs)
        expected.replace(kField, c.now.size(), c.now);
    EXPECT_EQ(halvane::test::readFile(file), expected);
}

INSTANTIATE_TEST_SUITE_P(Saves, ViewFault,
                         testing::Values(FaultedSave{"EightBytes", "82/01/01  ", "82/01/02  ",
                                                     "82/01/01  "},
                                         FaultedSave{"OneByte", "x", "y", "x"},
                                         FaultedSave{"TenBytes", "82/01/01  ", "1403/09/18",
                                                     "82/01/01  "},
                                         FaultedSave{"WholeField", std::string(40, 'o'),
                                                     std::string(40, 'n'), std::string(40, 'o')},
                                         FaultedSave{"AnotherProgramsTextKept", "82/01/01  ",
                                                     "82/01/02  ", "theirs    "}),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
