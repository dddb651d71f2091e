#include "ui/frmInstruction.h"

#include "core/Platform.h"
#include "ui/ButtonRoles.h"
#include "ui/Design.h"
#include "ui/PictureBox.h"
#include "ui/WindowServices.h"

#include <QImage>
#include <QPushButton>
#include <string>

namespace halvane::ui
{

frmInstruction::frmInstruction()
{
    makeToolWindow(*this, QStringLiteral("Instruction"), 6120, 6915);
    setWindowIcon(programIcon());
    setDesignFont(*this, QString::fromLatin1(kTahoma), kWindowFontSize);

    // Controls from the bottom-most up: each new one lies over the ones before.
    m_Picture1 = addControl<PictureBox>(*this, "Picture1", twipsRect(0, 120, 6015, 6375));
    m_Picture1->setPicture(QImage(QStringLiteral(":/art/instruction_page.png")));
    auto* cmdOK =
        addButton(*this, "cmdOK", QStringLiteral("Close"), twipsRect(4920, 6600, 1095, 255));
    auto* cmdVisual = addButton(*this, "cmdVisual", QStringLiteral("Visual Tour"),
                                twipsRect(3720, 6600, 1095, 255));
    m_cmdNext =
        addButton(*this, "cmdNext", QStringLiteral("Next>>"), twipsRect(1320, 6600, 855, 255));
    m_cmdPrev =
        addButton(*this, "cmdPrev", QStringLiteral("<<Prev"), twipsRect(360, 6600, 855, 255));
    m_cmdNext->hide();
    m_cmdPrev->hide();
    m_cmdPrev->setEnabled(false);

    // "<<Prev" is the cancel button: Escape steps back a page. Enter keeps
    // pressing the button that has the focus, so it goes on forward after
    // "Next>>" instead of turning back from the picture.
    new ButtonRoles(*this, nullptr, m_cmdPrev);
    setTabOrder(m_Picture1, cmdOK);
    setTabOrder(cmdOK, cmdVisual);
    setTabOrder(cmdVisual, m_cmdNext);
    setTabOrder(m_cmdNext, m_cmdPrev);
    m_Picture1->setFocus();

    connectHandler(m_cmdPrev, &QPushButton::clicked, this, &frmInstruction::cmdPrev_Click);
    connectHandler(m_cmdNext, &QPushButton::clicked, this, &frmInstruction::cmdNext_Click);
    connectHandler(cmdVisual, &QPushButton::clicked, this, &frmInstruction::cmdVisual_Click);
    connectHandler(cmdOK, &QPushButton::clicked, this, &frmInstruction::cmdOK_Click);
}

void frmInstruction::showPage()
{
    // Page n is "n.BMP" in the current directory. A failure to load it is
    // left to the default handling: the viewer has no handler of its own.
    setPictureFromFile(*m_Picture1, std::to_string(m_page) + ".BMP");
}

void frmInstruction::cmdVisual_Click()
{
    m_page = 1;
    platform::makeCurrent(platform::programDirectory());
    showPage();
    m_cmdPrev->setEnabled(false);
    m_cmdNext->setEnabled(true);
    m_cmdNext->show();
    m_cmdPrev->show();
}

void frmInstruction::cmdNext_Click()
{
    ++m_page;
    m_cmdPrev->setEnabled(true);
    showPage();
    if (m_page == kPageCount)
        m_cmdNext->setEnabled(false);
}

void frmInstruction::cmdPrev_Click()
{
    --m_page;
    m_cmdNext->setEnabled(true);
    showPage();
    if (m_page == 1)
        m_cmdPrev->setEnabled(false);
}

void frmInstruction::cmdOK_Click()
{
    Unload(*this);
}

} // namespace halvane::ui
