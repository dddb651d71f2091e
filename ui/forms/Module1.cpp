#include "ui/forms/Module1.h"

#include "ui/forms/WindowServices.h"
#include "ui/forms/frmSplash.h"

namespace halvane::ui::Module1
{

void Main()
{
    Repaint(Show<frmSplash>());
}

} // namespace halvane::ui::Module1
