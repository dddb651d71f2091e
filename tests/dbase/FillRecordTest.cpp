// The engine's fill of a record in one step against the same fill spelled out
// in record-set operations (RecordSet::FillRecord): on the same table, with
// the same converter, the file ends byte for byte the same, the walk ends
// with the same failure, and the converter is asked the same questions, but
// for dates it let be remembered, which it is told about instead.
#include "dbase/DbfRecordSet.h"
#include "tests/support/TableBuilder.h"
#include "tests/support/TableChecks.h"

#include <gtest/gtest.h>
#include <map>

using namespace halvane;
using namespace halvane::test;
using dbase::Access;
using dbase::DatePair;
using dbase::DbfRecordSet;

namespace
{

constexpr std::array<DatePair, 4> kPairs{{
    {"ES", "SHES"},
    {"EF", "SHEF"},
    {"ES_T1", "SHTS"},
    {"EF_T1", "SHTF"},
}};

// Answers by the date's text; "again" for the answers it lets be
// remembered, "marked" for those it marks, "boom" for a failure. Logs
// "FIELD text" for each question and "FIELD again" (or "FIELD again marked")
// for each date told about instead.
struct Answer {
    std::string text;
    bool again = true;
    bool marked = false;
};
using Answers = std::map<std::string, Answer, std::less<>>;

class LoggingConverter final : public dbase::DateConverter
{
public:
    explicit LoggingConverter(const Answers& answers) : m_answers(answers) {}
    std::string convert(std::string_view source, std::string_view dateText,
                        dbase::Reuse& reuse) override
    {
        log.push_back(std::string(source) + " " + std::string(dateText));
        const auto found = m_answers.find(dateText);
        if (found == m_answers.end())
            return {}; // not placed: asked again each time
        if (found->second.text == "boom")
            throw Failure(err::InvalidCall, "Invalid procedure call");
        reuse.allowed = found->second.again;
        reuse.marked = found->second.marked;
        return found->second.text;
    }
    void convertedAgain(std::string_view source, bool marked) override
    {
        log.push_back(std::string(source) + (marked ? " again marked" : " again"));
    }
    std::vector<std::string> log;

private:
    const Answers& m_answers;
};

struct FillCase {
    const char* name;
    std::vector<FieldSpec> fields;
    std::vector<std::vector<std::string>> records;
    Answers answers;
    std::vector<DatePair> pairs; // none: the run's four
    std::span<const DatePair> filled() const
    {
        return pairs.empty() ? std::span<const DatePair>(kPairs) : std::span(pairs);
    }
    Access access = Access::ReadWrite;
    int failure = 0;         // how the walk ends
    std::size_t damaged = 0; // a record (1 for the first) whose deletion flag is not ' ' or '*'
};

struct Walked {
    std::string bytes;
    std::vector<std::string> log;
    int failure = 0;
    std::string description;
};

// Every record filled, by the engine's one step or spelled out, then the
// end-of-run check.
Walked walk(const TempDir& dir, const FillCase& c, bool spelledOut)
{
    TableBuilder table;
    table.fields = c.fields;
    for (std::size_t r = 0; r < c.records.size(); ++r)
        table.add(c.records[r], r % 3 == 2); // some of them deleted
    std::string bytes = table.bytes();
    if (c.damaged)
        bytes[table.headerLength() + (c.damaged - 1) * table.recordLength()] = 'x';
    const auto file = dir.write("Shamsi.dbf", bytes);
    LoggingConverter convert(c.answers);
    Walked walked;
    try {
        auto set = DbfRecordSet::open(file, c.access);
        while (!set->Eof()) {
            if (spelledOut)
                set->RecordSet::FillRecord(c.filled(), convert);
            else
                set->FillRecord(c.filled(), convert);
            set->MoveNext();
        }
        set->Flush();
        set->requireUnchanged();
    } catch (const Failure& f) {
        walked.failure = f.number();
        walked.description = f.description();
    }
    walked.bytes = readFile(file);
    walked.log = std::move(convert.log);
    return walked;
}

class OneStep : public testing::TestWithParam<FillCase>
{
};

TEST_P(OneStep, FillsAsTheSpelledOutOperationsDo)
{
    const FillCase& c = GetParam();
    TempDir dir;
    const Walked expected = walk(dir, c, true);
    const Walked got = walk(dir, c, false);
    EXPECT_EQ(expected.failure, c.failure) << expected.description;
    EXPECT_EQ(got.failure, expected.failure);
    EXPECT_EQ(got.description, expected.description);
    EXPECT_EQ(got.bytes, expected.bytes);

    // The same questions, in the same order, but where a remembered answer
    // was given: there the converter is told, with the answer's mark, and
    // only about a date it let be remembered when it was first asked.
    ASSERT_EQ(got.log.size(), expected.log.size());
    std::map<std::string, bool> remembered;
    int told = 0;
    for (std::size_t i = 0; i < got.log.size(); ++i) {
        const std::string& asked = expected.log[i];
        const std::string text = asked.substr(asked.find(' ') + 1);
        const auto answer = c.answers.find(text);
        if (got.log[i] != asked) {
            const bool marked = answer != c.answers.end() && answer->second.marked;
            EXPECT_EQ(got.log[i],
                      asked.substr(0, asked.find(' ')) + (marked ? " again marked" : " again"))
                << i;
            EXPECT_TRUE(remembered[text]) << asked << " was never answered to be remembered";
            ++told;
        }
        if (answer != c.answers.end() && answer->second.again)
            remembered[text] = true;
    }
    if (c.failure == 0 && c.pairs.empty()) {
        EXPECT_GT(told, 0) << "the engine remembered nothing";
    }
}

std::vector<std::string> row(std::string es, std::string ef, std::string est1, std::string eft1,
                             std::string filled = "old")
{
    return {"1",    std::move(es), std::move(ef), std::move(est1), std::move(eft1),
            filled, filled,        filled,        filled,          "T"};
}

// 1999-01-01 is answered anew every time, 2010-12-31 is marked; 19800230 is
// not a real date, so the converter is asked about its stored text.
const Answers kSchedule = {
    {"2000-03-21", {"79/01/02"}},
    {"2001-03-21", {"80/01/01"}},
    {"2010-12-31", {"89/10/10", true, true}},
    {"1999-01-01", {"77/10/11", false}},
    {"19800230", {"bad day"}},
};

std::vector<std::vector<std::string>> scheduleRows()
{
    return {
        row("20000321", "20010321", "20101231", "19990101"),
        row("20010321", "20000321", "        ", "00000000"),
        row("20101231", "20101231", "20240101", "19800230"), // 2024: not placed
        row("20000321", "19990101", "2000032 ", "abcdefgh"),
        row("20000321", "20010321", "20101231", "19990101", "79/01/02"),
        row("19600101", "20401231", "20000321", "20000321"), // outside what is remembered
    };
}

std::vector<FieldSpec> wide(unsigned width)
{
    auto fields = scheduleFields();
    for (auto& f : fields)
        if (f.type == 'C')
            f.width = width;
    return fields;
}

// SHES ten characters wide, the others eight.
std::vector<FieldSpec> mixedWidths()
{
    auto fields = wide(8);
    for (auto& f : fields)
        if (f.name == "SHES")
            f.width = 10;
    return fields;
}

Answers fourDigitYears()
{
    Answers answers = kSchedule;
    for (auto& [text, answer] : answers)
        if (answer.text.size() == 8 && answer.text[2] == '/')
            answer.text = "13" + answer.text;
    answers["2001-03-21"].text = "a text longer than sixteen bytes";
    return answers;
}

std::vector<std::vector<std::string>> filledRows()
{
    auto rows = scheduleRows();
    for (auto& r : rows)
        for (std::size_t f = 5; f < 9; ++f)
            r[f] = "79/01/02";
    rows[1][5] = rows[1][6] = rows[1][7] = rows[1][8] = "";
    return rows;
}

INSTANTIATE_TEST_SUITE_P(
    Tables, OneStep,
    testing::Values(
        FillCase{"schedule", scheduleFields(10), scheduleRows(), kSchedule, {}},
        FillCase{"rerunOfAFilledTable", scheduleFields(10), filledRows(), kSchedule, {}},
        FillCase{"wideDestinations", wide(254), scheduleRows(), fourDigitYears(), {}},
        FillCase{"exactlyAsWideAsTheText", wide(8), scheduleRows(), kSchedule, {}},
        FillCase{"tooNarrowForARememberedText",
                 wide(8),
                 scheduleRows(),
                 fourDigitYears(),
                 {},
                 Access::ReadWrite,
                 err::FieldTooSmall},
        FillCase{"oneCharacterDestinations",
                 wide(1),
                 scheduleRows(),
                 kSchedule,
                 {},
                 Access::ReadWrite,
                 err::FieldTooSmall},
        FillCase{"rememberedTextTooWideForTheNextField",
                 mixedWidths(),
                 {row("20000321", "        ", "        ", "        "),
                  row("        ", "20000321", "        ", "        ")},
                 fourDigitYears(),
                 {},
                 Access::ReadWrite,
                 err::FieldTooSmall},
        FillCase{"dryRun", scheduleFields(10), scheduleRows(), kSchedule, {}, Access::DryRun},
        FillCase{"converterFails",
                 scheduleFields(10),
                 scheduleRows(),
                 [] {
                     Answers a = kSchedule;
                     a["2024-01-01"].text = "boom";
                     return a;
                 }(),
                 {},
                 Access::ReadWrite,
                 err::InvalidCall},
        FillCase{"damagedDeletionFlag",
                 scheduleFields(10),
                 scheduleRows(),
                 kSchedule,
                 {},
                 Access::ReadWrite,
                 err::UnrecognizedFormat,
                 5},
        FillCase{"missingDestination",
                 scheduleFields(10),
                 scheduleRows(),
                 kSchedule,
                 {{"ES", "SHES"}, {"EF", "SHEX"}},
                 Access::ReadWrite,
                 err::ItemNotFound},
        FillCase{"dateDestination",
                 scheduleFields(10),
                 scheduleRows(),
                 kSchedule,
                 {{"ES", "EF"}},
                 Access::ReadWrite,
                 err::TypeMismatch},
        FillCase{"characterSource",
                 {{"ES", 'C', 10}, {"SHES", 'C', 10}},
                 {{"2000-03-21", "old"}, {"2000-03-21", "old"}, {"", "old"}},
                 kSchedule,
                 {{"ES", "SHES"}}},
        FillCase{"oneDestinationTwice",
                 scheduleFields(10),
                 scheduleRows(),
                 kSchedule,
                 {{"ES", "SHES"}, {"EF", "SHES"}}}),
    [](const auto& p) { return std::string(p.param.name); });

} // namespace
