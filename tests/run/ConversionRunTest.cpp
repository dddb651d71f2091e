// The conversion run over a scripted record set: the order in which it uses
// the engine, what is saved when it stops at each kind of failure, and the
// one outcome message every front end shows.
#include "run/ConversionRun.h"

#include "tests/support/RecordingHost.h"
#include "tests/support/ScriptedRecordSet.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <new>
#include <set>

using namespace halvane;
using namespace halvane::test;

namespace
{

const std::string kOld = "OLD";

Record record(dbase::FieldValue es, dbase::FieldValue ef, dbase::FieldValue est1,
              dbase::FieldValue eft1)
{
    return {{"NAME", "task"}, {"ES", es},     {"EF", ef},     {"ES_T1", est1}, {"EF_T1", eft1},
            {"SHES", kOld},   {"SHEF", kOld}, {"SHTS", kOld}, {"SHTF", kOld}};
}
Record full(const std::string& day)
{
    return record("2000-03-" + day, "2001-03-" + day, "2002-03-" + day, "2003-03-" + day);
}

// Hands out the record set, or none; logs every request.
struct ScriptedSource final : dbase::RecordSetSource {
    ScriptedSource(std::vector<std::string>& log, dbase::RecordSet& rs) : m_log(log), m_rs(rs) {}
    dbase::RecordSet* Recordset() override
    {
        m_log.push_back("Recordset");
        const bool present = m_calls++ == 0 ? presentAtStart : presentAfterWalk;
        return present ? &m_rs : nullptr;
    }
    bool presentAtStart = true;
    bool presentAfterWalk = true;

private:
    std::vector<std::string>& m_log;
    dbase::RecordSet& m_rs;
    int m_calls = 0;
};

struct ScriptedDisplay final : run::RunDisplay {
    explicit ScriptedDisplay(std::vector<std::string>& log) : m_log(log) {}
    void showPicture(std::string_view fileName) override
    {
        m_log.push_back("showPicture " + std::string(fileName));
        if (missing.count(std::string(fileName)))
            throw Failure(err::FileNotFound, "File not found: " + std::string(fileName));
    }
    void focusRunButton() override { m_log.push_back("focusRunButton"); }
    std::set<std::string> missing;

private:
    std::vector<std::string>& m_log;
};

// Stands in for the conversion: years 1980 to 2023 give "S" and the date's
// last eight characters; others give the empty text, as a date that cannot
// be placed does. "boom" and "oom" fail.
std::string fakeConvert(std::vector<std::string>& log, std::string_view field,
                        std::string_view text)
{
    log.push_back("convert " + std::string(field) + " " + std::string(text));
    if (text == "boom")
        throw Failure(err::InvalidCall, "Invalid procedure call");
    if (text == "oom")
        throw std::bad_alloc();
    const int year = text.size() >= 4 ? std::stoi(std::string(text.substr(0, 4))) : 0;
    if (year < 1980 || year > 2023)
        return {};
    return "S" + std::string(text.substr(2));
}

struct Scenario {
    explicit Scenario(std::vector<Record> records)
        : rs(log, std::move(records)), source(log, rs), display(log)
    {
    }
    std::vector<std::string> log;
    ScriptedRecordSet rs;
    ScriptedSource source;
    ScriptedDisplay display;
    run::Converter convert = [this](std::string_view f, std::string_view t) {
        return fakeConvert(log, f, t);
    };

    // Runs the whole run; returns its outcome. The run itself shows no box
    // and never ends the process: that is the front end's.
    Outcome outcome()
    {
        RecordingHost host;
        const Outcome result = run::runConversion(source, display, convert);
        EXPECT_TRUE(host.messages.empty());
        EXPECT_EQ(host.ended, 0);
        EXPECT_EQ(result.succeeded(), result.number() == 0);
        EXPECT_EQ(result.succeeded(), result.message().empty());
        return result;
    }
    // The outcome's message ("" on success).
    std::string click() { return outcome().message(); }
    bool logged(const std::string& entry) const
    {
        return std::find(log.begin(), log.end(), entry) != log.end();
    }
    std::size_t position(const std::string& entry) const
    {
        return std::size_t(std::find(log.begin(), log.end(), entry) - log.begin());
    }
};

using Destinations = std::array<std::string, 4>;
const Destinations kUntouched{kOld, kOld, kOld, kOld};
Destinations converted(const std::string& day)
{
    return {"S00-03-" + day, "S01-03-" + day, "S02-03-" + day, "S03-03-" + day};
}

Destinations destinations(const Record& r)
{
    Destinations d;
    for (std::size_t i = 0; i < 4; ++i) {
        const auto& v = r.at(std::string(run::kFieldPairs[i].second));
        d[i] = v ? *v : "(Null)";
    }
    return d;
}

struct RunCase {
    std::string name;
    std::vector<Record> records;
    std::function<void(Scenario&)> arrange;
    std::string message;             // "" when the run succeeds
    int number;                      // the failure's number; 0 when the run succeeds
    std::vector<Destinations> saved; // every record's destinations afterwards
    bool successShown;
};

std::ostream& operator<<(std::ostream& os, const RunCase& c)
{
    return os << c.name;
}

const std::vector<Record> kThree{full("21"), full("22"), full("23")};
std::vector<Record> threeWithout(const std::string& field)
{
    auto records = kThree;
    for (auto& r : records)
        r.erase(field);
    return records;
}
const std::vector<Destinations> kThreeConverted{converted("21"), converted("22"), converted("23")};

const RunCase kCases[] = {
    {"NoRecordSet",
     kThree,
     [](Scenario& s) { s.source.presentAtStart = false; },
     "Shamsi.dbf file not found",
     err::ObjectNotSet,
     {kUntouched, kUntouched, kUntouched},
     false},
    {"WaitPictureMissing",
     kThree,
     [](Scenario& s) { s.display.missing = {"wait.BMP"}; },
     "Unexpected Error: File not found: wait.BMP",
     err::FileNotFound,
     {kUntouched, kUntouched, kUntouched},
     false},
    {"TableWithoutEF_T1",
     threeWithout("EF_T1"),
     nullptr,
     "Unexpected Error: Item not found in this collection: EF_T1",
     err::ItemNotFound,
     {kUntouched, kUntouched, kUntouched},
     false},
    {"TableWithoutSHEF",
     threeWithout("SHEF"),
     nullptr,
     "Unexpected Error: Item not found in this collection: SHEF",
     err::ItemNotFound,
     {},
     false},
    {"DestinationRefusesTextMidTable",
     kThree,
     [](Scenario& s) {
         s.rs.failAt("2:SetField SHEF", Failure(err::FieldTooSmall, "Field SHEF is too small"));
     },
     "Unexpected Error: Field SHEF is too small",
     err::FieldTooSmall,
     {converted("21"), kUntouched, kUntouched},
     false},
    {"ConversionFailsMidTable",
     {full("21"), record("boom", "2000-01-01", {}, {}), full("23")},
     nullptr,
     "Unexpected Error: Invalid procedure call",
     err::InvalidCall,
     {converted("21"), kUntouched, kUntouched},
     false},
    {"ConversionRunsOutOfMemory",
     {record("oom", {}, {}, {})},
     nullptr,
     "Unexpected Error: Out of memory",
     err::OutOfMemory,
     {kUntouched},
     false},
    {"UpdateFailsMidTable",
     kThree,
     [](Scenario& s) { s.rs.failAt("2:Update", Failure(err::DiskFull, "Disk full")); },
     "Unexpected Error: Disk full",
     err::DiskFull,
     {converted("21"), kUntouched, kUntouched},
     false},
    {"MoveNextFailsMidTable",
     kThree,
     [](Scenario& s) { s.rs.failAt("2:MoveNext", Failure(err::DeviceIO, "Device I/O error")); },
     "Unexpected Error: Device I/O error",
     err::DeviceIO,
     {converted("21"), converted("22"), kUntouched},
     false},
    {"FlushFails", kThree,
     [](Scenario& s) { s.rs.failAt("Flush", Failure(err::DeviceIO, "Device I/O error")); },
     "Unexpected Error: Device I/O error", err::DeviceIO, kThreeConverted, false},
    {"SuccessPictureMissing", kThree, [](Scenario& s) { s.display.missing = {"success.BMP"}; },
     "Unexpected Error: File not found: success.BMP", err::FileNotFound, kThreeConverted, false},
    {"TableGoneAfterWalk", kThree, [](Scenario& s) { s.source.presentAfterWalk = false; },
     "Shamsi.dbf file not found", err::ObjectNotSet, kThreeConverted, false},
    {"EmptyTable", {}, nullptr, "", 0, {}, true},
    {"EmptyTableRefusesMoveLast",
     {},
     [](Scenario& s) {
         s.rs.failAt("MoveLast", Failure(err::NoCurrentRecord, "No current record"));
     },
     "Unexpected Error: No current record",
     err::NoCurrentRecord,
     {},
     false},
    {"OneRecord", {full("21")}, nullptr, "", 0, {converted("21")}, true},
    {"ManyRecords", kThree, nullptr, "", 0, kThreeConverted, true},
    {"AllSourcesEmpty",
     {record({}, {}, {}, {})},
     nullptr,
     "",
     0,
     {Destinations{" ", " ", " ", " "}},
     true},
    {"EmptyTextCountsAsEmpty",
     {record("", {}, "2000-03-21", "")},
     nullptr,
     "",
     0,
     {Destinations{" ", " ", "S00-03-21", " "}},
     true},
    {"OnlyESFilled",
     {record("2000-03-21", {}, {}, {})},
     nullptr,
     "",
     0,
     {Destinations{"S00-03-21", " ", " ", " "}},
     true},
    {"DateNotPlacedGivesEmptyTextAndGoesOn",
     {record("1979-12-31", "2024-01-01", "2000-03-21", {}), full("22")},
     nullptr,
     "",
     0,
     {Destinations{"", "", "S00-03-21", " "}, converted("22")},
     true},
};

class RunOutcome : public ::testing::TestWithParam<RunCase>
{
};

TEST_P(RunOutcome, MessageAndWhatIsSaved)
{
    const RunCase& c = GetParam();
    Scenario s(c.records);
    if (c.arrange)
        c.arrange(s);

    const Outcome outcome = s.outcome();
    EXPECT_EQ(outcome.message(), c.message);
    EXPECT_EQ(outcome.number(), c.number);

    if (!c.saved.empty()) {
        ASSERT_EQ(s.rs.saved().size(), c.saved.size());
        for (std::size_t i = 0; i < c.saved.size(); ++i)
            EXPECT_EQ(destinations(s.rs.saved()[i]), c.saved[i]) << "record " << i + 1;
    }
    // Exactly the records shown as changed were saved; the one that failed was not.
    EXPECT_EQ(s.rs.updates(), std::count_if(c.saved.begin(), c.saved.end(),
                                            [](const Destinations& d) { return d != kUntouched; }));

    EXPECT_EQ(s.logged("showPicture success.BMP") && s.logged("focusRunButton"), c.successShown);
    if (s.logged("showPicture success.BMP")) {
        // Durable before success is shown; Eof read on a record set asked for anew.
        EXPECT_LT(s.position("Flush"), s.position("showPicture success.BMP"));
    }
    if (s.logged("Edit")) {
        EXPECT_LT(s.position("showPicture wait.BMP"), s.position("Edit"));
    }
}

INSTANTIATE_TEST_SUITE_P(FailureTable, RunOutcome, ::testing::ValuesIn(kCases),
                         [](const auto& p) { return p.param.name; });

TEST(ConversionRun, UsesTheEngineInItsOrder)
{
    Scenario s({record("2000-03-21", {}, "", "2003-03-22")});
    EXPECT_EQ(s.click(), "");
    const std::vector<std::string> expected = {
        "Recordset", "MoveLast", "MoveFirst", "showPicture wait.BMP", "Eof", "Edit",
        // ES: tested, read again, converted, written.
        "Field ES", "Field ES", "convert ES 2000-03-21", "SetField SHES=S00-03-21",
        // EF: Null.
        "Field EF", "SetField SHEF= ",
        // ES_T1: present but empty text.
        "Field ES_T1", "SetField SHTS= ", "Field EF_T1", "Field EF_T1", "convert EF_T1 2003-03-22",
        "SetField SHTF=S03-03-22", "Update", "MoveNext", "Eof", "Flush", "Recordset", "Eof",
        "showPicture success.BMP", "focusRunButton"};
    EXPECT_EQ(s.log, expected);
}

TEST(ConversionRun, FirstRecordOfTableWithoutEF_T1IsEditedButNeverSaved)
{
    Scenario s(threeWithout("EF_T1"));
    s.click();
    EXPECT_EQ(s.rs.updates(), 0);
    EXPECT_FALSE(s.logged("Update"));
    EXPECT_EQ(destinations(s.rs.editBuffer()),
              (Destinations{"S00-03-21", "S01-03-21", "S02-03-21", kOld}));
    EXPECT_EQ(s.log.back(), "Field EF_T1");
}

TEST(ConversionRun, NoRecordSetTouchesNothingElse)
{
    Scenario s(kThree);
    s.source.presentAtStart = false;
    s.click();
    EXPECT_EQ(s.log, std::vector<std::string>{"Recordset"});
}

TEST(ConversionRun, SecondRunWritesTheSameValuesAgain)
{
    Scenario s({full("21"), record({}, "1979-01-01", {}, {})});
    EXPECT_EQ(s.click(), "");
    const auto first = s.rs.saved();
    s.log.clear();
    EXPECT_EQ(s.click(), "");
    EXPECT_EQ(s.rs.saved(), first);
    EXPECT_EQ(s.rs.updates(), 4);
    EXPECT_EQ(std::count(s.log.begin(), s.log.end(), "showPicture success.BMP"), 1);
}

TEST(ConversionRun, ConvertTableThrowsTheFailureForTheOutcome)
{
    Scenario s(kThree);
    s.source.presentAtStart = false;
    try {
        run::convertTable(s.source, s.display, s.convert);
        FAIL() << "no failure";
    } catch (const Failure& f) {
        EXPECT_EQ(f.number(), err::ObjectNotSet);
        EXPECT_EQ(run::outcomeMessage(f), "Shamsi.dbf file not found");
    }
    EXPECT_EQ(run::outcomeMessage(Failure(err::ItemNotFound, "no EF_T1")),
              "Unexpected Error: no EF_T1");
}

} // namespace
