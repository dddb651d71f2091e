// DATES.TXT of any size is read in flat memory: a gigabyte loaded in a child
// process whose address space leaves no room for it. POSIX only (fork,
// setrlimit, /proc): the reader it checks is the same on every platform.
#include "core/DateTable.h"
#include "core/DatesFile.h"
#include "system/Failure.h"
#include "tests/support/DatesText.h"
#include "tests/support/Sanitizers.h"
#include "tests/support/TempDir.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace halvane;
using namespace halvane::test;

namespace
{

// The resident memory of this process, in KiB.
long residentKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmRSS:"))
            return std::stol(line.substr(6));
    return 0;
}

struct HugeFile {
    const char* name;
    std::string head;        // the file's first bytes; a hole of 1 GiB follows
    int number;              // the failure number expected, 0 for a load
    std::string description; // part of it
};

class HugeDatesFile : public testing::TestWithParam<HugeFile>
{
};

// A gigabyte of DATES.TXT, as a sparse file, loaded in a child process
// whose address space leaves no room for it: the memory stays flat.
TEST_P(HugeDatesFile, LoadsInFlatMemory)
{
    // 128 MiB under AddressSanitizer, which reads it eight times slower:
    // still far more than the room the load may take.
    constexpr std::uint64_t kHole = kSanitized ? 1ull << 27 : 1ull << 30;
    constexpr long kRoomKiB = 48 * 1024;
    TempDir dir;
    const auto file = dir.write("DATES.TXT", GetParam().head);
    std::filesystem::resize_file(file, GetParam().head.size() + kHole);
    const long before = residentKiB();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // AddressSanitizer reserves terabytes of address space up front: no
        // limit can hold it; the resident memory still tells.
        if (!kSanitized) {
            std::ifstream statm("/proc/self/statm");
            long pages = 0;
            statm >> pages;
            const auto limit = rlim_t(pages * sysconf(_SC_PAGESIZE) + kRoomKiB * 1024);
            const rlimit r{limit, limit};
            setrlimit(RLIMIT_AS, &r);
        }
        int status = 100;
        try {
            DateTable t;
            loadDateTable(t, file);
            status = 0;
        } catch (const Failure& f) {
            const bool expected = f.description().find(GetParam().description) != std::string::npos;
            status = expected ? f.number() % 256 : 101;
        } catch (const std::bad_alloc&) {
            status = 102;
        }
        _exit(status);
    }
    int status = 0;
    rusage usage{};
    ASSERT_EQ(wait4(child, &status, 0, &usage), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), GetParam().number % 256)
        << "101: another failure, 102: out of memory";
    EXPECT_LT(usage.ru_maxrss - before, kRoomKiB) << "KiB more than before the load";
}

INSTANTIATE_TEST_SUITE_P(Sparse, HugeDatesFile,
                         testing::Values(HugeFile{"RecordsThenAHole", records(DateTable::kLast), 0,
                                                  ""},
                                         HugeFile{"OneEndlessLineOfNuls", "", err::InputPastEnd,
                                                  "ends at record 1, before its value"},
                                         HugeFile{"KeyThenAnEndlessValue", "01/01/2000,\"",
                                                  err::InputPastEnd, "ends at record 2"}),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
