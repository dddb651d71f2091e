// The main window "QRX Ver. 2.0": loads the date correspondence table when it
// opens, runs the conversion over the SHAMSI table on "Run", ends the program
// on "Exit", and opens the instruction viewer from its instruction area.
#pragma once

#include "core/ConversionCache.h"
#include "core/DateTable.h"
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

class frmRun final : public Form, public run::RunDisplay
{
public:
    frmRun();
    static const WindowDesign& Design();

    // Makes the program's directory current and loads DATES.TXT from it; on
    // failure shows the message and ends the process.
    void Form_Load();
    void cmdRun_Click();
    void cmdCancel_Click();
    void imgInstr_Click();

    // The Shamsi date text of one date through the window's table; when the
    // table cannot place the date, the message "Unable to Calculate Shamsi
    // Dates" (title "Date Not Found") and the empty text.
    std::string Shamsi_Conv(std::string_view GetVar);
    const DateTable& dateTable() const { return m_table; }

    // What the conversion run shows: pictures in picRun, the focus on Run.
    void showPicture(std::string_view fileName) override;
    void focusRunButton() override;

private:
    DateTable m_table;
    std::optional<ConversionCache> m_conversions; // during a run
    dbase::DataControl* m_dbShamsi;
    CommandButton m_cmdRun;
    PictureBox m_picRun;
};

} // namespace halvane::ui
