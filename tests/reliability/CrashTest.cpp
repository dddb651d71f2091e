// Runs of shamsi-dates killed with SIGKILL at several moments: the table
// afterwards is a sound table, no byte outside the destinations changed, each
// destination holds its old or its new text, never a mixture, and a second
// run completes the table.
#include "tests/reliability/Reliability.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

using namespace halvane;
using namespace halvane::test;

extern char** environ;

namespace
{

const std::string kProgramDir = HALVANE_PROGRAM_DIR;

pid_t start(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

int waitFor(pid_t pid)
{
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

int run(const std::vector<std::string>& args)
{
    return waitFor(start(args));
}

TEST(Crash, KilledRunsLeaveASoundTableThatASecondRunCompletes)
{
    TempDir dir;
    const auto original = (dir / "original.dbf").string();
    ASSERT_EQ(run({kProgramDir + "/make-table", original, "--records", "100000", "--seed", "11",
                   "--out-of-range", "3"}),
              0);
    const auto completeFile = (dir / "complete.dbf").string();
    std::filesystem::copy_file(original, completeFile);
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(run({kProgramDir + "/shamsi-dates", completeFile}), 0);
    const auto whole = std::chrono::steady_clock::now() - started;

    const std::string before = readFile(original);
    const std::string complete = readFile(completeFile);
    const auto layout = dbase::DbfRecordSet::open(original, dbase::Access::DryRun)->layout();

    int midRun = 0;
    for (int tenth : {0, 1, 2, 4, 6, 8, 9}) {
        SCOPED_TRACE("killed after " + std::to_string(tenth) + "/10 of a whole run's time");
        const auto file = (dir / "killed.dbf").string();
        std::filesystem::copy_file(original, file,
                                   std::filesystem::copy_options::overwrite_existing);
        const pid_t pid = start({kProgramDir + "/shamsi-dates", file});
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(whole * tenth / 10);
        kill(pid, SIGKILL);
        waitFor(pid);

        const std::string after = readFile(file);
        ASSERT_EQ(dbase::DbfRecordSet::open(file, dbase::Access::DryRun)->RecordCount(), 100000);
        EXPECT_EQ(changedOutside(before, after, writableBytes(layout, after.size())),
                  std::vector<long>{});
        const auto states = destinationStates(before, complete, after, layout);
        EXPECT_EQ(states.tornFields, 0);
        EXPECT_EQ(states.mixedRecords, 0);
        EXPECT_TRUE(states.prefixThenOld);
        if (states.newRecords > 0 && states.oldFields > 0)
            ++midRun;
        std::printf("killed at %d/10: %ld records saved, %d destinations still old\n", tenth,
                    states.newRecords, states.oldFields);

        EXPECT_EQ(run({kProgramDir + "/shamsi-dates", file}), 0);
        EXPECT_TRUE(readFile(file) == complete) << "the second run must complete the table";
    }
    expectIndependentReaderOpens({completeFile});
    EXPECT_GT(midRun, 0) << "no kill landed in the middle of a walk";
    RecordProperty("kills_mid_run", midRun);
}

} // namespace
