// The main window "QRX Ver. 2.0": loads the date correspondence table when it
// opens, runs the conversion over the SHAMSI table on "Run", ends the program
// on "Exit", and opens the instruction viewer from its instruction area.
// Started with "/exact" (ui/forms/StartOptions.h) it places the dates by the
// Persian calendar instead of the table, and says so in its caption.
#pragma once

#include "core/ConversionCache.h"
#include "core/DateTable.h"
#include "core/ExactShamsiDate.h"
#include "dbase/DataControl.h"
#include "run/ConversionRun.h"
#include "ui/forms/CommandButton.h"
#include "ui/forms/Form.h"
#include "ui/forms/PictureBox.h"

#include <optional>
#include <string>
#include <string_view>

namespace halvane::ui
{

class frmRun final : public Form, public run::RunDisplay, private dbase::DateConverter
{
public:
    // Places the dates as the program was started (Module1::startOptions()).
    frmRun();
    static const WindowDesign& Design();
    // The design of the exact start: Design() with the caption
    // "QRX Ver. 2.0 - exact".
    static const WindowDesign& ExactDesign();

    // Makes the program's directory current and loads DATES.TXT from it; on
    // failure shows the message and ends the process.
    void Form_Load();
    void cmdRun_Click();
    void cmdCancel_Click();
    void imgInstr_Click();

    // The Shamsi date text of one date through the window's table, or the
    // Persian calendar in the exact start; when the date cannot be placed,
    // the message "Unable to Calculate Shamsi Dates" (title "Date Not Found")
    // and the empty text.
    std::string Shamsi_Conv(std::string_view GetVar);

    // What the conversion run shows: pictures in picRun, the focus on Run.
    void showPicture(std::string_view fileName) override;
    void focusRunButton() override;

private:
    explicit frmRun(std::optional<ExactCalendar> exact);

    // The run's questions, answered by Shamsi_Conv: a date it places is
    // placed the same the next time; one it cannot shows its box each time.
    std::string convert(std::string_view source, std::string_view dateText,
                        dbase::Reuse& reuse) override;
    void convertedAgain(std::string_view, bool) override {}

    DateTable m_table;
    std::optional<ExactCalendar> m_exact;         // none: the date table places the dates
    std::optional<ConversionCache> m_conversions; // during a run
    dbase::DataControl* m_dbShamsi;
    CommandButton m_cmdRun;
    PictureBox m_picRun;
};

} // namespace halvane::ui
