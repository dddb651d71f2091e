// The exact start of the windowed program: what its command line is read as,
// and the main window of "/exact" placing the dates by the Persian calendar,
// with the same boxes for dates it cannot place and its caption saying so.
#include "run/ConversionRun.h"
#include "tests/ui/forms/FormsTest.h"
#include "ui/forms/Module1.h"
#include "ui/forms/StartOptions.h"
#include "ui/forms/frmRun.h"

#include <array>

namespace halvane::test
{
namespace
{

// ------------------------------------------------------------------ the command line

struct ArgsCase {
    const char* name;
    std::vector<std::string> args;
    bool exact, fourDigitYear;
};

void PrintTo(const ArgsCase& c, std::ostream* os)
{
    *os << c.name;
}

class StartArguments : public ::testing::TestWithParam<ArgsCase>
{
};

TEST_P(StartArguments, AreReadAsTheSwitches)
{
    const auto options = ui::StartOptions::parse(GetParam().args);
    EXPECT_EQ(options.exact, GetParam().exact);
    EXPECT_EQ(options.fourDigitYear, GetParam().fourDigitYear);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, StartArguments,
    ::testing::Values(
        ArgsCase{"None", {}, false, false}, ArgsCase{"WindowsSwitch", {"/exact"}, true, false},
        ArgsCase{"LinuxSwitch", {"--exact"}, true, false},
        ArgsCase{"AnyLetterCase", {"/EXACT", "/Four-Digit-Year"}, true, true},
        ArgsCase{"FourDigitsAfter", {"--exact", "--four-digit-year"}, true, true},
        ArgsCase{"FourDigitsBefore", {"/four-digit-year", "/exact"}, true, true},
        // Without the exact start the year's length changes nothing.
        ArgsCase{"FourDigitsAlone", {"--four-digit-year"}, false, false},
        // Anything else is ignored, as a shortcut's arguments always were.
        ArgsCase{
            "OthersIgnored", {"C:\\Shamsi.dbf", "-exact", "exact", "/exactly", "--"}, false, false},
        ArgsCase{"OthersBeside", {"/x", "/exact", "--dry-run"}, true, false},
        ArgsCase{"Empty", {"", "/", "--"}, false, false}),
    [](const auto& p) { return std::string(p.param.name); });

// ------------------------------------------------------------------ the exact run

// ES, EF, ES_T1, EF_T1 of each record: days of 1979 (before the years the date
// table places), 2024, 2026 and the calendar's last day in 2123, the first
// day after it, a day before the calendar's first, a text that is no date,
// and empty fields.
const TableBuilder kRecords = [] {
    TableBuilder table;
    table.add(scheduleRecord("19790101", "19790321", "20240320", "20240229"));
    table.add(scheduleRecord("20261208", "21230320", "21230321", ""));
    table.add(scheduleRecord("ABCDEFGH", "17991231", "", "20301231"));
    return table;
}();
constexpr int kNotPlaced = 3; // 2123-03-21, 1799-12-31 and ABCDEFGH

struct Expected {
    const char* name;
    bool fourDigitYear;
    std::array<std::array<const char*, 4>, 3> stored;
};

void PrintTo(const Expected& e, std::ostream* os)
{
    *os << e.name;
}

class ExactRun : public FormsTest, public ::testing::WithParamInterface<Expected>
{
protected:
    ~ExactRun() override
    {
        // The next test starts as the program starts without switches.
        ui::unloadAll();
        ui::Module1::Main();
        ui::unloadAll();
    }
};

TEST_P(ExactRun, PlacesTheDatesByTheCalendarAndReportsOnlyThoseItCannot)
{
    writeTable(kRecords);
    ui::Module1::Main({.exact = true, .fourDigitYear = GetParam().fourDigitYear});
    click("frmSplash", "cmdOK");
    const WindowRecord& main = windows.window("frmRun");
    ASSERT_EQ(main.design, &ui::frmRun::ExactDesign());
    EXPECT_EQ(main.design->caption, "QRX Ver. 2.0 - exact");
    // Only the caption tells the two apart: the same controls, place and size.
    const ui::WindowDesign& plain = ui::frmRun::Design();
    EXPECT_EQ(main.design->controls.data(), plain.controls.data());
    EXPECT_EQ(main.design->controls.size(), plain.controls.size());
    EXPECT_EQ(main.design->name, plain.name);
    EXPECT_EQ(main.design->client, plain.client);
    EXPECT_EQ(main.design->kind, plain.kind);
    EXPECT_EQ(main.design->icon, plain.icon);

    for (int run = 1; run <= 2; ++run) {
        click("frmRun", "cmdRun");
        const std::string bytes = readFile(tableFile());
        for (std::size_t r = 0; r < kRecords.records.size(); ++r)
            for (std::size_t f = 0; f < run::kFieldPairs.size(); ++f)
                EXPECT_EQ(kRecords.storedField(bytes, r, run::kFieldPairs[f].second),
                          GetParam().stored[r][f])
                    << "run " << run << ", record " << r << " " << run::kFieldPairs[f].second;
        EXPECT_EQ(main.control("picRun").picture,
                  readFile(std::filesystem::path(HALVANE_PROGRAM_DIR) / "success.BMP"));
        EXPECT_EQ(host.ended, 0);
        // One box a date that is not placed, each run: 1979 is placed now.
        EXPECT_EQ(host.messages, std::vector<Message>(static_cast<std::size_t>(run * kNotPlaced),
                                                      Message{"Unable to Calculate Shamsi Dates",
                                                              "Date Not Found"}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    YearLengths, ExactRun,
    ::testing::Values(Expected{"TwoDigits",
                               false,
                               {{{"57/10/11  ", "58/01/01  ", "03/01/01  ", "02/12/10  "},
                                 {"05/09/17  ", "01/12/29  ", "          ", "          "},
                                 {"          ", "          ", "          ", "09/10/10  "}}}},
                      Expected{"FourDigits",
                               true,
                               {{{"1357/10/11", "1358/01/01", "1403/01/01", "1402/12/10"},
                                 {"1405/09/17", "1501/12/29", "          ", "          "},
                                 {"          ", "          ", "          ", "1409/10/10"}}}}),
    [](const auto& p) { return std::string(p.param.name); });

using DefaultStart = FormsTest;

TEST_F(DefaultStart, KeepsTheDesignsCaption)
{
    ui::Module1::Main();
    click("frmSplash", "cmdOK");
    EXPECT_EQ(windows.window("frmRun").design, &ui::frmRun::Design());
    EXPECT_EQ(ui::frmRun::Design().caption, "QRX Ver. 2.0");
}

} // namespace
} // namespace halvane::test
