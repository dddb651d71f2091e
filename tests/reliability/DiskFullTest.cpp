// A run on a table in a small file system that is full: it ends with a clear
// message or completes, and loses nothing either way. Needs root and tmpfs;
// skipped with the reason where the test cannot make such a file system.
#include "tests/reliability/Reliability.h"

#include <cstring>
#include <fstream>
#include <sys/mount.h>

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

} // namespace
