#include "core/DatesFile.h"

#include "core/DateTable.h"
#include "system/Failure.h"
#include "tests/support/DatesText.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/TempDir.h"

#include <cerrno>
#include <fstream>
#include <gtest/gtest.h>

using namespace halvane;
using namespace halvane::test;

namespace
{

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
    EXPECT_NO_THROW(readDateTable(t, records(1746) + "k,\r\n", "D"))
        << "a comma and a line end end an empty last value";
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
        // A comma followed by the end of the file starts no field.
        ShortCase{records(1746) + "12/10/2004,",
                  "Input past end of file: /opt/qrx2/DATES.TXT ends at record 1747, before its "
                  "value; it must hold 1747 records"},
        ShortCase{records(1746) + "12/10/2004, \t",
                  "Input past end of file: /opt/qrx2/DATES.TXT ends at record 1747, before its "
                  "value; it must hold 1747 records"},
        ShortCase{records(1745) + "k,",
                  "Input past end of file: /opt/qrx2/DATES.TXT ends at record 1746, before its "
                  "value; it must hold 1747 records"},
        ShortCase{records(10) + "\x1A" + records(1747),
                  "Input past end of file: /opt/qrx2/DATES.TXT ends at record 11; it must hold "
                  "1747 records"}));

// The file is read through a buffer: wherever its boundary falls in the
// first records, the file reads as the same text does.
TEST_P(FieldReading, ReadsTheSameFromAFileWhereverTheBufferEnds)
{
    const auto& c = GetParam();
    if (c.head.starts_with("\xEF\xBB\xBF"))
        GTEST_SKIP() << "a byte-order mark belongs at the very start";
    const std::string text = c.head + records(DateTable::kLast);
    const auto expected = firstEntries(text, int(c.expected.size()));
    TempDir dir;
    for (std::size_t before = 1; before <= c.head.size() + 1; ++before) {
        // Blank lines, then the records, the buffer ending `before` bytes in.
        const auto file =
            dir.write("DATES.TXT", std::string(kDatesReadBlock - before, '\n') + text);
        DateTable t;
        loadDateTable(t, file);
        for (int k = 1; k <= int(expected.size()); ++k) {
            ASSERT_EQ(t.key(k), expected[std::size_t(k) - 1].first) << before;
            ASSERT_EQ(t.value(k), expected[std::size_t(k) - 1].second) << before;
        }
    }
}

} // namespace
