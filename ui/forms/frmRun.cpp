#include "ui/forms/frmRun.h"

#include "core/DatesFile.h"
#include "core/ExactShamsiDate.h"
#include "system/Host.h"
#include "system/Outcome.h"
#include "system/Platform.h"
#include "core/ShamsiConv.h"
#include "ui/forms/Module1.h"
#include "ui/forms/WindowServices.h"
#include "ui/forms/frmInstruction.h"

#include <filesystem>

namespace halvane::ui
{
namespace
{

constexpr Font kMsSansSerifFont{kMsSansSerif, 8.25};

// Topmost first. The two buttons lie side by side under the picture and
// together span exactly its width.
constexpr ControlDesign kControls[] = {
    {.name = "picRun",
     .kind = ControlKind::PictureBox,
     .place = {120, 120, 2535, 1335},
     .font = kMsSansSerifFont,
     .tabIndex = 2,
     .picture = "instruction"},
    // Catches clicks over the middle of the picture; draws nothing.
    {.name = "imgInstr",
     .kind = ControlKind::ClickArea,
     .parent = "picRun",
     .place = {960, 360, 1455, 375}},
    {.name = "cmdRun",
     .kind = ControlKind::PushButton,
     .text = "Run",
     .place = {120, 1560, 1215, 270},
     .font = kButtonFont,
     .tabIndex = 0},
    {.name = "cmdCancel",
     .kind = ControlKind::PushButton,
     .text = "Exit",
     .place = {1440, 1560, 1215, 270},
     .font = kButtonFont,
     .tabIndex = 1},
    {.name = "dbShamsi",
     .kind = ControlKind::DataControl,
     .text = "Data1",
     .place = {360, 1320, 2055, 345},
     .font = kMsSansSerifFont,
     .visible = false,
     .dataSource = DataSource{dbase::DataControl::kConnect, dbase::DataControl::kDatabaseName,
                              dbase::DataControl::kRecordSource}},
};

constexpr WindowDesign kDesign{
    .name = "frmRun",
    .kind = WindowKind::ToolWindow,
    .caption = "QRX Ver. 2.0",
    .client = {2775, 1875},
    .placement = Placement::CentredOnScreen,
    .font = kWindowFont,
    .icon = "icon",
    .controls = kControls,
};

// The main window of the exact start: the same window, its caption telling
// which calendar places the dates.
constexpr WindowDesign kExactDesign = [] {
    WindowDesign design = kDesign;
    design.caption = "QRX Ver. 2.0 - exact";
    return design;
}();

// How the dates are placed, as the program was started: by the Persian
// calendar, or by the date table (nothing).
std::optional<ExactCalendar> startedCalendar()
{
    const StartOptions& options = Module1::startOptions();
    if (!options.exact)
        return std::nullopt;
    return ExactCalendar{options.fourDigitYear};
}

} // namespace

const WindowDesign& frmRun::Design()
{
    return kDesign;
}

const WindowDesign& frmRun::ExactDesign()
{
    return kExactDesign;
}

frmRun::frmRun() : frmRun(startedCalendar()) {}

frmRun::frmRun(std::optional<ExactCalendar> exact)
    : Form(exact ? kExactDesign : kDesign), m_exact(exact), m_dbShamsi(&dataControl("dbShamsi")),
      m_cmdRun(*this, "cmdRun"), m_picRun(*this, "picRun")
{
    bind("cmdRun", ControlEvent::Click, &frmRun::cmdRun_Click);
    bind("cmdCancel", ControlEvent::Click, &frmRun::cmdCancel_Click);
    bind("imgInstr", ControlEvent::Click, &frmRun::imgInstr_Click);
}

void frmRun::Form_Load()
{
    // The table load, guarded as a whole: telling the program's directory and
    // making it current are part of it. A failure shows "Unexpected Error: "
    // and ends the process before the window is shown.
    endOnFailure(guarded([this] {
        platform::makeCurrent(platform::programDirectory());
        // A relative name, so it resolves in the directory just made current;
        // a failure names the full path, so the reader knows where to look.
        loadDateTable(m_table, std::filesystem::absolute(std::filesystem::path(kDatesFileName)));
    }));
}

void frmRun::cmdRun_Click()
{
    // The answers of one run are remembered within it: a schedule holds the
    // same days many times over.
    if (m_exact)
        m_conversions.emplace(*m_exact);
    else
        m_conversions.emplace(m_table);
    // A failure shows its message and ends the process here, with the
    // window as the run left it.
    endOnFailure(run::runConversion(*m_dbShamsi, *this, static_cast<dbase::DateConverter&>(*this)));
    m_conversions.reset();
    // No handle on the table between runs: the exporting program may
    // rewrite or replace it before the next one.
    m_dbShamsi->Close();
}

void frmRun::cmdCancel_Click()
{
    Unload(*this);
    endProcess();
}

void frmRun::imgInstr_Click()
{
    Show<frmInstruction>();
}

std::string frmRun::Shamsi_Conv(std::string_view GetVar)
{
    auto result = m_conversions ? m_conversions->shamsiDate(GetVar)
                  : m_exact     ? exactShamsiDate(GetVar, m_exact->fourDigitYear)
                                : shamsiDate(m_table, GetVar);
    if (result)
        return std::move(*result);
    // Reported, and the run goes on with the empty text.
    msgBox(kDateNotFoundText, kDateNotFoundTitle);
    return {};
}

std::string frmRun::convert(std::string_view, std::string_view dateText, dbase::Reuse& reuse)
{
    std::string text = Shamsi_Conv(dateText);
    reuse.allowed = !text.empty();
    return text;
}

void frmRun::showPicture(std::string_view fileName)
{
    m_picRun.setPictureFromFile(fileName);
}

void frmRun::focusRunButton()
{
    m_cmdRun.setFocus();
}

} // namespace halvane::ui
