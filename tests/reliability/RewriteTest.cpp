// A table exported again in place while shamsi-dates works on it: the run is
// paused at a moment of its walk, the table rewritten with the same layout
// and size and other dates, and the run let go on. It must end in 3197
// ("rewritten during the run", the record, "run again"), never in success;
// only a rewrite before the run opened the table may end in success, and
// then with the rewritten table filled.
#include "system/Platform.h"
#include "tests/reliability/Reliability.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Sanitizers.h"

#include <fstream>
#include <random>

using namespace halvane;
using namespace halvane::test;

namespace
{

// Smaller under the sanitizers, where a run is many times slower.
constexpr unsigned kRecords = kSanitized ? 40'000 : 200'000;
// Three pauses in the middle of a run, in at most five tries. A pause comes
// the moment the run has saved the record at its point of the walk; a try
// whose pause missed the walk (the run was done already) moves the next
// pause towards the start.
constexpr int kRefusals = 3, kTries = 5;

// The export: `year` in every date, "old" in the destinations.
TableBuilder exported(unsigned year)
{
    std::mt19937 random(year);
    TableBuilder table;
    for (unsigned r = 0; r < kRecords; ++r) {
        auto date = [&] {
            char text[9];
            std::snprintf(text, sizeof text, "%04u%02u%02u", year, unsigned(1 + random() % 12),
                          unsigned(1 + random() % 28));
            return std::string(text);
        };
        table.add(scheduleRecord(date(), date(), date(), r % 5 ? date() : ""));
    }
    return table;
}

std::vector<std::string> fill(const std::filesystem::path& table)
{
    return {builtProgram("shamsi-dates"), "--dates", std::string(HALVANE_PROGRAM_DIR) + "/DATES.TXT",
            platform::utf8Name(table)};
}

class PausedAndRewritten : public testing::TestWithParam<double>
{
};

TEST_P(PausedAndRewritten, NeverEndsInSuccess)
{
    TempDir dir;
    const std::string first = exported(2001).bytes(), again = exported(2015).bytes();
    ASSERT_EQ(first.size(), again.size());
    const auto filledFirst = dir.write("first.dbf", first);
    const auto filledAgain = dir.write("again.dbf", again);
    ASSERT_EQ(ChildProcess(fill(filledFirst)).wait(), 0);
    ASSERT_EQ(ChildProcess(fill(filledAgain)).wait(), 0);
    const std::string completeFirst = readFile(filledFirst), completeAgain = readFile(filledAgain);
    const auto layout = dbase::DbfRecordSet::open(filledFirst, dbase::Access::DryRun)->layout();

    int refused = 0;
    double moment = GetParam();
    for (int t = 0; t < kTries && refused < kRefusals; ++t) {
        SCOPED_TRACE("try " + std::to_string(t + 1) + " at " + std::to_string(moment));
        const auto file = dir.write("t.dbf", first);
        const auto output = dir / "output.txt";
        ChildProcess run(fill(file), platform::utf8Name(output));
        ASSERT_TRUE(run.started());
        const bool saving = waitForSave(run, file, first, completeFirst, layout,
                                        static_cast<std::uint32_t>(moment * kRecords));
        if (!saving || !run.pause()) {
            moment /= 2; // done already: nothing to rewrite under it
            continue;
        }
        std::fstream(file, std::ios::binary | std::ios::in | std::ios::out) << again;
        run.resume();
        const int status = run.wait();
        const std::string said = readFile(output);
        if (status == 0) {
            // Only possible when the table was rewritten before the run read it.
            EXPECT_TRUE(readFile(file) == completeAgain) << "a success over a table not filled";
            moment = (moment + 1) / 2;
            continue;
        }
        ++refused;
        EXPECT_EQ(status, 1) << said;
        EXPECT_NE(said.find("was rewritten during the run: record "), std::string::npos) << said;
        EXPECT_NE(said.find("; run again"), std::string::npos) << said;
        // Run again, as the message says: the table is filled.
        ASSERT_EQ(ChildProcess(fill(file)).wait(), 0);
        EXPECT_TRUE(readFile(file) == completeAgain);
    }
    EXPECT_GT(refused, 0) << "no pause landed in the middle of a run";
    RecordProperty("refused", refused);
}

INSTANTIATE_TEST_SUITE_P(Moments, PausedAndRewritten, testing::Values(0.3, 0.6, 0.85),
                         [](const auto& p) { return "At" + std::to_string(std::lround(p.param * 100)); });

} // namespace
