// The instruction viewer, opened from the main window's instruction area.
#pragma once

#include <QWidget>

namespace halvane::ui
{

class frmInstruction final : public QWidget
{
    Q_OBJECT

public:
    frmInstruction();
};

} // namespace halvane::ui
