#include "frmInstruction.h"

#include "Design.h"

namespace halvane::ui
{

frmInstruction::frmInstruction()
{
    makeToolWindow(*this, QStringLiteral("Instruction"), 6120, 6915);
    setWindowIcon(programIcon());
    setDesignFont(*this, QString::fromLatin1(kTahoma), kWindowFontSize);
}

} // namespace halvane::ui
