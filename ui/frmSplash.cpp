#include "ui/frmSplash.h"

#include "ui/Design.h"
#include "ui/WindowServices.h"
#include "ui/frmAbout.h"
#include "ui/frmRun.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace halvane::ui
{
namespace
{
constexpr int kColorActiveBorder = 10;
constexpr int kColorWindow = 5;
} // namespace

frmSplash::frmSplash()
{
    makeTitlelessWindow(*this, 4440, 3360);
    setDesignFont(*this, QString::fromLatin1(kTahoma), kWindowFontSize);
    setBackground(*this, systemColour(kColorActiveBorder));

    // Controls from the bottom-most to the topmost: each one created lies
    // over those before it.
    auto* fraMainFrame =
        addControl<QGroupBox>(*this, "fraMainFrame", twipsRect(0, -120, 4455, 3495));
    setBackground(*fraMainFrame, systemColour(kColorWindow));
    fraMainFrame->setFocusPolicy(Qt::NoFocus);

    auto* Image1 = addControl<QLabel>(*fraMainFrame, "Image1", twipsRect(120, 240, 4110, 3075));
    Image1->setPixmap(QPixmap(QStringLiteral(":/art/splash.png")));
    Image1->setScaledContents(true);

    auto* cmdOK = addButton(*this, "cmdOK", QStringLiteral("OK"), twipsRect(3480, 2400, 855, 270));
    auto* cmdAbout =
        addButton(*this, "cmdAbout", QStringLiteral("About"), twipsRect(3480, 2760, 855, 270));

    setTabOrder(cmdOK, cmdAbout);
    setTabOrder(cmdAbout, fraMainFrame);
    cmdOK->setFocus();

    connectHandler(cmdOK, &QPushButton::clicked, this, &frmSplash::cmdOK_Click);
    connectHandler(cmdAbout, &QPushButton::clicked, this, &frmSplash::cmdAbout_Click);

    centreOnScreen(*this);
}

void frmSplash::cmdOK_Click()
{
    Unload(*this);
    Show<frmRun>();
}

void frmSplash::cmdAbout_Click()
{
    Show<frmAbout>();
}

void frmSplash::closeEvent(QCloseEvent* event)
{
    // Unload takes the window away without a close request.
    event->ignore();
}

} // namespace halvane::ui
