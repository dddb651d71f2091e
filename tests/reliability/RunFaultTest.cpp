// Every I/O call of a run on a real table, failed in turn, for each kind of
// fault: the run ends with "Unexpected Error: " and a description of what
// failed; records saved before the fault hold their new values; the record
// being edited and all later ones hold their old bytes; no byte outside the
// destinations changes; and the file is still a table that an independent
// reader opens.
#include "tests/reliability/Reliability.h"
#include "tests/support/FaultyFileIo.h"

using namespace halvane;
using namespace halvane::test;

namespace
{

TableBuilder faultTable()
{
    TableBuilder table;
    table.add(scheduleRecord("20000321", "", "20010321", "20020321"));
    table.add(scheduleRecord("19790101", "20230101"), true); // deleted, one date not placed
    table.add(scheduleRecord("", "00000000", "20031231", "19990101"));
    table.add(scheduleRecord("20120229", "20120301", "20120302", "20120303"));
    return table;
}

struct Fault {
    const char* name;
    std::errc error;
    std::size_t shortWrite; // writes before the failing call fall short
};

class RunFault : public testing::TestWithParam<Fault>
{
};

TEST_P(RunFault, LosesNothingWhicheverCallFails)
{
    const TableBuilder table = faultTable();
    TempDir dir;
    std::string complete;
    int total = 0;
    {
        const auto file = dir.write("complete.dbf", table.bytes());
        FaultyFileIo io;
        WatchedControl control(file);
        const int loading = io.calls;
        ASSERT_FALSE(runOnce(control));
        total = io.calls - loading;
        complete = readFile(file);
    }
    ASSERT_GE(total, 6); // at least a read, four writes and a sync

    std::vector<std::filesystem::path> files;
    int failures = 0;
    for (int n = 1; n <= total; ++n) {
        SCOPED_TRACE("failing call " + std::to_string(n) + " of " + std::to_string(total));
        const auto file = dir.write("t" + std::to_string(n) + ".dbf", table.bytes());
        files.push_back(file);
        FaultyFileIo io;
        io.error = std::make_error_code(GetParam().error);
        io.shortWrite = GetParam().shortWrite;
        std::optional<Failure> failure;
        long standing = 0;
        {
            // The table is opened as the main window loads; the calls of the
            // run itself are failed in turn.
            WatchedControl control(file);
            io.failAt = io.calls + n;
            failure = runOnce(control);
            standing = control.last ? control.last->AbsolutePosition() : 0;
        }
        const std::string after = readFile(file);

        const auto reopened = dbase::DbfRecordSet::open(file, dbase::Access::DryRun);
        const auto& layout = reopened->layout();
        ASSERT_EQ(layout.recordCount, 4u);
        EXPECT_EQ(changedOutside(table.bytes(), after, writableBytes(layout, after.size())),
                  std::vector<long>{});
        const auto states = destinationStates(table.bytes(), complete, after, layout);
        EXPECT_EQ(states.tornFields, 0);
        EXPECT_EQ(states.mixedRecords, 0);
        EXPECT_TRUE(states.prefixThenOld);

        if (!failure) {
            // Only a failed close may pass unreported: everything was synced.
            EXPECT_EQ(io.failed, "close");
            EXPECT_EQ(states.newPrefix, 4);
            continue;
        }
        ++failures;
        const std::string message = run::outcomeMessage(*failure);
        EXPECT_TRUE(message.starts_with("Unexpected Error: ")) << message;
        EXPECT_NE(message.find(file.filename().string()), std::string::npos) << message;
        EXPECT_NE(message.find("cannot"), std::string::npos) << message;
        // The record the run stood on when it failed, and every later one,
        // keep their old bytes; every earlier one was saved.
        if (standing > 0) {
            EXPECT_EQ(states.newPrefix, standing - 1) << message;
        }
    }
    expectIndependentReaderOpens(files);
    RecordProperty("faults_injected", failures);
    std::printf("%s: %d calls failed in turn, %d reported\n", GetParam().name, total, failures);
}

INSTANTIATE_TEST_SUITE_P(Faults, RunFault,
                         testing::Values(Fault{"ioError", std::errc::io_error, 0},
                                         Fault{"diskFull", std::errc::no_space_on_device, 0},
                                         Fault{"permission", std::errc::permission_denied, 0},
                                         Fault{"shortWriteThenIoError", std::errc::io_error, 3}),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
