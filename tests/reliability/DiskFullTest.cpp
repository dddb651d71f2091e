// A run on a table in a small file system that is full: it ends with a clear
// message or completes, and loses nothing either way; and a save that needs
// space the full file system does not have fails as a full disk, never as a
// signal. Needs root and tmpfs; skipped with the reason where the test cannot
// make such a file system.
#include "tests/reliability/Reliability.h"
#include "tests/support/FaultyFileIo.h"

#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/mount.h>
#include <unistd.h>

using namespace halvane;
using namespace halvane::test;

namespace
{

class FullDisk : public testing::Test
{
protected:
    void SetUp() override
    {
        m_mount = m_dir / "small";
        std::filesystem::create_directory(m_mount);
        if (mount("tmpfs", m_mount.c_str(), "tmpfs", 0, "size=512k") != 0)
            GTEST_SKIP() << "cannot mount a small tmpfs here: " << std::strerror(errno);
        m_mounted = true;
    }
    void TearDown() override
    {
        if (m_mounted)
            umount2(m_mount.c_str(), MNT_DETACH);
    }

    // Fills the file system to the last byte.
    void fill() const
    {
        std::ofstream filler(m_mount / "filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), block.size()))
            ;
        std::ofstream small(m_mount / "filler2", std::ios::binary);
        while (small.put('x'))
            ;
    }

    TempDir m_dir;
    std::filesystem::path m_mount;
    bool m_mounted = false;
};

TEST_F(FullDisk, RunLosesNothing)
{
    const auto file = m_mount / "Shamsi.dbf";
    const auto table = threeRecords().bytes();
    ASSERT_EQ(std::system(("'" + std::string(HALVANE_PROGRAM_DIR) + "/make-table' '" +
                           file.string() + "' --records 2000 >/dev/null")
                              .c_str()),
              0);
    const std::string before = readFile(file);
    fill();

    // The complete result, made where there is room.
    const auto roomy = m_dir.write("roomy.dbf", before);
    ASSERT_EQ(std::system(("'" + std::string(HALVANE_PROGRAM_DIR) + "/shamsi-dates' '" +
                           roomy.string() + "' >/dev/null")
                              .c_str()),
              0);
    const std::string complete = readFile(roomy);

    const auto errors = m_dir / "errors.txt";
    const int rc = std::system(("'" + std::string(HALVANE_PROGRAM_DIR) + "/shamsi-dates' '" +
                                file.string() + "' >/dev/null 2>'" + errors.string() + "'")
                                   .c_str());
    const std::string after = readFile(file);
    const auto layout = dbase::DbfRecordSet::open(file, dbase::Access::DryRun)->layout();
    EXPECT_EQ(changedOutside(before, after, writableBytes(layout, after.size())),
              std::vector<long>{});
    const auto states = destinationStates(before, complete, after, layout);
    EXPECT_EQ(states.tornFields, 0);
    EXPECT_TRUE(states.prefixThenOld);
    if (WEXITSTATUS(rc) == 0) {
        // Filling a table rewrites bytes in place and needs no new space.
        EXPECT_TRUE(after == complete);
    } else {
        EXPECT_EQ(WEXITSTATUS(rc), 1);
        EXPECT_NE(readFile(errors).find("Unexpected Error: "), std::string::npos)
            << readFile(errors);
    }
}

// Another program punches a hole into the table under the pages the run has
// mapped, on a full disk. Where the destinations held zeros, as the hole
// reads, filling them needs space there is not: the save fails as a full
// disk, naming the table and the record, never as a signal. Where they held
// text, the hole changed them: they are left as the hole reads and the run
// says the table was rewritten. Either way the records saved before keep
// their texts.
struct Hole {
    const char* name;
    std::string destinations; // what they hold before the run
    int number;
    std::string description;
};

class PunchedHole : public FullDisk, public testing::WithParamInterface<Hole>
{
};

TEST_P(PunchedHole, UnderMappedPagesEndsTheRunClearly)
{
    TableBuilder table;
    for (int i = 0; i < 400; ++i) {
        auto record = scheduleRecord("20010321", "20010322");
        std::fill(record.begin() + 5, record.begin() + 9, GetParam().destinations);
        table.add(std::move(record));
    }
    const auto file = m_mount / "Shamsi.dbf";
    std::ofstream(file, std::ios::binary) << table.bytes();
    fill();
    const auto layout = dbase::DbfRecordSet::open(file, dbase::Access::DryRun)->layout();
    const std::uint64_t hole = recordAt(layout, 300) / 4096 * 4096;

    FaultyFileIo io;
    bool punched = false;
    io.before = [&](std::string_view kind, std::uint64_t offset) {
        if (punched || kind != "write" || offset < hole)
            return;
        punched = true;
        const int fd = ::open(file.c_str(), O_RDWR);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::fallocate(fd, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, off_t(hole),
                              off_t(std::filesystem::file_size(file) - hole)),
                  0);
        ::close(fd);
        fill(); // the space the hole gave back is taken again
    };
    WatchedControl control(file);
    const auto failure = runOnce(control);
    ASSERT_TRUE(punched);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->number(), GetParam().number) << failure->description();
    EXPECT_NE(failure->description().find(GetParam().description), std::string::npos)
        << failure->description();
    EXPECT_NE(failure->description().find(file.string()), std::string::npos);
    control.control.Close();
    const std::string after = readFile(file);
    EXPECT_EQ(after.substr(recordAt(layout, 0) + layout.find("SHES")->offset, 10), "80/01/01  ");
}

INSTANTIATE_TEST_SUITE_P(
    Destinations, PunchedHole,
    testing::Values(Hole{"HoldingZeros", std::string(10, '\0'), err::DiskFull,
                         "cannot write record "},
                    // Record 255 is the first the hole reaches into.
                    Hole{"HoldingText", "old", err::TableChanged,
                         "was rewritten during the run: record 255 of 400"}),
    [](const auto& p) { return std::string(p.param.name); });

} // namespace
