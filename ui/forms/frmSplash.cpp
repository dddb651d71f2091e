#include "ui/forms/frmSplash.h"

#include "ui/forms/WindowServices.h"
#include "ui/forms/frmAbout.h"
#include "ui/forms/frmRun.h"

namespace halvane::ui
{
namespace
{

// Topmost first. The frame covers the whole client area, its top border line
// above the visible area; the buttons lie over its lower right corner.
constexpr ControlDesign kControls[] = {
    {.name = "cmdAbout",
     .kind = ControlKind::PushButton,
     .text = "About",
     .place = {3480, 2760, 855, 270},
     .font = kButtonFont,
     .tabIndex = 1},
    {.name = "cmdOK",
     .kind = ControlKind::PushButton,
     .text = "OK",
     .place = {3480, 2400, 855, 270},
     .font = kButtonFont,
     .tabIndex = 0},
    {.name = "fraMainFrame",
     .kind = ControlKind::Frame,
     .place = {0, -120, 4455, 3495},
     .background = Colour::system(syscolour::kWindow),
     .tabIndex = 2},
    {.name = "Image1",
     .kind = ControlKind::StretchedPicture,
     .parent = "fraMainFrame",
     .place = {120, 240, 4110, 3075},
     .picture = "splash"},
};

constexpr WindowDesign kDesign{
    .name = "frmSplash",
    .kind = WindowKind::NoTitleBar,
    .client = {4440, 3360},
    .placement = Placement::CentredOnScreen,
    .font = kWindowFont,
    .background = Colour::system(syscolour::kActiveBorder),
    .controls = kControls,
};

} // namespace

const WindowDesign& frmSplash::Design()
{
    return kDesign;
}

frmSplash::frmSplash() : Form(kDesign)
{
    bind("cmdOK", ControlEvent::Click, &frmSplash::cmdOK_Click);
    bind("cmdAbout", ControlEvent::Click, &frmSplash::cmdAbout_Click);
}

void frmSplash::cmdOK_Click()
{
    Unload(*this);
    Show<frmRun>();
}

void frmSplash::cmdAbout_Click()
{
    Show<frmAbout>();
}

} // namespace halvane::ui
