// The instruction viewer: a page of instructions stored with the design,
// then, from "Visual Tour", a slideshow of the fifteen page pictures 1.BMP to
// 15.BMP of the program's directory, stepped through with "Next>>" and
// "<<Prev".
#pragma once

#include "ui/forms/CommandButton.h"
#include "ui/forms/Form.h"
#include "ui/forms/PictureBox.h"

#include <cstdint>

namespace halvane::ui
{

class frmInstruction final : public Form
{
public:
    static constexpr std::int16_t kPageCount = 15;

    frmInstruction();
    static const WindowDesign& Design();

    void cmdVisual_Click();
    void cmdNext_Click();
    void cmdPrev_Click();
    void cmdOK_Click();

    // The page shown by the tour (1 to 15); unset before the first "Visual
    // Tour".
    std::int16_t page() const { return m_page; }

private:
    void showPage();

    CommandButton m_cmdPrev;
    CommandButton m_cmdNext;
    PictureBox m_Picture1;
    std::int16_t m_page = 0;
};

} // namespace halvane::ui
