// The About window: the program's title, the maker's logo and contact
// address, "OK" to close it and "System Info..." to start the operating
// system's system-information program.
#pragma once

#include <QWidget>

namespace halvane::ui
{

// The maker's contact address shown in Label1.
inline constexpr char kContactAddress[] = "halvane@example.org";

class frmAbout final : public QWidget
{
    Q_OBJECT

public:
    frmAbout();

    void cmdOK_Click();
    void cmdSysInfo_Click();
};

} // namespace halvane::ui
