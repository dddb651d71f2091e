// The record set's reads, writes and moves on tables built in the test.
#include "dbase/DbfRecordSet.h"
#include "tests/support/FaultyFileIo.h"
#include "tests/support/TableBuilder.h"
#include "tests/support/TableChecks.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace halvane;
using namespace halvane::test;
using dbase::Access;
using dbase::DbfRecordSet;
using dbase::FieldValue;

namespace
{

std::filesystem::path writeTable(const TempDir& dir, const TableBuilder& table,
                                 std::string_view name = "Shamsi.dbf")
{
    return dir.write(name, table.bytes());
}

// ---- Reading a date field ------------------------------------------------

struct DateCase {
    const char* name;
    std::string bytes;
    FieldValue expected;
};

class DateRead : public testing::TestWithParam<DateCase>
{
};

TEST_P(DateRead, GivesIsoNullOrTheStoredText)
{
    TempDir dir;
    TableBuilder table;
    table.add(scheduleRecord(GetParam().bytes));
    auto set = DbfRecordSet::open(writeTable(dir, table));
    EXPECT_EQ(set->Field("ES"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Bytes, DateRead,
                         testing::Values(DateCase{"valid", "20010321", "2001-03-21"},
                                         DateCase{"leapDay", "20000229", "2000-02-29"},
                                         DateCase{"firstYear", "00010101", "0001-01-01"},
                                         DateCase{"blank", "        ", std::nullopt},
                                         DateCase{"zeros", "00000000", std::nullopt},
                                         DateCase{"nulBytes", std::string(8, '\0'), std::nullopt},
                                         DateCase{"noSuchDay", "20010230", "20010230"},
                                         DateCase{"notLeap", "19000229", "19000229"},
                                         DateCase{"month13", "20011301", "20011301"},
                                         DateCase{"yearZero", "00000101", "00000101"},
                                         DateCase{"spaced", "2001 3 1", "2001 3 1"},
                                         DateCase{"partlyBlank", "2001    ", "2001"},
                                         DateCase{"letters", "abcdefgh", "abcdefgh"}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(RecordSet, ReadsCharacterSourcesTrimmedAndRefusesOtherTypes)
{
    TempDir dir;
    TableBuilder table;
    table.fields = {{"ES", 'C', 12}, {"COST", 'N', 8}, {"DONE", 'L', 1}, {"NOTES", 'M', 10}};
    table.add({"  01/02/2003", "12.5", "T", "         1"});
    auto set = DbfRecordSet::open(writeTable(dir, table));
    EXPECT_EQ(set->Field("ES"), "01/02/2003");
    EXPECT_EQ(set->Field("es"), "01/02/2003"); // names compare without regard to case
    for (const char* name : {"COST", "DONE", "NOTES"})
        expectFailure([&] { set->Field(name); }, err::TypeMismatch, {name, "Shamsi.dbf"});
    expectFailure([&] { set->Field("EF_T1"); }, err::ItemNotFound, {"EF_T1", "Shamsi.dbf"});
}

// ---- Writing a destination -----------------------------------------------

struct WriteCase {
    const char* name;
    std::string field;
    std::string text;
    int failure;        // 0: accepted
    std::string stored; // the field's bytes after Update, when accepted
};

class DestinationWrite : public testing::TestWithParam<WriteCase>
{
};

TEST_P(DestinationWrite, StoresPaddedOrFailsNamingFieldAndWidth)
{
    const auto& c = GetParam();
    TempDir dir;
    TableBuilder table;
    table.fields = {
        {"ES", 'D', 8}, {"SHES", 'C', 10}, {"NARROW", 'C', 8}, {"COST", 'N', 10}, {"ONE", 'C', 1}};
    table.add({"20010321", "old", "old", "1", "x"});
    const auto file = writeTable(dir, table);
    const std::string before = readFile(file);
    auto set = DbfRecordSet::open(file);
    set->Edit();
    if (c.failure) {
        std::vector<std::string> parts{c.field, "Shamsi.dbf"};
        if (const auto* f = set->layout().find(c.field))
            parts.push_back(std::to_string(f->width) + (c.failure != err::FieldTooSmall ? ""
                                                        : f->width == 1 ? " character wide"
                                                                        : " characters wide"));
        expectFailure([&] { set->SetField(c.field, c.text); }, c.failure, parts);
        set->Update();
        EXPECT_EQ(readFile(file), before) << "a refused text changes nothing";
        return;
    }
    set->SetField(c.field, c.text);
    const auto begin = c.stored.find_first_not_of(' ');
    EXPECT_EQ(set->Field(c.field),
              begin == std::string::npos
                  ? ""
                  : c.stored.substr(begin, c.stored.find_last_not_of(' ') + 1 - begin));
    set->Update();
    auto layout = set->layout();
    set.reset();
    const std::string after = readFile(file);
    const auto* f = layout.find(c.field);
    EXPECT_EQ(after.substr(recordAt(layout, 0) + f->offset, f->width), c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DestinationWrite,
    testing::Values(WriteCase{"tenCharacters", "SHES", "80/01/01  ", 0, "80/01/01  "},
                    WriteCase{"fullWidth", "SHES", "1380/01/01", 0, "1380/01/01"},
                    WriteCase{"trailingSpacesDoNotCount", "SHES", "1380/01/01    ", 0,
                              "1380/01/01"},
                    WriteCase{"fitsNarrowAfterTrim", "NARROW", "80/01/01  ", 0, "80/01/01"},
                    WriteCase{"singleSpace", "SHES", " ", 0, "          "},
                    WriteCase{"empty", "SHES", "", 0, "          "},
                    WriteCase{"leadingSpacesKept", "SHES", "  ab", 0, "  ab      "},
                    WriteCase{"tooLong", "SHES", "1380/01/01x", err::FieldTooSmall, ""},
                    WriteCase{"tooLongForNarrow", "NARROW", "1380/01/01", err::FieldTooSmall, ""},
                    WriteCase{"tooLongForOneCharacter", "ONE", "ab", err::FieldTooSmall, ""},
                    WriteCase{"dateDestination", "ES", "80/01/01", err::TypeMismatch, ""},
                    WriteCase{"numericDestination", "COST", "80/01/01", err::TypeMismatch, ""},
                    WriteCase{"missingField", "SHTF", "80/01/01", err::ItemNotFound, ""}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(RecordSet, RefusesFieldWritesAndSavesOutsideAnEdit)
{
    TempDir dir;
    TableBuilder table;
    table.add(scheduleRecord("20010321"));
    auto set = DbfRecordSet::open(writeTable(dir, table));
    expectFailure([&] { set->SetField("SHES", "x"); }, err::UpdateWithoutEdit, {"SHES"});
    expectFailure([&] { set->Update(); }, err::UpdateWithoutEdit, {"Shamsi.dbf"});
    set->Edit();
    set->SetField("SHES", "x");
    set->MoveFirst(); // a move abandons the edit
    EXPECT_EQ(set->Field("SHES"), "old");
    expectFailure([&] { set->Update(); }, err::UpdateWithoutEdit, {});
}

// ---- Moves -----------------------------------------------------------------

TEST(RecordSet, EmptyTableIsAtTheEndAtOnce)
{
    TempDir dir;
    TableBuilder table;
    auto set = DbfRecordSet::open(writeTable(dir, table));
    set->MoveLast();
    EXPECT_TRUE(set->Eof());
    set->MoveFirst();
    EXPECT_TRUE(set->Eof());
    EXPECT_EQ(set->RecordCount(), 0);
    EXPECT_EQ(set->AbsolutePosition(), -1);
    expectFailure([&] { set->Edit(); }, err::NoCurrentRecord, {"Shamsi.dbf"});
    expectFailure([&] { set->MoveNext(); }, err::NoCurrentRecord, {});
    expectFailure([&] { set->Field("ES"); }, err::NoCurrentRecord, {});
    set->Flush();
}

TEST(RecordSet, WalksEveryRecordInOrderAcrossReadBlocks)
{
    TempDir dir;
    TableBuilder table;
    const int count = 5000; // more than one block of reads
    for (int i = 0; i < count; ++i)
        table.add(scheduleRecord(std::to_string(19800101 + i % 28)), i % 7 == 0);
    auto isoOf = [](int i) {
        const int day = 1 + i % 28;
        return "1980-01-" + std::string(day < 10 ? "0" : "") + std::to_string(day);
    };
    FaultyFileIo io;
    auto set = DbfRecordSet::open(writeTable(dir, table), Access::ReadWrite);
    set->MoveLast();
    EXPECT_EQ(set->AbsolutePosition(), count);
    EXPECT_EQ(set->Field("ES"), isoOf(count - 1));
    set->MoveFirst();
    const int readsBefore = io.reads;
    int seen = 0;
    for (; !set->Eof(); set->MoveNext()) {
        ASSERT_EQ(set->AbsolutePosition(), seen + 1);
        EXPECT_EQ(set->Field("ES"), isoOf(seen));
        ++seen;
    }
    EXPECT_EQ(seen, count);
    EXPECT_LE(io.reads - readsBefore, 5) << "records are read in blocks, not one by one";
}

// ---- Saving ------------------------------------------------------------------

TEST(RecordSet, SavesOnlyTheChangedFieldsAndStampsTheDateOnce)
{
    TempDir dir;
    TableBuilder table;
    for (int i = 0; i < 20; ++i)
        table.add(scheduleRecord("20010321", "", "19991231"), i == 3);
    table.records[5][5] = "D20010320"; // SHES holds its text but for one byte
    const auto file = writeTable(dir, table);
    FaultyFileIo io;
    const auto [before, after, layout, changed] = fillFile(file);
    EXPECT_EQ(changed, std::vector<long>{});
    EXPECT_EQ(after.substr(1, 3), todayStamp());
    EXPECT_EQ(after[recordAt(layout, 3)], '*') << "a deleted record stays marked";
    const auto* shes = layout.find("SHES");
    EXPECT_EQ(after.substr(recordAt(layout, 3) + shes->offset, 10), "D20010321 ");

    // One save per field whose bytes change, of the whole field (so that it
    // holds the run's text whole); and one write for the header's date.
    ASSERT_FALSE(io.written.empty());
    EXPECT_EQ(io.written.front(), (std::pair<std::uint64_t, std::size_t>{1, 3}));
    std::size_t expectedWrites = 1;
    for (std::uint32_t r = 0; r < layout.recordCount; ++r)
        for (const std::string_view name : kDestinations) {
            const auto* f = layout.find(name);
            const auto at = recordAt(layout, r) + f->offset;
            if (before.substr(at, f->width) == after.substr(at, f->width))
                continue;
            ++expectedWrites;
            const std::pair<std::uint64_t, std::size_t> field{at, f->width};
            EXPECT_NE(std::find(io.written.begin(), io.written.end(), field), io.written.end())
                << "record " << r + 1 << " " << name;
        }
    EXPECT_EQ(io.written.size(), expectedWrites);
    EXPECT_EQ(io.syncs, 1);

    // A second walk finds every text in place: nothing to write or sync.
    FaultyFileIo again;
    EXPECT_EQ(fillFile(file).after, after);
    EXPECT_EQ(again.writes + again.syncs, 0);
}

// Another program changes the record between our Edit and our Update: its
// bytes outside what we change are kept, even where we set a field to the
// value it already had.
TEST(RecordSet, AChangeByAnotherProgramBetweenReadAndWriteIsKept)
{
    TempDir dir;
    TableBuilder table;
    table.add(scheduleRecord("20010321"));
    const auto file = writeTable(dir, table);
    auto set = DbfRecordSet::open(file);
    const auto layout = set->layout();
    set->Edit();
    set->SetField("SHES", "new");
    set->SetField("SHEF", "old"); // unchanged
    {
        std::fstream other(file, std::ios::binary | std::ios::in | std::ios::out);
        for (const char* name : {"DONE", "ID", "SHEF"}) {
            other.seekp(std::streamoff(recordAt(layout, 0) + layout.find(name)->offset));
            other.put('9');
        }
    }
    set->Update();
    set.reset();
    const std::string after = readFile(file);
    auto byte = [&](const char* name) {
        return after[recordAt(layout, 0) + layout.find(name)->offset];
    };
    EXPECT_EQ(byte("DONE"), '9');
    EXPECT_EQ(byte("ID"), '9');
    EXPECT_EQ(byte("SHEF"), '9') << "a field set to its own value is not written";
    EXPECT_EQ(after.substr(recordAt(layout, 0) + layout.find("SHES")->offset, 10), "new       ");
}

// Two writers on one destination: another program writes the field between
// our Edit and our Update. The field then holds one text whole, never a
// blend of its bytes and ours. A save compares the field with what the run
// read before it stores (a read of the mapped page): the other program's
// text is kept and the end of the run says so.

struct OtherWriter {
    const char* name;
    unsigned width;
    std::string old, ours, theirs;
};

class TwoWriters : public testing::TestWithParam<OtherWriter>
{
};

TEST_P(TwoWriters, TheFieldHoldsOneTextWholeAndTheEndOfTheRunSaysSo)
{
    const OtherWriter& c = GetParam();
    TableBuilder table;
    table.fields = scheduleFields(c.width);
    table.add(scheduleRecord("20010321"));
    table.add(scheduleRecord("20010322"));
    table.records[0][5] = c.old;
    TempDir dir;
    const auto file = writeTable(dir, table);
    auto set = DbfRecordSet::open(file);
    set->Edit();
    set->SetField("SHES", c.ours);
    {
        std::fstream other(file, std::ios::binary | std::ios::in | std::ios::out);
        other.seekp(std::streamoff(table.headerLength() + table.fieldOffset("SHES")));
        other << c.theirs;
    }
    set->Update();
    set->MoveNext();
    set->Edit();
    set->SetField("SHES", c.ours);
    set->Update();
    set->MoveNext();
    set->Flush();
    std::string theirs = c.theirs, ours = c.ours;
    theirs.resize(c.width, ' ');
    ours.resize(c.width, ' ');
    const std::string after = readFile(file);
    EXPECT_EQ(table.storedField(after, 0, "SHES"), theirs);
    EXPECT_EQ(table.storedField(after, 1, "SHES"), ours);
    expectFailure([&] { set->requireUnchanged(); }, err::TableChanged,
                  {"Shamsi.dbf was rewritten during the run: record 1 of 2 no longer holds",
                   "run again"});
}

INSTANTIATE_TEST_SUITE_P(
    Writers, TwoWriters,
    testing::Values(
        // Ours changes the first 8 bytes, theirs only the last two: a save of
        // the differing bytes alone would leave "02/01/06UE".
        OtherWriter{"TheirsInBytesOursKeeps", 10, "02/01/05  ", "02/01/06", "02/01/05UE"},
        OtherWriter{"BothWholeFields", 10, "old", "02/01/06", "1380/01/01"},
        OtherWriter{"WideField", 254, std::string(200, 'o'), std::string(230, 'n'),
                    std::string(254, 't')},
        OtherWriter{"WideFieldOneByte", 254, std::string(254, 'o'),
                    std::string(253, 'o') + "n", std::string(254, 't')}),
    [](const auto& p) { return std::string(p.param.name); });

// The end of a run reads every record again: a byte changed anywhere in a
// record after the walk left it (another field, the deletion flag, a
// destination) is found, in the record where it lies.
struct LaterChange {
    const char* name;
    std::uint32_t record; // 1 for the first
    std::string field;    // "" for the deletion flag
};

class ChangedAfterTheWalk : public testing::TestWithParam<LaterChange>
{
};

TEST_P(ChangedAfterTheWalk, IsFoundInItsRecord)
{
    constexpr std::uint32_t kRecords = 3000; // three groups of hashes, and more than a block
    TableBuilder table;
    for (std::uint32_t i = 0; i < kRecords; ++i)
        table.add(scheduleRecord("20010321", i % 3 ? "19991231" : ""), i % 7 == 0);
    TempDir dir;
    const auto file = writeTable(dir, table);
    for (auto access : {Access::ReadWrite, Access::DryRun}) {
        auto set = DbfRecordSet::open(file, access);
        fillWalk(*set);
        set->requireUnchanged();
        std::fstream other(file, std::ios::binary | std::ios::in | std::ios::out);
        const std::uint64_t at = table.headerLength() +
                                 std::uint64_t(GetParam().record - 1) * table.recordLength() +
                                 (GetParam().field.empty() ? 0 : table.fieldOffset(GetParam().field));
        other.seekg(std::streamoff(at));
        const char was = char(other.get());
        other.seekp(std::streamoff(at));
        other.put(was == '*' ? ' ' : was == '9' ? '8' : '9');
        other.close();
        expectFailure([&] { set->requireUnchanged(); }, err::TableChanged,
                      {"was rewritten during the run: record " +
                       std::to_string(GetParam().record) + " of 3000 no longer holds"});
        std::fstream back(file, std::ios::binary | std::ios::in | std::ios::out);
        back.seekp(std::streamoff(at));
        back.put(was);
    }
}

INSTANTIATE_TEST_SUITE_P(Places, ChangedAfterTheWalk,
                         testing::Values(LaterChange{"FirstRecordsId", 1, "ID"},
                                         LaterChange{"DeletionFlag", 1025, ""},
                                         LaterChange{"ASource", 2048, "EF"},
                                         LaterChange{"LastRecordsDestination", 3000, "SHTF"},
                                         LaterChange{"LastByteOfTheTable", 3000, "DONE"}),
                         [](const auto& p) { return std::string(p.param.name); });

// The last record saved once more after the walk left it (MoveLast at the
// end, as a run may): the check at the end takes it as saved, so it passes,
// and still finds another program's change of that record.
TEST(RecordSet, ARecordSavedAgainAfterTheWalkLeftItIsCheckedAsSaved)
{
    constexpr std::uint32_t kRecords = 3000; // more than a block
    TableBuilder table;
    for (std::uint32_t i = 0; i < kRecords; ++i)
        table.add(scheduleRecord("20010321", "19991231"));
    TempDir dir;
    const auto file = writeTable(dir, table);
    auto set = DbfRecordSet::open(file);
    fillWalk(*set);
    set->MoveLast();
    set->Edit();
    set->SetField("SHTF", "again");
    set->Update();
    set->Flush();
    set->requireUnchanged();
    std::fstream other(file, std::ios::binary | std::ios::in | std::ios::out);
    other.seekp(std::streamoff(table.headerLength() +
                               std::uint64_t(kRecords - 1) * table.recordLength() +
                               table.fieldOffset("SHTF")));
    other.put('A');
    other.close();
    expectFailure([&] { set->requireUnchanged(); }, err::TableChanged,
                  {"was rewritten during the run: record 3000 of 3000 no longer holds"});
}

TEST(RecordSet, KeepsTheEndMarkerOrItsAbsenceAndTrailingBytes)
{
    for (bool marker : {true, false}) {
        TempDir dir;
        TableBuilder table;
        table.endMarker = marker;
        table.add(scheduleRecord("20010321"));
        table.add(scheduleRecord(""));
        const auto filled = fillFile(dir.write("t.dbf", table.bytes() + (marker ? "" : "tail")));
        EXPECT_EQ(filled.changedOutside, std::vector<long>{});
        EXPECT_EQ(filled.after.back(), marker ? '\x1A' : 'l');
    }
}

TEST(RecordSet, DryRunChecksAsForRealAndWritesNothing)
{
    TempDir dir;
    TableBuilder table;
    table.fields = scheduleFields(8);
    table.add(scheduleRecord("20010321"));
    const auto file = writeTable(dir, table);
    const std::string before = readFile(file);
    FaultyFileIo io;
    auto set = DbfRecordSet::open(file, Access::DryRun);
    EXPECT_EQ(io.openModes, std::vector{dbase::FileIo::Mode::ReadOnly});
    set->Edit();
    set->SetField("SHES", "80/01/01  ");
    expectFailure([&] { set->SetField("SHEF", "1380/01/01"); }, err::FieldTooSmall, {"SHEF", "8"});
    expectFailure([&] { set->SetField("ES", "x"); }, err::TypeMismatch, {"ES"});
    expectFailure([&] { set->SetField("NOPE", "x"); }, err::ItemNotFound, {"NOPE"});
    set->Update();
    set->Flush();
    EXPECT_EQ(io.writes + io.syncs, 0);
    set.reset();
    EXPECT_EQ(readFile(file), before);
}

} // namespace
