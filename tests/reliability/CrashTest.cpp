// Runs of shamsi-dates killed at random moments (SIGKILL; TerminateProcess on
// Windows), on tables of several shapes, one test per shape: wide fields
// between the destinations, and destinations of 254 bytes among them. After
// every kill: the table is a sound table of all its records, no byte outside
// the destinations changed, every record is saved or not (old) but for the
// one being saved at the kill, which may hold some destinations new and
// others old, and every destination holds its old or its new text whole;
// a second run completes the table. What was found is printed and recorded.
#include "system/Platform.h"
#include "tests/reliability/Reliability.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Sanitizers.h"

#include <chrono>
#include <random>
#include <thread>

using namespace halvane;
using namespace halvane::test;

namespace
{

const std::string kProgramDir = HALVANE_PROGRAM_DIR;

// Smaller tables under the sanitizers, which make every run several times
// slower.
constexpr unsigned kScale = kSanitized ? 5 : 1;

// The full sweep in the normal build; a short one under the sanitizers,
// which make every run several times slower, and under Wine, where starting
// a program takes about a second.
#ifdef _WIN32
constexpr int kKillsPerShape = 5;
#else
constexpr int kKillsPerShape = kSanitized ? 8 : 50;
#endif

std::vector<std::string> fill(const std::filesystem::path& table)
{
    return {builtProgram("shamsi-dates"), "--dates", kProgramDir + "/DATES.TXT",
            platform::utf8Name(table)};
}

struct Shape {
    const char* name;
    std::vector<FieldSpec> fields;
    unsigned records;
    // What the destinations hold before the first run, record by record in
    // turn: a text whose change is no more than 8 bytes is saved by one
    // store, a change of up to 16 by one masked store where the processor has
    // one, a longer change by one write call of the field.
    std::vector<std::string> oldTexts;
};

std::ostream& operator<<(std::ostream& os, const Shape& shape)
{
    return os << shape.name;
}

// The shapes: the destinations side by side in a narrow record; one wide
// field after each destination; wide destinations holding a long old text,
// so that a save copies many bytes into each; changes of 9 to 16 bytes; and
// destinations of 254 bytes, the widest a character field can be, holding
// texts of every length.
std::vector<Shape> shapes()
{
    const FieldSpec es{"ES", 'D', 8}, ef{"EF", 'D', 8}, esT1{"ES_T1", 'D', 8},
        efT1{"EF_T1", 'D', 8};
    auto text = [](const char* name, unsigned width) { return FieldSpec{name, 'C', width}; };
    return {
        {"Adjacent", scheduleFields(), 150'000 / kScale, {"old"}},
        {"WideFieldsBetween",
         {{"ID", 'N', 5},
          es,
          ef,
          esT1,
          efT1,
          text("SHES", 10),
          text("NOTES", 200),
          text("SHEF", 10),
          text("TASK", 254),
          text("SHTS", 10),
          {"COST", 'N', 12},
          text("SHTF", 10),
          {"DONE", 'L', 1}},
         20'000 / kScale,
         {"old"}},
        {"WideDestinations",
         {es, text("SHES", 60), text("A", 100), ef, text("SHEF", 60), text("B", 100), esT1,
          text("SHTS", 60), text("C", 100), efT1, text("SHTF", 60)},
         15'000 / kScale,
         {"the old text of an earlier export, long"}},
        // Changes of 9 to 16 bytes: one masked store each where there is one.
        {"ChangesOf9To16Bytes",
         {es,
          text("SHES", 16),
          ef,
          text("SHEF", 16),
          esT1,
          text("SHTS", 16),
          efT1,
          text("SHTF", 16),
          {"ID", 'N', 7}},
         30'000 / kScale,
         {"ninebytes", "an old text 13", "old text, twelve"}},
        {"Destinations254",
         {es,
          text("SHES", 254),
          ef,
          text("SHEF", 254),
          {"ID", 'N', 7},
          esT1,
          text("SHTS", 254),
          efT1,
          text("SHTF", 254)},
         12'000 / kScale,
         {std::string(254, '~'), "old", std::string(130, '#'), "05/09/1"}},
    };
}

// Records with dates spread over 1975 to 2028 (some empty, some outside the
// years the conversion places), every other field filled.
TableBuilder build(const Shape& shape)
{
    std::mt19937 random(7);
    TableBuilder table;
    table.fields = shape.fields;
    for (unsigned r = 0; r < shape.records; ++r) {
        std::vector<std::string> values;
        for (const FieldSpec& f : shape.fields) {
            if (f.type == 'D') {
                char date[9] = "        ";
                if (random() % 8 != 0)
                    std::snprintf(date, sizeof date, "%04u%02u%02u", unsigned(1975 + random() % 54),
                                  unsigned(1 + random() % 12), unsigned(1 + random() % 28));
                values.emplace_back(date);
            } else if (f.name.starts_with("SH")) {
                values.push_back(shape.oldTexts[r % shape.oldTexts.size()]);
            } else if (f.type == 'C') {
                values.push_back(std::string(f.width, char('a' + r % 26)));
            } else if (f.type == 'L') {
                values.emplace_back(r % 2 ? "T" : "F");
            } else {
                values.push_back(std::to_string(r % 100000));
            }
        }
        table.add(std::move(values), r % 50 == 0);
    }
    return table;
}

class Crash : public testing::TestWithParam<Shape>
{
};

TEST_P(Crash, KilledRunsLeaveASoundTableThatASecondRunCompletes)
{
    const Shape& shape = GetParam();
    TempDir dir;
    std::mt19937 random(2024);
    const std::string before = build(shape).bytes();
    const auto completeFile = dir.write(std::string(shape.name) + "-complete.dbf", before);
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(ChildProcess(fill(completeFile)).wait(), 0);
    const auto whole = std::chrono::steady_clock::now() - started;
    const std::string complete = readFile(completeFile);
    const auto layout = dbase::DbfRecordSet::open(completeFile, dbase::Access::DryRun)->layout();

    int kills = 0, midWalk = 0, tornFields = 0, mixedRecords = 0;
    std::filesystem::path kept;
    for (int k = 0; k < kKillsPerShape; ++k) {
        // Kill k at a random moment of the k-th of equal parts of the run, so
        // that a few kills (under Wine) still spread over the whole walk.
        const auto delay = std::chrono::duration_cast<std::chrono::microseconds>(whole) *
                           ((k + std::uniform_real_distribution<double>(0, 1)(random)) /
                            kKillsPerShape);
        SCOPED_TRACE("kill " + std::to_string(k + 1) + " after " + std::to_string(delay.count()) +
                     " us");
        const auto file = dir.write(std::string(shape.name) + "-killed.dbf", before);
        ChildProcess run(fill(file));
        ASSERT_TRUE(run.started());
        // Every other kill comes the moment the run has saved the record at
        // that point of the walk; the others at that point of the run's time,
        // which under Wine is mostly the program's start.
        if (k % 2 == 0)
            waitForSave(run, file, before, complete, layout,
                        static_cast<std::uint32_t>(delay / whole * shape.records));
        else
            std::this_thread::sleep_for(delay);
        run.kill();
        run.wait();
        ++kills;

        const std::string after = readFile(file);
        ASSERT_EQ(dbase::DbfRecordSet::open(file, dbase::Access::DryRun)->RecordCount(),
                  long(shape.records));
        ASSERT_EQ(changedOutside(before, after, writableBytes(layout, after.size())),
                  std::vector<long>{});
        const auto states = destinationStates(before, complete, after, layout);
        EXPECT_TRUE(states.prefixThenOld) << "a saved record after one left unsaved";
        EXPECT_LE(states.mixedRecords, 1) << "only the record being saved is in between";
        EXPECT_EQ(states.tornFields, 0) << "a destination holds its old or its new text whole";
        tornFields += states.tornFields;
        mixedRecords += states.mixedRecords;
        if (states.newRecords > 0 && states.oldFields > 0) {
            ++midWalk;
            if (kept.empty()) {
                kept = dir / (std::string(shape.name) + "-kept.dbf");
                std::filesystem::copy_file(file, kept);
            }
        }

        ASSERT_EQ(ChildProcess(fill(file)).wait(), 0);
        ASSERT_TRUE(readFile(file) == complete) << "the second run must complete the table";
    }
    std::printf("%s: %d kills, %d in the middle of the walk, %d records left with some "
                "destinations new and others old, %d destinations left with a mixture\n",
                shape.name, kills, midWalk, mixedRecords, tornFields);
    EXPECT_GT(midWalk, 0) << "no kill landed in the middle of a walk";
    // A table killed in the middle of a walk, read by a reader that shares
    // nothing with ours.
    if (!kept.empty())
        expectIndependentReaderOpens({kept});
    RecordProperty("kills", kills);
    RecordProperty("kills_mid_walk", midWalk);
    RecordProperty("mixed_records", mixedRecords);
    RecordProperty("mixed_destinations", tornFields);
}

INSTANTIATE_TEST_SUITE_P(Shapes, Crash, testing::ValuesIn(shapes()),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
