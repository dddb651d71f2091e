#include "frmAbout.h"

#include "Design.h"

namespace halvane::ui
{

frmAbout::frmAbout()
{
    makeToolWindow(*this, QStringLiteral("About Halvane Shamsi Dates"), 3315, 2400);
    setWindowIcon(programIcon());
    setDesignFont(*this, QString::fromLatin1(kTahoma), kWindowFontSize);
    move(twips(2040), twips(1590));
}

} // namespace halvane::ui
