#include "ui/frmRun.h"

#include "core/ConversionCache.h"
#include "core/DatesFile.h"
#include "core/Host.h"
#include "core/Outcome.h"
#include "core/Platform.h"
#include "core/ShamsiConv.h"
#include "ui/ClickArea.h"
#include "ui/DataControlWidget.h"
#include "ui/Design.h"
#include "ui/PictureBox.h"
#include "ui/WindowServices.h"
#include "ui/frmInstruction.h"

#include <QImage>
#include <QPushButton>

namespace halvane::ui
{

frmRun::frmRun()
{
    makeToolWindow(*this, QStringLiteral("QRX Ver. 2.0"), 2775, 1875);
    setWindowIcon(programIcon());
    setDesignFont(*this, QString::fromLatin1(kTahoma), kWindowFontSize);

    // Controls from the bottom-most to the topmost: each one created lies
    // over those before it.
    m_dbShamsi = addControl<DataControlWidget>(*this, "dbShamsi", twipsRect(360, 1320, 2055, 345));
    m_dbShamsi->setCaption(QStringLiteral("Data1"));
    setDesignFont(*m_dbShamsi, QString::fromLatin1(kMsSansSerif), kWindowFontSize);

    m_cmdCancel =
        addButton(*this, "cmdCancel", QStringLiteral("Exit"), twipsRect(1440, 1560, 1215, 270));
    m_cmdRun = addButton(*this, "cmdRun", QStringLiteral("Run"), twipsRect(120, 1560, 1215, 270));

    m_picRun = addControl<PictureBox>(*this, "picRun", twipsRect(120, 120, 2535, 1335));
    setDesignFont(*m_picRun, QString::fromLatin1(kMsSansSerif), kWindowFontSize);
    m_picRun->setPicture(QImage(QStringLiteral(":/art/instruction.png")));

    // Inside the picture box, placed relative to its interior.
    m_imgInstr = addControl<ClickArea>(
        *m_picRun, "imgInstr",
        twipsRect(960, 360, 1455, 375).translated(m_picRun->contentsRect().topLeft()));

    setTabOrder(m_cmdRun, m_cmdCancel);
    setTabOrder(m_cmdCancel, m_picRun);
    m_cmdRun->setFocus();

    connectHandler(m_cmdRun, &QPushButton::clicked, this, &frmRun::cmdRun_Click);
    connectHandler(m_cmdCancel, &QPushButton::clicked, this, &frmRun::cmdCancel_Click);
    connectHandler(m_imgInstr, &ClickArea::clicked, this, &frmRun::imgInstr_Click);

    centreOnScreen(*this);
}

void frmRun::Form_Load()
{
    // The table load, guarded as a whole: telling the program's directory and
    // making it current are part of it. A failure shows "Unexpected Error: "
    // and ends the process before the window is shown.
    guarded([this] {
        platform::makeCurrent(platform::programDirectory());
        // A relative name, so it resolves in the directory just made current;
        // a failure names the full path, so the reader knows where to look.
        loadDateTable(m_table, std::filesystem::absolute(std::filesystem::path(kDatesFileName)));
    });
}

void frmRun::cmdRun_Click()
{
    // The answers of one run are remembered within it: a schedule holds the
    // same days many times over.
    m_conversions.emplace(m_table);
    run::runConversion(*m_dbShamsi, *this, [this](std::string_view, std::string_view text) {
        return Shamsi_Conv(text);
    });
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
    if (auto result =
            m_conversions ? m_conversions->shamsiDate(GetVar) : shamsiDate(m_table, GetVar))
        return std::move(*result);
    // Reported, and the run goes on with the empty text.
    msgBox(kDateNotFoundText, kDateNotFoundTitle);
    return {};
}

void frmRun::showPicture(std::string_view fileName)
{
    setPictureFromFile(*m_picRun, fileName);
}

void frmRun::focusRunButton()
{
    m_cmdRun->setFocus();
}

} // namespace halvane::ui
