#include "DatesFile.h"

#include "DateTable.h"
#include "Failure.h"
#include "RecordingHost.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace halvane;
using namespace halvane::test;

namespace
{

// n records "dd/mm/2000,vNNNN" with the given line end and optional quotes.
std::string records(int n, std::string_view eol = "\r\n", bool quoted = false)
{
    std::string text;
    for (int r = 1; r <= n; ++r) {
        char key[16];
        std::snprintf(key, sizeof key, "%02d/%02d/2000", r % 28 + 1, r % 12 + 1);
        std::string value = "v" + std::to_string(r);
        text += quoted ? "\"" + std::string(key) + "\",\"" + value + "\""
                       : key + std::string(",") + value;
        text += eol;
    }
    return text;
}

std::vector<std::pair<std::string, std::string>> firstEntries(std::string_view text, int n)
{
    DateTable t;
    readDateTable(t, text, "DATES.TXT");
    std::vector<std::pair<std::string, std::string>> out;
    for (int k = 1; k <= n; ++k)
        out.emplace_back(t.key(k), t.value(k));
    return out;
}

using E = std::vector<std::pair<std::string, std::string>>;

struct ReaderCase {
    const char* name;
    std::string head; // the first records, followed by enough filler records
    E expected;       // unpadded; compared as 10-character slots
};

class FieldReading : public testing::TestWithParam<ReaderCase>
{
};

TEST_P(FieldReading, ReadsTheFirstEntries)
{
    const auto& c = GetParam();
    auto pad = [](std::string s) { return s.append(DateTable::kWidth - s.size(), ' '); };
    E expected;
    for (const auto& [key, value] : c.expected)
        expected.emplace_back(pad(key), pad(value));
    EXPECT_EQ(firstEntries(c.head + records(DateTable::kLast), int(expected.size())), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, FieldReading,
    testing::Values(
        ReaderCase{"unquoted", "01/01/2000,78/10/11\r\n", E{{"01/01/2000", "78/10/11  "}}},
        ReaderCase{"quoted", "\"01/01/2000\",\"78/10/11\"\r\n", E{{"01/01/2000", "78/10/11  "}}},
        ReaderCase{"quoted_comma_inside", "\"a,b\",\"c\r\nd\"\r\n",
                   E{{"a,b       ", "c\r\nd      "}}},
        ReaderCase{"leading_spaces_skipped", "   01/01/2000,  x\r\n",
                   E{{"01/01/2000", "x         "}}},
        ReaderCase{"leading_tabs_skipped", "\t01/01/2000,\tx\r\n", E{{"01/01/2000", "x         "}}},
        ReaderCase{"trailing_spaces_kept", "1/01/2000   ,x  \r\n", E{{"1/01/2000 ", "x         "}}},
        ReaderCase{"long_fields_cut", "01/01/2000xyz,0123456789AB\r\n",
                   E{{"01/01/2000", "0123456789"}}},
        ReaderCase{"pairs_by_field_not_line", "a\r\nb,c,d\r\n", E{{"a", "b"}, {"c", "d"}}},
        ReaderCase{"lf_line_ends", "a,b\nc,d\n", E{{"a", "b"}, {"c", "d"}}},
        ReaderCase{"cr_line_ends", "a,b\rc,d\r", E{{"a", "b"}, {"c", "d"}}},
        ReaderCase{"blank_lines_skipped", "\r\n\r\na,b\r\n  \r\n\nc,d\r\n",
                   E{{"a", "b"}, {"c", "d"}}},
        ReaderCase{"empty_value_after_comma", "a,\r\nc,d\r\n", E{{"a", ""}, {"c", "d"}}},
        ReaderCase{"empty_key", ",b\r\n", E{{"", "b"}}},
        ReaderCase{"utf8_bom_skipped",
                   "\xEF\xBB\xBF"
                   "a,b\r\n",
                   E{{"a", "b"}}},
        ReaderCase{"text_after_closing_quote_dropped", "\"a\"xyz,\"b\" \r\n", E{{"a", "b"}}},
        ReaderCase{"quote_inside_unquoted_kept", "a\"b,c\r\n", E{{"a\"b", "c"}}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(DatesFile, ExactlyTheFirst1747RecordsAreRead)
{
    for (int n : {1747, 1748, 2000}) {
        DateTable t;
        EXPECT_NO_THROW(readDateTable(t, records(n), "DATES.TXT")) << n;
        EXPECT_EQ(t.value(1747), "v1747     ") << n;
    }
    DateTable t;
    EXPECT_NO_THROW(readDateTable(t, records(1747).substr(0, records(1747).size() - 2), "D"))
        << "the last record needs no line end";
    EXPECT_NO_THROW(readDateTable(t, records(1746) + "k,", "D")) << "an empty last value";
    EXPECT_EQ(t.key(1747), "k         ");
    EXPECT_EQ(t.value(1747), "          ");
}

TEST(DatesFile, QuotedAndUnquotedFilesLoadAlike)
{
    DateTable plain, quoted;
    readDateTable(plain, records(1747), "DATES.TXT");
    readDateTable(quoted, records(1747, "\r\n", true), "DATES.TXT");
    for (int k = 1; k <= DateTable::kLast; ++k) {
        ASSERT_EQ(plain.key(k), quoted.key(k));
        ASSERT_EQ(plain.value(k), quoted.value(k));
    }
}

struct ShortCase {
    std::string text;
    std::string description;
};

class ShortFile : public testing::TestWithParam<ShortCase>
{
};

TEST_P(ShortFile, IsInputPastEndOfFile)
{
    DateTable t;
    try {
        readDateTable(t, GetParam().text, "/opt/qrx2/DATES.TXT");
        FAIL() << "no failure";
    } catch (const Failure& f) {
        EXPECT_EQ(f.number(), err::InputPastEnd);
        EXPECT_EQ(f.description(), GetParam().description);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Records, ShortFile,
    testing::Values(
        ShortCase{"", "Input past end of file: /opt/qrx2/DATES.TXT ends at record 1; it must hold "
                      "1747 records"},
        ShortCase{records(1746), "Input past end of file: /opt/qrx2/DATES.TXT ends at record 1747; "
                                 "it must hold 1747 records"},
        ShortCase{records(1746) + "28/02/2004\r\n",
                  "Input past end of file: /opt/qrx2/DATES.TXT ends at record 1747, before its "
                  "value; it must hold 1747 records"},
        ShortCase{records(1745) + "k,",
                  "Input past end of file: /opt/qrx2/DATES.TXT ends at record 1747; it must hold "
                  "1747 records"},
        ShortCase{records(10) + "\x1A" + records(1747),
                  "Input past end of file: /opt/qrx2/DATES.TXT ends at record 11; it must hold "
                  "1747 records"}));

// The load as the main window performs it: from the program's directory,
// whatever directory was current, with its message and the end of the process.
class LoadAtStart : public testing::Test
{
protected:
    void SetUp() override { m_startDir = std::filesystem::current_path(); }
    void TearDown() override { std::filesystem::current_path(m_startDir); }

    std::filesystem::path m_startDir;
    TempDir program;
    TempDir elsewhere;
    RecordingHost host;
    DateTable table;
};

TEST_F(LoadAtStart, FindsDatesTxtInTheProgramDirectoryFromElsewhere)
{
    program.write("DATES.TXT", records(1747));
    elsewhere.write("DATES.TXT", "a decoy that is far too short");
    std::filesystem::current_path(elsewhere.path());

    loadDateTableAtStart(table, program.path());

    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(std::filesystem::current_path(), program.path());
    EXPECT_EQ(table.value(1747), "v1747     ");
    EXPECT_TRUE(table.hasIndex());
}

TEST_F(LoadAtStart, MissingFileEndsTheProcessWithItsName)
{
    EXPECT_THROW(loadDateTableAtStart(table, program.path()), ProcessEnded);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(
        host.messages[0],
        (Message{"Unexpected Error: File not found: " + (program / "DATES.TXT").string(), "qrx2"}));
}

TEST_F(LoadAtStart, ShortFileEndsTheProcess)
{
    program.write("DATES.TXT", records(1746));
    EXPECT_THROW(loadDateTableAtStart(table, program.path()), ProcessEnded);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "Unexpected Error: Input past end of file: " + (program / "DATES.TXT").string() +
                  " ends at record 1747; it must hold 1747 records");
    EXPECT_EQ(host.ended, 1);
}

TEST_F(LoadAtStart, DirectoryNamedLikeTheFileIsReported)
{
    std::filesystem::create_directory(program / "DATES.TXT");
    EXPECT_THROW(loadDateTableAtStart(table, program.path()), ProcessEnded);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "Unexpected Error: " + (program / "DATES.TXT").string() + " is not a file");
}

TEST_F(LoadAtStart, MissingProgramDirectoryIsReported)
{
    EXPECT_THROW(loadDateTableAtStart(table, program / "gone"), ProcessEnded);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(host.messages[0].text.starts_with("Unexpected Error: Cannot make " +
                                                  (program / "gone").string()))
        << host.messages[0].text;
}

TEST_F(LoadAtStart, TheRealProgramDirectoryHoldsTheDeliveredFile)
{
    // The test program lives in the program directory, where the build
    // places DATES.TXT.
    loadDateTableAtStart(table);
    EXPECT_TRUE(host.messages.empty());
    // Compared as files: a Windows build run under Wine sees the build's
    // directory as Z:\..., not as the path it was built with.
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(),
                                            std::filesystem::path(HALVANE_PROGRAM_DIR)))
        << std::filesystem::current_path();
    EXPECT_EQ(table.key(1), "01/01/2000");
}

} // namespace
