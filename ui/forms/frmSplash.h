// The splash window: the program's title artwork, "OK" on to the main window
// and "About". It has no title bar and no close button.
#pragma once

#include "ui/forms/Form.h"

namespace halvane::ui
{

class frmSplash final : public Form
{
public:
    frmSplash();
    static const WindowDesign& Design();

    void cmdOK_Click();
    void cmdAbout_Click();
};

} // namespace halvane::ui
