// Message boxes and the end of the process for the windowed program on Qt:
// the Host service (system/Host.h) while the Qt backend is in place.
#pragma once

#include "system/Host.h"

#include <QMessageBox>
#include <memory>
#include <string_view>

namespace halvane::ui::qt
{

class QtHost final : public Host
{
public:
    // Shows the box made by makeMessageBox, active at once, and waits until OK
    // is pressed; then the window that was active before is active again.
    void messageBox(std::string_view text, std::string_view title) override;
    // Immediate, with status 0: no handler, destructor or exit routine of the
    // program runs.
    [[noreturn]] void endProcess() override;
};

// The message box halvane::msgBox() shows: modal to the whole program, the
// text as plain text, `title` as its caption (the empty text stays empty), no
// icon, a single OK button without an icon, which Enter and Escape press.
// The caller runs exec().
std::unique_ptr<QMessageBox> makeMessageBox(std::string_view text, std::string_view title);

} // namespace halvane::ui::qt
