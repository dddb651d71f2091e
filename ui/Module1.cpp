#include "ui/Module1.h"

#include "ui/WindowServices.h"
#include "ui/frmSplash.h"

namespace halvane::ui::Module1
{

void Main()
{
    Repaint(Show<frmSplash>());
}

} // namespace halvane::ui::Module1
