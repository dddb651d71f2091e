// What the record set promises that only POSIX systems let a test see: disk
// space on a sparse file (st_blocks), and a saved record surviving the end of
// a forked process. On Windows, the reliability tests end shamsi-dates.exe
// with TerminateProcess instead.
#include "dbase/DbfRecordSet.h"
#include "tests/support/TableBuilder.h"
#include "tests/support/TableChecks.h"

#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace halvane;
using namespace halvane::test;
using dbase::Access;
using dbase::DbfRecordSet;

namespace
{

std::filesystem::path writeTable(const TempDir& dir, const TableBuilder& table,
                                 std::string_view name = "Shamsi.dbf")
{
    return dir.write(name, table.bytes());
}

// On a sparse table, disk space is given to the pages written and no more.
TEST(RecordSet, ASparseTableGetsDiskOnlyWhereItIsWritten)
{
    TempDir dir;
    TableBuilder table;
    constexpr std::uint32_t kRecords = 200'000; // 12 MB, all of it a hole
    std::string header = table.header();
    for (int i = 0; i < 4; ++i)
        header[4 + i] = char((kRecords >> (8 * i)) & 0xFF);
    const auto file = dir.write("Shamsi.dbf", header);
    std::filesystem::resize_file(file,
                                 header.size() + std::uint64_t(kRecords) * table.recordLength());
    {
        // The records saved carry their deletion flag; the rest is a hole.
        std::fstream f(file, std::ios::binary | std::ios::in | std::ios::out);
        for (std::uint32_t r = 0; r < kRecords; r += 40'000) {
            f.seekp(std::streamoff(header.size() + std::uint64_t(r) * table.recordLength()));
            f.put(' ');
        }
    }
    struct stat st {
    };
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    const auto blocksBefore = st.st_blocks;
    {
        auto set = DbfRecordSet::open(file);
        for (std::uint32_t r = 0; r < kRecords; ++r, set->MoveNext())
            if (r % 40'000 == 0) {
                set->Edit();
                set->SetField("SHES", "saved");
                set->Update();
            }
        set->Flush();
    }
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    // Five records and the header: at most six pages, and a little for the
    // file system's own bookkeeping.
    EXPECT_LE((st.st_blocks - blocksBefore) * 512, 6 * 4096 + 16 * 1024);
    auto set = DbfRecordSet::open(file, Access::DryRun);
    EXPECT_EQ(set->Field("SHES"), "saved");
}

TEST(RecordSet, SavedRecordSurvivesAnAbruptEnd)
{
    for (int how : {0, SIGKILL}) {
        TempDir dir;
        TableBuilder table;
        table.add(scheduleRecord("20010321"));
        table.add(scheduleRecord("20010322"));
        const auto file = writeTable(dir, table);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            auto set = DbfRecordSet::open(file).release(); // never closed
            set->Edit();
            set->SetField("SHES", "saved");
            set->Update();
            set->MoveNext();
            set->Edit();
            set->SetField("SHES", "unsaved"); // no Update
            if (how)
                raise(how);
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        auto set = DbfRecordSet::open(file);
        EXPECT_EQ(set->Field("SHES"), "saved");
        set->MoveNext();
        EXPECT_EQ(set->Field("SHES"), "old");
    }
}

} // namespace
