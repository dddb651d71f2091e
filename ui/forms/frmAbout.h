// The About window: the program's title, the maker's logo and contact
// address, "OK" to close it and "System Info..." to start the operating
// system's system-information program.
#pragma once

#include "ui/forms/Form.h"

#include <string_view>

namespace halvane::ui
{

// The maker's contact address shown in Label1.
inline constexpr std::string_view kContactAddress = "halvane@example.org";

class frmAbout final : public Form
{
public:
    frmAbout();
    static const WindowDesign& Design();

    void cmdOK_Click();
    void cmdSysInfo_Click();
};

} // namespace halvane::ui
