#include "ui/DataControlWidget.h"

namespace halvane::ui
{

DataControlWidget::DataControlWidget(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    hide();
}

} // namespace halvane::ui
