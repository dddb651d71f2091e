#include "ui/frmAbout.h"

#include "ui/ButtonRoles.h"
#include "ui/Design.h"
#include "ui/DesignLine.h"
#include "ui/SysInfo.h"
#include "ui/WindowServices.h"

#include <QLabel>
#include <QPushButton>
#include <QSvgWidget>
#include <initializer_list>

namespace halvane::ui
{
namespace
{

constexpr int kColorHighlight = 13; // COLOR_HIGHLIGHT

// A label of the design: plain text on the window's colour, no border,
// top-left aligned and wrapped at word ends like a Windows label.
QLabel* addLabel(QWidget& parent, const char* name, const QString& text, const QRect& geometry,
                 const QColor& textColour, bool bold)
{
    auto* label = addControl<QLabel>(parent, name, geometry);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setAutoFillBackground(true);
    setDesignFont(*label, QString::fromLatin1(kTahoma), kWindowFontSize, bold);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, textColour);
    label->setPalette(palette);
    return label;
}

// The line `index` of the pair named Line1.
DesignLine* addLine(QWidget& parent, int index, QPoint from, QPoint to, int width, QColor colour)
{
    auto* line = new DesignLine(parent, from, to, width, colour);
    line->setObjectName(QStringLiteral("Line1"));
    line->setProperty("index", index);
    return line;
}

} // namespace

frmAbout::frmAbout()
{
    makeToolWindow(*this, QStringLiteral("About Halvane Shamsi Dates"), 3315, 2400);
    setWindowIcon(programIcon());
    setDesignFont(*this, QString::fromLatin1(kTahoma), kWindowFontSize);
    // A fixed place, given for the client area: not centred, not where the
    // window system would put it.
    setGeometry(QRect(QPoint(twips(2040), twips(1590)), size()));

    // Controls in their tab order: the focus walks the controls in the order
    // they were made.
    auto* cmdOK = addButton(*this, "cmdOK", QStringLiteral("OK"), twipsRect(2160, 960, 1020, 345));
    auto* cmdSysInfo = addButton(*this, "cmdSysInfo", QStringLiteral("&System Info..."),
                                 twipsRect(2160, 1440, 1005, 345));
    setDesignFont(*cmdSysInfo, QString::fromLatin1(kTahoma), 6.0);
    auto* lblTitle = addLabel(*this, "lblTitle", QStringLiteral("Halvane Shamsi Dates"),
                              twipsRect(120, 120, 2085, 240), QColor(0, 0, 0), false);
    auto* label1 = addLabel(*this, "Label1", QString::fromLatin1(kContactAddress),
                            twipsRect(120, 2160, 2205, 225), systemColour(kColorHighlight), true);
    label1->setTextInteractionFlags(Qt::NoTextInteraction);
    auto* image1 = addControl<QSvgWidget>(*this, "Image1", twipsRect(120, 1440, 2400, 735));
    image1->load(QStringLiteral(":/art/logo.svg")); // stretched to the control
    image1->setFocusPolicy(Qt::NoFocus);
    const QPoint ruleEnd(twips(3240), twips(840));
    auto* line0 = addLine(*this, 0, {twips(120), twips(840)}, ruleEnd, 2, QColor(255, 255, 255));
    auto* line1 = addLine(*this, 1, {twips(90), twips(840)}, ruleEnd, 1, QColor(128, 128, 128));

    // Then stacked from the bottom-most up, each raised over the ones before.
    // The grey line of width 1 lies over the white one of width 2: an
    // engraved rule.
    for (QWidget* control :
         std::initializer_list<QWidget*>{line0, lblTitle, line1, image1, label1, cmdSysInfo, cmdOK})
        control->raise();

    new ButtonRoles(*this, cmdOK, cmdOK);
    cmdOK->setFocus();

    connectHandler(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connectHandler(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::cmdOK_Click()
{
    Unload(*this);
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

} // namespace halvane::ui
