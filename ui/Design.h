// Building windows from their fixed designs: design units (twips), the
// designed fonts and their character set, the system colours, the window
// kinds the program uses and the program icon. Every window class builds its
// design with these, so all windows measure and look alike.
#pragma once

#include <QColor>
#include <QIcon>
#include <QRect>
#include <QString>
#include <QWidget>

class QPushButton;

namespace halvane::ui
{

// Designs are measured in twips: 1/1440 inch, 15 to a pixel at 96 dots per
// inch. Qt lays widgets out in device-independent pixels of 1/96 inch, so a
// design keeps its proportions on any screen.
inline constexpr int kTwipsPerPixel = 15;
int twips(int designTwips);
QRect twipsRect(int left, int top, int width, int height);

// Every font of the designs is defined with the Arabic character set
// (ARABIC_CHARSET of the Windows GDI). A Qt font carries no character set:
// its fallback picks a face that covers the script of the text drawn. The
// designed character set is therefore recorded on each widget that has a
// designed font, as the dynamic property "charset".
inline constexpr int kArabicCharset = 178;
inline constexpr char kCharsetProperty[] = "charset";

inline constexpr char kTahoma[] = "Tahoma";
inline constexpr char kMsSansSerif[] = "MS Sans Serif";
inline constexpr double kWindowFontSize = 8.25; // points, every window
inline constexpr double kButtonFontSize = 6.75; // points, buttons

// Gives `widget` the designed font: the family (a missing family falls back
// to a face of the same style hint), the size in points, the weight, and
// records the Arabic character set.
void setDesignFont(QWidget& widget, const QString& family, double points, bool bold = false);

// A control of the design: a child of `parent` named `name` (its objectName),
// placed at the design's position and size in twips, relative to `parent`'s
// top-left corner.
template <class Control>
Control* addControl(QWidget& parent, const char* name, const QRect& geometry)
{
    auto* control = new Control(&parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

// A push button of the designs: text, Tahoma 6.75 pt, neither the default
// nor the cancel button; like a Windows button, Enter or Space pressed while
// it has the focus clicks it.
QPushButton* addButton(QWidget& parent, const char* name, const QString& text,
                       const QRect& geometry);

// The Windows system colour `index` (COLOR_WINDOW is 5, COLOR_ACTIVEBORDER
// 10, ...): the user's setting on Windows, the standard Windows values
// elsewhere.
QColor systemColour(int index);
// Fills `widget`'s background with `colour`.
void setBackground(QWidget& widget, const QColor& colour);

// A fixed tool window: a small title bar with a close button only, no
// minimize or maximize button, not resizable, client area of the given size
// in twips, no task-bar entry, destroyed when closed.
void makeToolWindow(QWidget& window, const QString& caption, int clientWidth, int clientHeight);
// A fixed window without any title bar (no caption, no window-menu or close
// button), client area of the given size in twips, no task-bar entry.
void makeTitlelessWindow(QWidget& window, int clientWidth, int clientHeight);
// Places `window`, its frame included, in the middle of its screen, and
// marks it so: the window services centre it again once it is shown, when
// the window system has told the size of its frame.
void centreOnScreen(QWidget& window);
inline constexpr char kCentredProperty[] = "centredOnScreen";

// The program icon (16 x 16 and 32 x 32), shared by the tool windows.
QIcon programIcon();

} // namespace halvane::ui
