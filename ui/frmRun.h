// The main window "QRX Ver. 2.0": loads the date correspondence table when it
// opens, runs the conversion over the SHAMSI table on "Run", ends the program
// on "Exit", and opens the instruction viewer from its instruction area.
#pragma once

#include "core/ConversionCache.h"
#include "core/DateTable.h"
#include "run/ConversionRun.h"

#include <QWidget>
#include <optional>
#include <string>
#include <string_view>

class QPushButton;

namespace halvane::ui
{

class ClickArea;
class DataControlWidget;
class PictureBox;

class frmRun final : public QWidget, public run::RunDisplay
{
    Q_OBJECT

public:
    frmRun();

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
    DataControlWidget* m_dbShamsi;
    QPushButton* m_cmdCancel;
    QPushButton* m_cmdRun;
    PictureBox* m_picRun;
    ClickArea* m_imgInstr;
};

} // namespace halvane::ui
