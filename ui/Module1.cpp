#include "Module1.h"

#include "WindowServices.h"
#include "frmSplash.h"

namespace halvane::ui::Module1
{

void Main()
{
    Repaint(Show<frmSplash>());
}

} // namespace halvane::ui::Module1
