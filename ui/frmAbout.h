// The About window, opened from the splash window.
#pragma once

#include <QWidget>

namespace halvane::ui
{

class frmAbout final : public QWidget
{
    Q_OBJECT

public:
    frmAbout();
};

} // namespace halvane::ui
