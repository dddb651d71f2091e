// The Linux engine saves the fields of a record into a mapping of the table,
// each by one store where it can. A save of many fields at once, of every
// kind of store, ends with the file holding each new field, or another
// program's text where it wrote one; and so where the field begins or ends
// the file or a mapped window.
#include "dbase/FileIo.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace halvane;
using namespace halvane::dbase;
using halvane::test::TempDir;

namespace
{

struct Change {
    std::size_t offset;
    std::string was, now;
    std::string inFile = {}; // "": the file holds `was`; else another program's text
};

struct ManyFields {
    const char* name;
    std::size_t fileSize;
    std::vector<Change> changes;
};

class MappedSave : public testing::TestWithParam<ManyFields>
{
};

TEST_P(MappedSave, HoldsEveryNewFieldAndKeepsAnotherProgramsText)
{
    const ManyFields& c = GetParam();
    std::string bytes(c.fileSize, '.');
    for (const Change& change : c.changes)
        bytes.replace(change.offset, change.was.size(),
                      change.inFile.empty() ? change.was : change.inFile);
    TempDir dir;
    const auto file = dir.write("mapped-save.dbf", bytes);
    FileIo& io = FileIo::system();
    FileIo::Handle h{};
    ASSERT_FALSE(io.open(file, FileIo::Mode::ReadWrite, h));
    std::vector<FileIo::Replacement> fields;
    for (const Change& change : c.changes)
        fields.push_back({change.offset, change.was, change.now});
    std::size_t done = 0;
    EXPECT_FALSE(io.replaceAll(h, fields, done));
    EXPECT_EQ(done, fields.size());
    EXPECT_FALSE(io.sync(h));
    EXPECT_FALSE(io.close(h));

    std::string expected = bytes;
    for (const Change& change : c.changes)
        if (change.inFile.empty())
            expected.replace(change.offset, change.now.size(), change.now);
    EXPECT_EQ(halvane::test::readFile(file), expected);
}

const std::string kBlank(10, ' ');

// Eleven fields of one save, more than are compared at once: 10-byte texts
// (masked stores), 8-byte changes, one byte, a 40-byte field written with a
// write call, two another program wrote.
std::vector<Change> elevenFields()
{
    std::vector<Change> changes;
    for (std::size_t i = 0; i < 8; ++i)
        changes.push_back({100 + 10 * i, kBlank, "1403/09/1" + std::to_string(i)});
    changes[2].inFile = "theirs    ";
    changes[5].now = "  /09/18  "; // 6 bytes change: one 8-byte store
    changes.push_back({300, "x", "y"});
    changes.push_back({310, std::string(40, 'o'), std::string(40, 'n')});
    changes.push_back({360, kBlank, "1403/09/18", "1402/01/01"});
    return changes;
}

INSTANTIATE_TEST_SUITE_P(
    Saves, MappedSave,
    testing::Values(
        ManyFields{"ElevenFieldsOfEveryKind", 4096, elevenFields()},
        // The field's last byte is the file's and its page's.
        ManyFields{"AtTheEndOfTheLastPage", 8192, {{8182, kBlank, "1403/09/18"}}},
        // The file ends inside the page, 6 bytes after the field.
        ManyFields{"AtTheEndOfTheFile", 4116, {{4100, kBlank, "1403/09/18"}}},
        ManyFields{"AtTheStartOfTheFile", 4096, {{0, kBlank, "1403/09/18"}}},
        // The second mapped window begins with the field, the first ends with
        // the one before it.
        ManyFields{"AcrossTwoWindows",
                   2 * 1024 * 1024,
                   {{1024 * 1024 - 10, kBlank, "1403/09/17"}, {1024 * 1024, kBlank, "1403/09/18"}}},
        ManyFields{"TwelveBytesOfAWideField",
                   4096,
                   {{200, std::string(254, '~'), "1403/09/18  " + std::string(242, '~')}}}),
    [](const auto& p) { return std::string(p.param.name); });

} // namespace
