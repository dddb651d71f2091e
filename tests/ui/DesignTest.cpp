// The window designs of the splash and the main window, row by row: window
// properties, every control's kind, text, place, size, font, visibility and
// state, stacking order, tab order, focus, default and cancel buttons and
// access keys, as the windows show them.
#include "ui/Design.h"

#include "tests/ui/UiTest.h"
#include "ui/ClickArea.h"
#include "ui/DataControlWidget.h"
#include "ui/PictureBox.h"
#include "ui/frmAbout.h"
#include "ui/frmRun.h"
#include "ui/frmSplash.h"

#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <memory>
#include <ostream>

namespace halvane::test
{
namespace
{

using ui::Show;
using ui::twips;
using ui::twipsRect;

QWidget& showWindow(std::string_view name)
{
    if (name == "frmSplash")
        return Show<ui::frmSplash>();
    return Show<ui::frmRun>();
}

QString textOf(const QWidget& w)
{
    if (auto* b = qobject_cast<const QPushButton*>(&w))
        return b->text();
    if (auto* g = qobject_cast<const QGroupBox*>(&w))
        return g->title();
    if (auto* l = qobject_cast<const QLabel*>(&w))
        return l->text();
    if (auto* d = qobject_cast<const ui::DataControlWidget*>(&w))
        return d->caption();
    return {};
}

// The point a control's design position is measured from: the top-left of
// its container, inside the border for a picture box.
QPoint containerOrigin(const QWidget& w)
{
    if (auto* box = qobject_cast<const ui::PictureBox*>(w.parentWidget()))
        return box->contentsRect().topLeft();
    return {};
}

void expectDesignFont(const QWidget& w, const char* family, double points)
{
    EXPECT_EQ(w.font().family(), QString::fromLatin1(family));
    EXPECT_DOUBLE_EQ(w.font().pointSizeF(), points);
    EXPECT_FALSE(w.font().bold());
    EXPECT_FALSE(w.font().italic());
    EXPECT_EQ(w.property(ui::kCharsetProperty).toInt(), ui::kArabicCharset);
}

// ------------------------------------------------------------------ windows

struct WindowRow {
    const char* window;
    const char* caption;
    int clientWidth, clientHeight; // twips
    bool titleBar;                 // a small tool-window title bar with a close button only
    bool icon;
};

std::ostream& operator<<(std::ostream& os, const WindowRow& r)
{
    return os << r.window;
}

class WindowDesign : public UiTest, public ::testing::WithParamInterface<WindowRow>
{
};

TEST_P(WindowDesign, MatchesTheDesign)
{
    const WindowRow& row = GetParam();
    QWidget& w = showWindow(row.window);

    EXPECT_EQ(w.windowTitle(), QString::fromLatin1(row.caption));
    const QSize client(twips(row.clientWidth), twips(row.clientHeight));
    EXPECT_EQ(w.size(), client);
    EXPECT_EQ(w.minimumSize(), client) << "not resizable";
    EXPECT_EQ(w.maximumSize(), client) << "not resizable";

    // Centred on the screen when it opens.
    const QRect screen = w.screen()->geometry();
    EXPECT_LE(std::abs(w.frameGeometry().center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(w.frameGeometry().center().y() - screen.center().y()), 1);

    // No task-bar entry: a tool window.
    EXPECT_EQ(w.windowType(), Qt::Tool);
    const Qt::WindowFlags flags = w.windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    if (row.titleBar) {
        EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
        EXPECT_TRUE(flags & Qt::WindowTitleHint);
        EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(flags & Qt::FramelessWindowHint);
    } else {
        EXPECT_TRUE(flags & Qt::FramelessWindowHint) << "no title bar at all";
    }

    if (row.icon) {
        const auto sizes = w.windowIcon().availableSizes();
        EXPECT_TRUE(sizes.contains(QSize(16, 16)));
        EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    } else {
        EXPECT_TRUE(w.windowIcon().isNull());
    }

    expectDesignFont(w, ui::kTahoma, ui::kWindowFontSize);
}

INSTANTIATE_TEST_SUITE_P(Windows, WindowDesign,
                         ::testing::Values(WindowRow{"frmSplash", "", 4440, 3360, false, false},
                                           WindowRow{"frmRun", "QRX Ver. 2.0", 2775, 1875, true,
                                                     true}),
                         [](const auto& p) { return std::string(p.param.window); });

// ------------------------------------------------------------------ controls

struct ControlRow {
    const char* window;
    const char* name;
    const char* kind; // class name
    const char* text;
    int left, top, width, height; // twips, from the container's origin
    const char* font;             // nullptr: the control has no font of its own
    double points;
    bool visible;
};

std::ostream& operator<<(std::ostream& os, const ControlRow& r)
{
    return os << r.window << "." << r.name;
}

const ControlRow kControls[] = {
    {"frmSplash", "cmdAbout", "QPushButton", "About", 3480, 2760, 855, 270, ui::kTahoma, 6.75,
     true},
    {"frmSplash", "cmdOK", "QPushButton", "OK", 3480, 2400, 855, 270, ui::kTahoma, 6.75, true},
    {"frmSplash", "fraMainFrame", "QGroupBox", "", 0, -120, 4455, 3495, nullptr, 0, true},
    {"frmSplash", "Image1", "QLabel", "", 120, 240, 4110, 3075, nullptr, 0, true},
    {"frmRun", "picRun", "halvane::ui::PictureBox", "", 120, 120, 2535, 1335, ui::kMsSansSerif,
     8.25, true},
    {"frmRun", "imgInstr", "halvane::ui::ClickArea", "", 960, 360, 1455, 375, nullptr, 0, true},
    {"frmRun", "cmdRun", "QPushButton", "Run", 120, 1560, 1215, 270, ui::kTahoma, 6.75, true},
    {"frmRun", "cmdCancel", "QPushButton", "Exit", 1440, 1560, 1215, 270, ui::kTahoma, 6.75, true},
    {"frmRun", "dbShamsi", "halvane::ui::DataControlWidget", "Data1", 360, 1320, 2055, 345,
     ui::kMsSansSerif, 8.25, false},
};

class ControlDesign : public UiTest, public ::testing::WithParamInterface<ControlRow>
{
};

TEST_P(ControlDesign, MatchesTheDesign)
{
    const ControlRow& row = GetParam();
    QWidget& window = showWindow(row.window);
    QWidget* c = control(window, row.name);
    ASSERT_NE(c, nullptr);

    EXPECT_STREQ(c->metaObject()->className(), row.kind);
    EXPECT_EQ(textOf(*c), QString::fromLatin1(row.text));
    EXPECT_EQ(c->geometry().translated(-containerOrigin(*c)),
              twipsRect(row.left, row.top, row.width, row.height));
    if (row.font)
        expectDesignFont(*c, row.font, row.points);
    EXPECT_EQ(c->isVisibleTo(&window), row.visible);
    EXPECT_TRUE(c->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Controls, ControlDesign, ::testing::ValuesIn(kControls),
                         [](const auto& p) {
                             return std::string(p.param.window) + "_" + p.param.name;
                         });

// ------------------------------------------------------------------ order and keys

struct OrderRow {
    const char* window;
    const char* container; // nullptr: the window itself
    std::vector<std::string> topToBottom;
};

std::ostream& operator<<(std::ostream& os, const OrderRow& r)
{
    return os << r.window << "." << (r.container ? r.container : "");
}

class StackingOrder : public UiTest, public ::testing::WithParamInterface<OrderRow>
{
};

TEST_P(StackingOrder, TopmostFirst)
{
    const OrderRow& row = GetParam();
    QWidget& window = showWindow(row.window);
    QWidget* container = row.container ? control(window, row.container) : &window;
    ASSERT_NE(container, nullptr);
    std::vector<std::string> names;
    // Later siblings are drawn over earlier ones.
    const QObjectList children = container->children();
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        if ((*it)->isWidgetType() && !(*it)->objectName().startsWith(QLatin1String("qt_")))
            names.push_back((*it)->objectName().toStdString());
    EXPECT_EQ(names, row.topToBottom);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, StackingOrder,
    ::testing::Values(OrderRow{"frmSplash", nullptr, {"cmdAbout", "cmdOK", "fraMainFrame"}},
                      OrderRow{"frmSplash", "fraMainFrame", {"Image1"}},
                      OrderRow{"frmRun", nullptr, {"picRun", "cmdRun", "cmdCancel", "dbShamsi"}},
                      OrderRow{"frmRun", "picRun", {"imgInstr"}}),
    [](const auto& p) {
        return std::string(p.param.window) +
               (p.param.container ? std::string("_") + p.param.container : "");
    });

struct TabRow {
    const char* window;
    std::vector<std::string> tabOrder; // every control with a tab index, in order
    std::vector<std::string> tabStops; // those the Tab key visits, from the focused one
};

std::ostream& operator<<(std::ostream& os, const TabRow& r)
{
    return os << r.window;
}

class TabOrder : public UiTest, public ::testing::WithParamInterface<TabRow>
{
};

TEST_P(TabOrder, FollowsTheDesignAndStartsFocused)
{
    const TabRow& row = GetParam();
    QWidget& window = showWindow(row.window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    // The focus chain holds the controls in their tab order.
    std::vector<std::string> chain;
    QWidget* first = control(window, row.tabOrder.front().c_str());
    ASSERT_NE(first, nullptr);
    QWidget* w = first;
    do {
        const std::string name = w->objectName().toStdString();
        if (std::find(row.tabOrder.begin(), row.tabOrder.end(), name) != row.tabOrder.end())
            chain.push_back(name);
        w = w->nextInFocusChain();
    } while (w != first);
    EXPECT_EQ(chain, row.tabOrder);

    // The first tab stop has the focus when the window opens; Tab walks the stops.
    std::vector<std::string> visited;
    for (std::size_t i = 0; i < row.tabStops.size() + 1; ++i) {
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        visited.push_back(QApplication::focusWidget()->objectName().toStdString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    std::vector<std::string> expected = row.tabStops;
    expected.push_back(row.tabStops.front());
    EXPECT_EQ(visited, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, TabOrder,
    ::testing::Values(
        TabRow{"frmSplash", {"cmdOK", "cmdAbout", "fraMainFrame"}, {"cmdOK", "cmdAbout"}},
        TabRow{"frmRun", {"cmdRun", "cmdCancel", "picRun"}, {"cmdRun", "cmdCancel", "picRun"}}),
    [](const auto& p) { return std::string(p.param.window); });

class Buttons : public UiTest, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(Buttons, NoDefaultNoCancelNoAccessKeys)
{
    QWidget& window = showWindow(GetParam());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const auto buttons = window.findChildren<QPushButton*>();
    ASSERT_FALSE(buttons.isEmpty());
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (QPushButton* b : buttons) {
        EXPECT_TRUE(QKeySequence::mnemonic(b->text()).isEmpty()) << b->objectName().toStdString();
        EXPECT_TRUE(b->shortcut().isEmpty());
        // Like a Windows button, a focused button is pressed by Enter; the
        // others are not the window's default button.
        if (!b->hasFocus()) {
            EXPECT_FALSE(b->isDefault()) << b->objectName().toStdString();
        }
        spies.push_back(std::make_unique<QSignalSpy>(b, &QPushButton::clicked));
    }
    // Escape presses nothing and closes nothing.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    // With the focus off the buttons, Enter presses nothing either.
    for (QWidget* w = window.nextInFocusChain(); w != &window; w = w->nextInFocusChain())
        if (!qobject_cast<QPushButton*>(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisible()) {
            w->setFocus();
            QTest::keyClick(w, Qt::Key_Return);
            QTest::keyClick(w, Qt::Key_Enter);
        }
    for (auto& spy : spies)
        EXPECT_EQ(spy->count(), 0);
    EXPECT_TRUE(window.isVisible());
}

INSTANTIATE_TEST_SUITE_P(Windows, Buttons, ::testing::Values("frmSplash", "frmRun"));

// ------------------------------------------------------------------ pictures and colours

using SplashDesign = UiTest;

TEST_F(SplashDesign, ArtworkStretchedOverWhiteFrameOnActiveBorderColour)
{
    auto& splash = Show<ui::frmSplash>();
    EXPECT_TRUE(splash.autoFillBackground());
    EXPECT_EQ(splash.palette().color(QPalette::Window), ui::systemColour(10));

    auto* frame = control<QGroupBox>(splash, "fraMainFrame");
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->autoFillBackground());
    EXPECT_EQ(frame->palette().color(QPalette::Window), ui::systemColour(5));
    EXPECT_EQ(frame->focusPolicy(), Qt::NoFocus);

    auto* image = control<QLabel>(splash, "Image1");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->parentWidget(), frame);
    EXPECT_EQ(image->pixmap().size(), QSize(1028, 768));
    EXPECT_TRUE(image->hasScaledContents());
}

using MainDesign = UiTest;

TEST_F(MainDesign, InstructionPictureAndTransparentClickArea)
{
    auto& main = Show<ui::frmRun>();
    auto* picRun = control<ui::PictureBox>(main, "picRun");
    auto* imgInstr = control<ui::ClickArea>(main, "imgInstr");
    ASSERT_TRUE(picRun && imgInstr);
    EXPECT_EQ(imgInstr->parentWidget(), picRun);
    EXPECT_EQ(picRun->picture().size(), QSize(167, 90));
    EXPECT_EQ(imgInstr->cursor().shape(), Qt::PointingHandCursor);

    // The click area draws nothing: the picture shows through it.
    const QImage shown = picRun->grab().toImage();
    const QPoint inside = imgInstr->geometry().center();
    const QPoint inPicture = inside - picRun->contentsRect().topLeft();
    EXPECT_EQ(shown.pixel(inside), picRun->picture().pixel(inPicture));
}

TEST_F(MainDesign, DataControlStaysHidden)
{
    auto& main = Show<ui::frmRun>();
    auto* db = control<ui::DataControlWidget>(main, "dbShamsi");
    ASSERT_NE(db, nullptr);
    EXPECT_TRUE(db->isHidden());
    EXPECT_EQ(db->focusPolicy(), Qt::NoFocus);
    // Its table is C:\SHAMSI.DBF, whatever the program's own directory.
    EXPECT_EQ(db->control().tablePath(), tableFile());
}

} // namespace
} // namespace halvane::test
