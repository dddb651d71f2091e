// The two keyboard roles a window's buttons can take, as Windows windows
// have them: the default button, pressed by Enter when the focus is on no
// other button, and the cancel button, pressed by Escape. Qt gives these
// roles only to dialogs; the program's windows are plain tool windows.
#pragma once

#include <QObject>
#include <QPointer>
#include <QPushButton>

class QWidget;

namespace halvane::ui::qt
{

class ButtonRoles final : public QObject
{
    Q_OBJECT

public:
    // Gives `window` its default and cancel buttons (either may be null, both
    // may be the same button). A hidden or disabled button does not react.
    ButtonRoles(QWidget& window, QPushButton* defaultButton, QPushButton* cancelButton);

    QPushButton* defaultButton() const { return m_default; }
    QPushButton* cancelButton() const { return m_cancel; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QPushButton> m_default;
    QPointer<QPushButton> m_cancel;
};

} // namespace halvane::ui::qt
