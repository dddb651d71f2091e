#include "ui/forms/Module1.h"

#include "ui/forms/WindowServices.h"
#include "ui/forms/frmSplash.h"

namespace halvane::ui::Module1
{
namespace
{

StartOptions g_options;

} // namespace

void Main(const StartOptions& options)
{
    g_options = options;
    Repaint(Show<frmSplash>());
}

const StartOptions& startOptions()
{
    return g_options;
}

} // namespace halvane::ui::Module1
