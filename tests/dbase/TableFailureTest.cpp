// Tables the engine must refuse, and failures of the file system: each ends
// in a Failure that says why and names the file, and nothing is written.
#include "dbase/DbfRecordSet.h"
#include "tests/support/FaultyFileIo.h"
#include "tests/support/TableBuilder.h"
#include "tests/support/TableChecks.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

using namespace halvane;
using namespace halvane::test;
using dbase::Access;
using dbase::DbfRecordSet;

namespace
{

TableBuilder twoRecords()
{
    TableBuilder table;
    table.add(scheduleRecord("20010321", "20010322"));
    table.add(scheduleRecord("19991231"), true);
    return table;
}

std::string withByte(std::string bytes, std::size_t at, char value)
{
    bytes[at] = value;
    return bytes;
}

std::string withVersion(unsigned char version)
{
    auto table = twoRecords();
    table.version = version;
    return table.bytes();
}

std::string withField(FieldSpec field)
{
    auto table = twoRecords();
    table.fields.push_back(field);
    return table.bytes();
}

// The header length moved by `by` bytes, nothing inserted: the records seem
// to start elsewhere.
std::string withHeaderLength(int by)
{
    std::string bytes = twoRecords().bytes();
    const unsigned length = twoRecords().headerLength() + unsigned(by);
    TableBuilder::put16(bytes, 8, length);
    return bytes;
}

struct BadTable {
    const char* name;
    std::string bytes;
    std::string reason; // part of the description
};

class RefusedTable : public testing::TestWithParam<BadTable>
{
};

TEST_P(RefusedTable, FailsWithAClearReasonAndWritesNothing)
{
    TempDir dir;
    const auto file = dir.write("Shamsi.dbf", GetParam().bytes);
    FaultyFileIo io;
    expectFailure([&] { DbfRecordSet::open(file, Access::ReadWrite); }, err::UnrecognizedFormat,
                  {"Shamsi.dbf", GetParam().reason});
    EXPECT_EQ(io.writes, 0);
    EXPECT_EQ(io.opens, io.closes) << "the file is closed again";
    EXPECT_EQ(readFile(file), GetParam().bytes);
}

const std::string kGood = twoRecords().bytes();
const std::size_t kHeaderLength = twoRecords().header().size();

INSTANTIATE_TEST_SUITE_P(
    Tables, RefusedTable,
    testing::Values(
        BadTable{"zeroBytes", "", "empty"}, BadTable{"tooShort", kGood.substr(0, 20), "too short"},
        BadTable{"textFile",
                 "Dear planner,\r\nthe schedule is attached.\r\n" + std::string(64, '.'),
                 "not a dBASE table (version byte 0x44)"},
        BadTable{"visualFoxPro", withVersion(0x30), "Visual FoxPro"},
        BadTable{"foxProMemo", withVersion(0xF5), "FoxPro with memo"},
        BadTable{"dBase7", withVersion(0x04), "dBASE 7"},
        BadTable{"dBase7Memo", withVersion(0x8C), "dBASE 7"},
        BadTable{"moreRecordsThanFile", withByte(kGood, 4, 3), "claims 3 records"},
        BadTable{"lastRecordCut", kGood.substr(0, kGood.size() - 5),
                 "claims 2 records, but the file holds only 1"},
        BadTable{"headerPastEnd", withByte(kGood, 9, char(0x7F)), "inconsistent header"},
        BadTable{"headerTooShort", withByte(withByte(kGood, 8, 20), 9, 0), "inconsistent header"},
        BadTable{"recordLengthOff", withByte(kGood, 10, char(kGood[10] + 1)), "record length"},
        BadTable{"recordLengthZero", withByte(withByte(kGood, 10, 0), 11, 0),
                 "inconsistent header"},
        BadTable{"noTerminator", withByte(kGood, kHeaderLength - 1, ' '), "field descriptor"},
        BadTable{"zeroWidth", withField({"EXTRA", 'C', 0}), "0 bytes wide"},
        BadTable{"unknownType", withField({"EXTRA", '\x01', 4}), "unknown field type 0x01"},
        BadTable{"wideDate", withField({"EXTRA", 'D', 10}), "date field is 8 bytes wide"},
        BadTable{"duplicateName", withField({"es", 'D', 8}), "second field of that name"},
        BadTable{"emptyName", withField({"", 'C', 4}), "no name"},
        BadTable{"controlCharactersInAName", withField({"A\x1b[2J", 'C', 4}),
                 "field 11 'A\\x1B[2J'): the name holds control characters"},
        BadTable{"incompleteTransaction", withByte(kGood, 14, 1),
                 "incomplete transaction (header byte 14 is 0x01)"},
        BadTable{"encrypted", withByte(kGood, 15, 1), "encrypted (header byte 15 is 0x01)"},
        BadTable{"sqlTable", withVersion(0x43), "is a dBASE IV SQL table (version byte 0x43)"},
        BadTable{"sqlSystemTable", withVersion(0xB3),
                 "is a dBASE IV SQL table (version byte 0xB3)"},
        // The header length one byte too large (the end marker keeps the
        // size consistent): each record would seem to start one byte late.
        BadTable{"headerOneByteTooLong", withHeaderLength(1),
                 "header length 354 does not agree with its 10 fields (353 bytes, then zeros): "
                 "byte 353 after the list of fields is 0x20, not padding"},
        BadTable{"headerTwoBytesTooLong", withHeaderLength(2), "byte 353 after the list of"},
        BadTable{"firstRecordShifted", withByte(kGood, kHeaderLength, '1'),
                 "has record 1 starting with the byte 0x31 where its deletion flag (a space or "
                 "'*') belongs"},
        BadTable{"firstRecordFlagZero", withByte(kGood, kHeaderLength, '\0'),
                 "record 1 starting with the byte 0x00"}),
    [](const auto& p) { return std::string(p.param.name); });

class AcceptedVersion : public testing::TestWithParam<unsigned char>
{
};

TEST_P(AcceptedVersion, IsFilledAndKeepsItsVersion)
{
    TempDir dir;
    const auto filled = fillFile(dir.write("Shamsi.dbf", withVersion(GetParam())));
    EXPECT_EQ(filled.changedOutside, std::vector<long>{});
    EXPECT_NE(filled.before, filled.after);
    EXPECT_EQ(filled.after[0], char(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(DbaseThreeAndFour, AcceptedVersion,
                         testing::Values(0x03, 0x83, 0x8B, 0xCB));

// Zeros after the list of fields are padding that writers leave: such a
// table is filled, and its padding kept.
TEST(TableLayout, ZerosAfterTheListOfFieldsArePadding)
{
    TableBuilder table = twoRecords();
    std::string bytes = table.bytes();
    bytes.insert(table.headerLength(), 2, '\0');
    TableBuilder::put16(bytes, 8, table.headerLength() + 2);
    TempDir dir;
    const auto filled = fillFile(dir.write("Shamsi.dbf", bytes));
    EXPECT_EQ(filled.changedOutside, std::vector<long>{});
    EXPECT_EQ(filled.after.substr(table.headerLength() - 1, 3), std::string("\r\0\0", 3));
    EXPECT_NE(filled.after, filled.before);
}

// A record further on whose first byte is no deletion flag (the layout does
// not fit it) stops the walk before anything of it is written; the records
// before it keep what was saved.
TEST(TableFailure, ARecordWithoutADeletionFlagIsNotWritten)
{
    TableBuilder table;
    for (int i = 0; i < 4; ++i)
        table.add(scheduleRecord("20010321", "20010322"));
    std::string bytes = table.bytes();
    const std::size_t third = table.headerLength() + 2 * table.recordLength();
    bytes[third] = 'x';
    TempDir dir;
    const auto file = dir.write("Shamsi.dbf", bytes);
    auto set = DbfRecordSet::open(file);
    expectFailure([&] { fillWalk(*set); }, err::UnrecognizedFormat,
                  {"Shamsi.dbf has record 3 starting with the byte 0x78",
                   "nothing of that record was written"});
    set.reset();
    const std::string after = readFile(file);
    EXPECT_EQ(after.substr(third), bytes.substr(third)) << "records 3 and 4 as they were";
    EXPECT_EQ(table.storedField(after, 1, "SHES"), "D20010321 ") << "record 2 was saved";
}

TEST(TableFailure, DirectoryNamedLikeTheTable)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "Shamsi.dbf");
    for (auto access : {Access::ReadWrite, Access::DryRun})
        expectFailure([&] { DbfRecordSet::open(dir / "Shamsi.dbf", access); }, err::PathFileAccess,
                      {"Shamsi.dbf", "is a directory"});
}

TEST(TableFailure, TableWithoutADestinationFailsAtThatFieldWithNothingWritten)
{
    TempDir dir;
    auto table = twoRecords();
    table.fields.erase(table.fields.begin() + 8); // SHTF
    const auto file = dir.write("Shamsi.dbf", table.bytes());
    const std::string before = readFile(file);
    FaultyFileIo io;
    auto set = DbfRecordSet::open(file, Access::ReadWrite);
    expectFailure([&] { fillWalk(*set); }, err::ItemNotFound, {"SHTF", "Shamsi.dbf"});
    EXPECT_EQ(io.writes, 0);
    set.reset();
    EXPECT_EQ(readFile(file), before);
}

TEST(TableFailure, FileShortenedWhileOpen)
{
    TempDir dir;
    TableBuilder table;
    for (int i = 0; i < 10000; ++i) // more than one block of reading
        table.add(scheduleRecord("20010321"));
    const auto file = dir.write("Shamsi.dbf", table.bytes());
    auto set = DbfRecordSet::open(file);
    std::filesystem::resize_file(file, table.header().size() + 10 * table.recordLength());
    expectFailure([&] { set->MoveLast(); }, err::InputPastEnd,
                  {"Shamsi.dbf was shortened during the run: record 10000 of 10000 is no longer "
                   "in it (it holds 10 records now)"});
    expectFailure([&] { set->Edit(); }, err::NoCurrentRecord,
                  {"record 10000 of", "Shamsi.dbf, which could not be read"});
}

// Another program shortens the table between two writes of a walk: where the
// file's pages are mapped already, and where they are not yet. Either way a
// failure that names the table and the record, never a signal, and the file
// keeps the length the other program gave it; or, on Windows under mapped
// pages, the other program's shortening is refused and the walk completes.
struct Shortening {
    const char* name;
    bool afterTheFirstWrite; // the table's pages are mapped by then
};

class ShortenedDuringAWalk : public testing::TestWithParam<Shortening>
{
};

TEST_P(ShortenedDuringAWalk, FailsWithInputPastEnd)
{
    TableBuilder table;
    table.fields.push_back({"NOTES", 'C', 250});
    table.fields.push_back({"MORE", 'C', 250});
    for (int i = 0; i < 60; ++i)
        table.add(scheduleRecord("20010321", "20010322"));
    TempDir dir;
    const auto file = dir.write("Shamsi.dbf", table.bytes());
    const auto layout = DbfRecordSet::open(file, Access::DryRun)->layout();
    const std::uint64_t cut = 8192; // a page boundary, in record 15
    const std::uint64_t at = GetParam().afterTheFirstWrite ? layout.recordOffset(40) : 0;
    FaultyFileIo io;
    bool done = false;
    io.before = [&](std::string_view kind, std::uint64_t offset) {
        if (!done && kind == "write" && offset >= at) {
            done = true;
#ifdef _WIN32
            // Windows refuses to shorten a file while a view of it is mapped
            // (ERROR_USER_MAPPED_FILE): the other program is told so, and the
            // table keeps every record the walk saves.
            if (GetParam().afterTheFirstWrite) {
                EXPECT_THROW(std::filesystem::resize_file(file, cut),
                             std::filesystem::filesystem_error);
                return;
            }
#endif
            std::filesystem::resize_file(file, cut);
        }
    };
    auto set = DbfRecordSet::open(file);
#ifdef _WIN32
    if (GetParam().afterTheFirstWrite) {
        fillWalk(*set);
        set->requireUnchanged();
        EXPECT_TRUE(done);
        set.reset();
        EXPECT_EQ(std::filesystem::file_size(file), table.bytes().size());
        return;
    }
#endif
    expectFailure([&] { fillWalk(*set); }, err::InputPastEnd,
                  {"Shamsi.dbf was shortened during the run: record " +
                   std::string(GetParam().afterTheFirstWrite ? "41" : "15") +
                   " of 60 is no longer in it (it holds 13 records now)"});
    set.reset();
    EXPECT_EQ(std::filesystem::file_size(file), cut) << "the file is never extended";
    const std::string after = readFile(file);
    EXPECT_EQ(changedOutside(table.bytes().substr(0, cut), after, writableBytes(layout, cut)),
              std::vector<long>{});
}

INSTANTIATE_TEST_SUITE_P(Moments, ShortenedDuringAWalk,
                         testing::Values(Shortening{"BeforeItsFirstWrite", false},
                                         Shortening{"UnderMappedPages", true}),
                         [](const auto& p) { return std::string(p.param.name); });

// A file the user may not write: refused when opened for filling, readable for
// a dry run.
TEST(TableFailure, FileThatMayNotBeWritten)
{
    TempDir dir;
    const auto file = dir.write("Shamsi.dbf", kGood);
    FaultyFileIo denied;
    denied.failAt = 2; // stat, then open
    denied.error = std::make_error_code(std::errc::permission_denied);
    expectFailure([&] { DbfRecordSet::open(file, Access::ReadWrite); }, err::PermissionDenied,
                  {"Shamsi.dbf", "for writing"});

    // The real thing: an immutable file refuses writing even to root.
    if (std::system(("chattr +i '" + file.string() + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "chattr +i is not possible here (file system or privileges)";
    struct Mutable {
        std::string path;
        ~Mutable() { (void)std::system(("chattr -i '" + path + "'").c_str()); }
    } restore{file.string()};
    expectFailure([&] { DbfRecordSet::open(file); }, err::PermissionDenied,
                  {"Shamsi.dbf", "for writing"});
    EXPECT_EQ(DbfRecordSet::open(file, Access::DryRun)->RecordCount(), 2);
}

// Every file operation of a whole walk, failed one at a time: each failure
// surfaces as a Failure of its kind (a failed close excepted: it has nothing
// to report once the data is synced), and the file is still a sound table
// that differs only in destinations and the date.
struct IoFault {
    const char* name;
    std::errc error;
    int number;
};

class FailedCall : public testing::TestWithParam<IoFault>
{
};

TEST_P(FailedCall, BecomesAFailureAndLeavesASoundTable)
{
    TableBuilder table;
    for (int i = 0; i < 3; ++i)
        table.add(scheduleRecord("20010321", "", "19991231", "20230101"), i == 1);
    int total = 0;
    {
        TempDir dir;
        FaultyFileIo io;
        fillWalk(*DbfRecordSet::open(dir.write("t.dbf", table.bytes()), Access::ReadWrite));
        total = io.calls;
    }
    ASSERT_GT(total, 8);
    for (int n = 1; n <= total; ++n) {
        SCOPED_TRACE("failing call " + std::to_string(n));
        TempDir dir;
        const auto file = dir.write("t.dbf", table.bytes());
        FaultyFileIo io;
        io.failAt = n;
        io.error = std::make_error_code(GetParam().error);
        bool failed = false;
        try {
            fillWalk(*DbfRecordSet::open(file, Access::ReadWrite));
        } catch (const Failure& f) {
            failed = true;
            EXPECT_EQ(f.number(), GetParam().number) << f.description();
            EXPECT_NE(f.description().find("t.dbf"), std::string::npos) << f.description();
        }
        EXPECT_EQ(failed, io.failed != "close") << io.failed;
        const std::string after = readFile(file);
        auto reopened = DbfRecordSet::open(file);
        EXPECT_EQ(reopened->RecordCount(), 3);
        EXPECT_EQ(
            changedOutside(table.bytes(), after, writableBytes(reopened->layout(), after.size())),
            std::vector<long>{});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Errors, FailedCall,
    testing::Values(IoFault{"deviceIo", std::errc::io_error, err::DeviceIO},
                    IoFault{"diskFull", std::errc::no_space_on_device, err::DiskFull},
                    IoFault{"permission", std::errc::permission_denied, err::PermissionDenied}),
    [](const auto& p) { return std::string(p.param.name); });

// A save that fails part-way puts back the fields it had saved, but not one
// that another program wrote in the meantime: that program's text stays.
TEST(TableFailure, AFailedSavePutsBackOnlyWhatItWrote)
{
    TempDir dir;
    TableBuilder table;
    table.add(scheduleRecord("20010321", "20010322"));
    const auto file = dir.write("t.dbf", table.bytes());
    FaultyFileIo io;
    auto set = DbfRecordSet::open(file, Access::ReadWrite);
    const auto layout = set->layout();
    auto at = [&](const char* name) { return recordAt(layout, 0) + layout.find(name)->offset; };
    bool failedOnce = false;
    io.before = [&](std::string_view kind, std::uint64_t offset) {
        if (kind != "write")
            return;
        if (offset == at("SHES")) {
            std::fstream other(file, std::ios::binary | std::ios::in | std::ios::out);
            other.seekp(std::streamoff(offset));
            other.write("theirs    ", 10);
        } else if (offset == at("SHEF") && !failedOnce) {
            failedOnce = true;
            io.failAt = io.calls + 1; // this save of SHEF fails
        }
    };
    set->Edit();
    set->SetField("SHES", "new");
    set->SetField("SHEF", "new");
    expectFailure([&] { set->Update(); }, err::DeviceIO, {"t.dbf", "record 1"});
    set.reset();
    const std::string after = readFile(file);
    EXPECT_EQ(after.substr(at("SHES"), 10), "theirs    ");
    EXPECT_EQ(after.substr(at("SHEF"), 10), "old       ");
}

TEST(TableFailure, ShortWritesAreCompletedAndStalledWritesAreDiskFull)
{
    TempDir dir;
    auto table = twoRecords();
    const auto file = dir.write("t.dbf", table.bytes());
    FaultyFileIo io;
    io.shortWrite = 3;
    fillWalk(*DbfRecordSet::open(file, Access::ReadWrite));
    auto set = DbfRecordSet::open(file);
    EXPECT_EQ(set->Field("SHES"), "D20010321");
    EXPECT_EQ(set->Field("SHTF"), "");

    FaultyFileIo stalled;
    stalled.stall = true;
    auto other = DbfRecordSet::open(dir.write("u.dbf", table.bytes()), Access::ReadWrite);
    expectFailure([&] { fillWalk(*other); }, err::DiskFull, {"u.dbf"});
}

} // namespace
