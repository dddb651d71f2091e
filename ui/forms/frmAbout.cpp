#include "ui/forms/frmAbout.h"

#include "ui/forms/SysInfo.h"
#include "ui/forms/WindowServices.h"

namespace halvane::ui
{
namespace
{

// Topmost first. The two lines named Line1 lie on one height: the grey one of
// width 1 over the white one of width 2, an engraved rule under the title.
constexpr ControlDesign kControls[] = {
    {.name = "cmdOK",
     .kind = ControlKind::PushButton,
     .text = "OK",
     .place = {2160, 960, 1020, 345},
     .font = kButtonFont,
     .tabIndex = 0,
     .isDefault = true,
     .isCancel = true},
    {.name = "cmdSysInfo",
     .kind = ControlKind::PushButton,
     .text = "&System Info...",
     .place = {2160, 1440, 1005, 345},
     .font = Font{kTahoma, 6},
     .tabIndex = 1},
    {.name = "Label1",
     .kind = ControlKind::Label,
     .text = kContactAddress,
     .place = {120, 2160, 2205, 225},
     .font = Font{kTahoma, 8.25, true},
     .foreground = Colour::system(syscolour::kHighlight),
     .tabIndex = 4},
    {.name = "Image1",
     .kind = ControlKind::StretchedPicture,
     .place = {120, 1440, 2400, 735},
     .picture = "logo"},
    {.name = "Line1",
     .index = 1,
     .kind = ControlKind::Line,
     .place = {90, 840},
     .lineTo = {3240, 840},
     .lineWidth = 1,
     .foreground = Colour::rgb(128, 128, 128)},
    {.name = "lblTitle",
     .kind = ControlKind::Label,
     .text = "Halvane Shamsi Dates",
     .place = {120, 120, 2085, 240},
     .font = kWindowFont,
     .foreground = Colour::rgb(0, 0, 0),
     .tabIndex = 2},
    {.name = "Line1",
     .index = 0,
     .kind = ControlKind::Line,
     .place = {120, 840},
     .lineTo = {3240, 840},
     .lineWidth = 2,
     .foreground = Colour::rgb(255, 255, 255)},
};

constexpr WindowDesign kDesign{
    .name = "frmAbout",
    .kind = WindowKind::ToolWindow,
    .caption = "About Halvane Shamsi Dates",
    .client = {3315, 2400},
    // A fixed place, given for the client area: not centred, not where the
    // window system would put it.
    .placement = Placement::FixedClientPosition,
    .position = {2040, 1590},
    .font = kWindowFont,
    .icon = "icon",
    .controls = kControls,
};

} // namespace

const WindowDesign& frmAbout::Design()
{
    return kDesign;
}

frmAbout::frmAbout() : Form(kDesign)
{
    bind("cmdOK", ControlEvent::Click, &frmAbout::cmdOK_Click);
    bind("cmdSysInfo", ControlEvent::Click, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::cmdOK_Click()
{
    Unload(*this);
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

} // namespace halvane::ui
