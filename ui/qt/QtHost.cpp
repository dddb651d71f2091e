#include "ui/qt/QtHost.h"

#include "ui/forms/WindowServices.h"

#include <QAbstractButton>
#include <cstdio>
#include <cstdlib>

namespace halvane::ui::qt
{

void QtHost::messageBox(std::string_view text, std::string_view title)
{
    auto box = makeMessageBox(text, title);
    // Takes the keyboard at once, so Enter presses OK even where no window
    // manager hands the focus to a new window.
    box->show();
    box->raise();
    box->activateWindow();
    box->exec();
    box.reset();
    // Window managers hand the activation to no window, or to another one,
    // when a box without an owner closes.
    restoreActiveWindow();
}

void QtHost::endProcess()
{
    // Saved records are already in the table file; the window system takes
    // every window away with the process.
    std::fflush(nullptr);
    std::_Exit(0);
}

std::unique_ptr<QMessageBox> makeMessageBox(std::string_view text, std::string_view title)
{
    auto box = std::make_unique<QMessageBox>();
    box->setWindowModality(Qt::ApplicationModal);
    box->setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
    box->setTextFormat(Qt::PlainText); // a file name is never taken for markup
    box->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    box->setIcon(QMessageBox::NoIcon);
    box->setStandardButtons(QMessageBox::Ok);
    QAbstractButton* ok = box->button(QMessageBox::Ok);
    ok->setIcon(QIcon()); // some styles (Fusion) give standard buttons an icon
    box->setDefaultButton(QMessageBox::Ok);
    box->setEscapeButton(ok);
    return box;
}

} // namespace halvane::ui::qt
