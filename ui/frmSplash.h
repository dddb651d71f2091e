// The splash window: the program's title artwork, "OK" on to the main window
// and "About". It has no title bar and no close button.
#pragma once

#include <QWidget>

namespace halvane::ui
{

class frmSplash final : public QWidget
{
    Q_OBJECT

public:
    frmSplash();

    void cmdOK_Click();
    void cmdAbout_Click();

protected:
    // "OK" is the only way on: a close request (Alt+F4, the window manager) is refused.
    void closeEvent(QCloseEvent* event) override;
};

} // namespace halvane::ui
