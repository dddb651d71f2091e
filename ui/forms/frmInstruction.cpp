#include "ui/forms/frmInstruction.h"

#include "system/Platform.h"
#include "ui/forms/WindowServices.h"

#include <string>

namespace halvane::ui
{
namespace
{

// Topmost first. "<<Prev" is the cancel button: Escape steps back a page.
// Enter presses the button that has the focus, so it goes on forward on
// "Next>>"; when "Next>>" is disabled on the last page the focus moves on to
// "<<Prev", and the keyboard rules hold Enter there (KeyboardRules).
constexpr ControlDesign kControls[] = {
    {.name = "cmdPrev",
     .kind = ControlKind::PushButton,
     .text = "<<Prev",
     .place = {360, 6600, 855, 255},
     .font = kButtonFont,
     .tabIndex = 4,
     .isCancel = true,
     .visible = false,
     .enabled = false},
    {.name = "cmdNext",
     .kind = ControlKind::PushButton,
     .text = "Next>>",
     .place = {1320, 6600, 855, 255},
     .font = kButtonFont,
     .tabIndex = 3,
     .visible = false},
    {.name = "cmdVisual",
     .kind = ControlKind::PushButton,
     .text = "Visual Tour",
     .place = {3720, 6600, 1095, 255},
     .font = kButtonFont,
     .tabIndex = 2},
    {.name = "cmdOK",
     .kind = ControlKind::PushButton,
     .text = "Close",
     .place = {4920, 6600, 1095, 255},
     .font = kButtonFont,
     .tabIndex = 1},
    {.name = "Picture1",
     .kind = ControlKind::PictureBox,
     .place = {0, 120, 6015, 6375},
     .tabIndex = 0,
     .picture = "instruction_page"},
};

constexpr WindowDesign kDesign{
    .name = "frmInstruction",
    .kind = WindowKind::ToolWindow,
    .caption = "Instruction",
    .client = {6120, 6915},
    .placement = Placement::SystemDefault,
    .font = kWindowFont,
    .icon = "icon",
    .controls = kControls,
};

} // namespace

const WindowDesign& frmInstruction::Design()
{
    return kDesign;
}

frmInstruction::frmInstruction()
    : Form(kDesign), m_cmdPrev(*this, "cmdPrev"), m_cmdNext(*this, "cmdNext"),
      m_Picture1(*this, "Picture1")
{
    bind("cmdPrev", ControlEvent::Click, &frmInstruction::cmdPrev_Click);
    bind("cmdNext", ControlEvent::Click, &frmInstruction::cmdNext_Click);
    bind("cmdVisual", ControlEvent::Click, &frmInstruction::cmdVisual_Click);
    bind("cmdOK", ControlEvent::Click, &frmInstruction::cmdOK_Click);
}

void frmInstruction::showPage()
{
    // Page n is "n.BMP" in the current directory. A failure to load it is
    // left to the default handling: the viewer has no handler of its own.
    m_Picture1.setPictureFromFile(std::to_string(m_page) + ".BMP");
}

void frmInstruction::cmdVisual_Click()
{
    m_page = 1;
    platform::makeCurrent(platform::programDirectory());
    showPage();
    m_cmdPrev.setEnabled(false);
    m_cmdNext.setEnabled(true);
    m_cmdNext.setVisible(true);
    m_cmdPrev.setVisible(true);
}

void frmInstruction::cmdNext_Click()
{
    ++m_page;
    m_cmdPrev.setEnabled(true);
    showPage();
    if (m_page == kPageCount)
        m_cmdNext.setEnabled(false);
}

void frmInstruction::cmdPrev_Click()
{
    --m_page;
    m_cmdNext.setEnabled(true);
    showPage();
    if (m_page == 1)
        m_cmdPrev.setEnabled(false);
}

void frmInstruction::cmdOK_Click()
{
    Unload(*this);
}

} // namespace halvane::ui
