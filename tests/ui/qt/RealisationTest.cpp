// The Qt backend against the designs it realises: every window and every
// control row of the four designs read back from the widgets (class, name,
// container, place, size, text, access key, font and character set, colours,
// visibility, state, picture), the stacking and tab order, the focus when a
// window opens, the keyboard roles; and what the widgets draw of it.
#include "tests/ui/qt/QtTest.h"
#include "ui/forms/frmAbout.h"
#include "ui/forms/frmInstruction.h"
#include "ui/forms/frmRun.h"
#include "ui/forms/frmSplash.h"
#include "ui/qt/ButtonRoles.h"
#include "ui/qt/ClickArea.h"
#include "ui/qt/DesignLine.h"
#include "ui/qt/DesignStyle.h"
#include "ui/qt/PictureBoxWidget.h"

#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <algorithm>
#include <cmath>
#include <map>

namespace halvane::test
{
namespace
{

using ui::ControlDesign;
using ui::ControlKind;
using ui::WindowDesign;

const char* const kWindows[] = {"frmSplash", "frmRun", "frmInstruction", "frmAbout"};

const WindowDesign& designOf(std::string_view window)
{
    if (window == "frmSplash")
        return ui::frmSplash::Design();
    if (window == "frmRun")
        return ui::frmRun::Design();
    if (window == "frmInstruction")
        return ui::frmInstruction::Design();
    return ui::frmAbout::Design();
}

QWidget& show(std::string_view window)
{
    ui::Form* form = nullptr;
    if (window == "frmSplash")
        form = &ui::Show<ui::frmSplash>();
    else if (window == "frmRun")
        form = &ui::Show<ui::frmRun>();
    else if (window == "frmInstruction")
        form = &ui::Show<ui::frmInstruction>();
    else
        form = &ui::Show<ui::frmAbout>();
    return *widgetOf(form);
}

// Twips as the pixels of a 96-dots-per-inch screen.
int px(int twips)
{
    return static_cast<int>(std::lround(twips / 15.0));
}

QRect pxRect(const ui::TwipsRect& r)
{
    return {px(r.left), px(r.top), px(r.width), px(r.height)};
}

QString text(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

std::string nameOf(const ControlDesign& c)
{
    return std::string(c.name) +
           (c.index == ui::kNoIndex ? "" : "(" + std::to_string(c.index) + ")");
}

std::string nameOf(const QObject& w)
{
    const QVariant index = w.property("index");
    return w.objectName().toStdString() +
           (index.isValid() ? "(" + std::to_string(index.toInt()) + ")" : "");
}

// The widget of a control row, found by its name (and index).
QWidget* find(QWidget& window, const ControlDesign& row)
{
    for (QWidget* w : window.findChildren<QWidget*>(text(row.name)))
        if (nameOf(*w) == nameOf(row))
            return w;
    return nullptr;
}

// Where a container's children are measured from: inside a picture box's border.
QPoint originIn(const QWidget& container)
{
    if (auto* box = qobject_cast<const ui::qt::PictureBoxWidget*>(&container))
        return box->contentsRect().topLeft();
    return {};
}

QString resource(std::string_view name)
{
    return ui::qt::picturePath(name);
}

void expectFont(const QWidget& w, const ui::Font& font)
{
    EXPECT_EQ(w.font().family(), text(font.family));
    EXPECT_DOUBLE_EQ(w.font().pointSizeF(), font.points);
    EXPECT_EQ(w.font().bold(), font.bold);
    EXPECT_FALSE(w.font().italic());
    EXPECT_EQ(w.property(ui::qt::kCharsetProperty).toInt(), font.charset);
}

// ------------------------------------------------------------------ windows

class WindowRealised : public QtTest, public ::testing::WithParamInterface<const char*>
{
protected:
    const WindowDesign& design() const { return designOf(GetParam()); }
};

TEST_P(WindowRealised, AsDesigned)
{
    const WindowDesign& d = design();
    QWidget& w = show(GetParam());
    EXPECT_EQ(w.objectName(), GetParam());
    EXPECT_EQ(w.windowTitle(), text(d.caption));
    const QSize client(px(d.client.width), px(d.client.height));
    EXPECT_EQ(w.size(), client);
    EXPECT_EQ(w.minimumSize(), client) << "not resizable";
    EXPECT_EQ(w.maximumSize(), client) << "not resizable";
    EXPECT_EQ(w.windowType(), d.taskBarEntry ? Qt::Window : Qt::Tool) << "a task-bar entry or none";
    const Qt::WindowFlags flags = w.windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    if (d.kind == ui::WindowKind::ToolWindow) {
        EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
        EXPECT_TRUE(flags & Qt::WindowTitleHint);
        EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(flags & Qt::FramelessWindowHint);
    } else {
        EXPECT_TRUE(flags & Qt::FramelessWindowHint) << "no title bar at all";
    }
    if (d.icon.empty()) {
        EXPECT_TRUE(w.windowIcon().isNull());
    } else {
        const auto sizes = w.windowIcon().availableSizes();
        EXPECT_TRUE(sizes.contains(QSize(16, 16)));
        EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    }
    expectFont(w, d.font);
    if (!d.background.inherited()) {
        EXPECT_TRUE(w.autoFillBackground());
        EXPECT_EQ(w.palette().color(QPalette::Window), ui::qt::colourOf(d.background));
    }

    const QRect screen = w.screen()->geometry();
    switch (d.placement) {
    case ui::Placement::CentredOnScreen:
        EXPECT_LE(std::abs(w.frameGeometry().center().x() - screen.center().x()), 1);
        EXPECT_LE(std::abs(w.frameGeometry().center().y() - screen.center().y()), 1);
        break;
    case ui::Placement::FixedClientPosition:
        EXPECT_EQ(w.geometry().topLeft(), QPoint(px(d.position.x), px(d.position.y)))
            << "the client area at its fixed place";
        break;
    case ui::Placement::SystemDefault:
        EXPECT_FALSE(w.testAttribute(Qt::WA_Moved)) << "placed where the window system puts it";
        break;
    }
}

TEST_P(WindowRealised, EveryWidgetIsAControlOfTheDesign)
{
    QWidget& w = show(GetParam());
    std::vector<std::string> designed;
    for (const ControlDesign& c : design().controls)
        if (c.kind != ControlKind::DataControl)
            designed.push_back(nameOf(c));
    std::vector<std::string> made;
    for (QWidget* child : w.findChildren<QWidget*>())
        if (!child->objectName().startsWith(QLatin1String("qt_")) && !child->objectName().isEmpty())
            made.push_back(nameOf(*child));
    std::sort(designed.begin(), designed.end());
    std::sort(made.begin(), made.end());
    EXPECT_EQ(made, designed) << "a data control has no widget";
}

TEST_P(WindowRealised, SiblingsStackedTopmostFirst)
{
    QWidget& w = show(GetParam());
    // Per container: the design's order, topmost first; Qt draws later
    // siblings over earlier ones.
    std::map<std::string, std::vector<std::string>> designed;
    for (const ControlDesign& c : design().controls)
        if (c.kind != ControlKind::DataControl)
            designed[std::string(c.parent)].push_back(nameOf(c));
    for (const auto& [container, names] : designed) {
        QWidget* parent = container.empty() ? &w : control(w, container.c_str());
        ASSERT_NE(parent, nullptr);
        std::vector<std::string> stacked;
        const QObjectList children = parent->children();
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            if ((*it)->isWidgetType() && !(*it)->objectName().startsWith(QLatin1String("qt_")))
                stacked.push_back(nameOf(**it));
        EXPECT_EQ(stacked, names) << "in " << (container.empty() ? "the window" : container);
    }
}

TEST_P(WindowRealised, TabOrderFocusAndKeyboardRoles)
{
    QWidget& w = show(GetParam());
    std::vector<const ControlDesign*> inTabOrder;
    for (const ControlDesign& c : design().controls)
        if (c.tabIndex != ui::kNoTabIndex)
            inTabOrder.push_back(&c);
    std::sort(inTabOrder.begin(), inTabOrder.end(),
              [](auto* a, auto* b) { return a->tabIndex < b->tabIndex; });
    std::vector<std::string> expected, chain;
    for (auto* c : inTabOrder)
        expected.push_back(nameOf(*c));

    // The focus chain holds the controls of the tab order in that order.
    QWidget* first = find(w, *inTabOrder.front());
    ASSERT_NE(first, nullptr);
    QWidget* next = first;
    do {
        if (std::find(expected.begin(), expected.end(), nameOf(*next)) != expected.end())
            chain.push_back(nameOf(*next));
        next = next->nextInFocusChain();
    } while (next != first);
    EXPECT_EQ(chain, expected);

    // The first of them that can take the focus has it.
    for (auto* c : inTabOrder) {
        QWidget* control = find(w, *c);
        if ((control->focusPolicy() & Qt::TabFocus) && control->isVisibleTo(&w) &&
            control->isEnabled()) {
            ASSERT_NE(w.focusWidget(), nullptr);
            EXPECT_EQ(nameOf(*w.focusWidget()), nameOf(*c));
            break;
        }
    }

    const ControlDesign* defaultRow = nullptr;
    const ControlDesign* cancelRow = nullptr;
    for (const ControlDesign& c : design().controls) {
        if (c.isDefault)
            defaultRow = &c;
        if (c.isCancel)
            cancelRow = &c;
        if (auto* b = qobject_cast<QPushButton*>(find(w, c))) {
            EXPECT_EQ(b->isDefault(), c.isDefault) << nameOf(c);
        }
    }
    auto* roles = w.findChild<ui::qt::ButtonRoles*>();
    ASSERT_NE(roles, nullptr) << "every window takes Enter by the keyboard rules";
    EXPECT_EQ(roles->defaultButton(), defaultRow ? find(w, *defaultRow) : nullptr);
    EXPECT_EQ(roles->cancelButton(), cancelRow ? find(w, *cancelRow) : nullptr);
}

INSTANTIATE_TEST_SUITE_P(Windows, WindowRealised, ::testing::ValuesIn(kWindows));

// ------------------------------------------------------------------ controls

struct RowCase {
    const char* window;
    std::size_t row;
};

void PrintTo(const RowCase& c, std::ostream* os)
{
    *os << c.window << "." << nameOf(designOf(c.window).controls[c.row]);
}

std::vector<RowCase> everyRow()
{
    std::vector<RowCase> rows;
    for (const char* window : kWindows)
        for (std::size_t i = 0; i < designOf(window).controls.size(); ++i)
            rows.push_back({window, i});
    return rows;
}

class ControlRealised : public QtTest, public ::testing::WithParamInterface<RowCase>
{
};

TEST_P(ControlRealised, AsDesigned)
{
    const ControlDesign& row = designOf(GetParam().window).controls[GetParam().row];
    QWidget& window = show(GetParam().window);
    QWidget* c = find(window, row);
    if (row.kind == ControlKind::DataControl) {
        EXPECT_EQ(c, nullptr) << "a component without a window";
        return;
    }
    ASSERT_NE(c, nullptr);

    QWidget* container = c->parentWidget();
    EXPECT_EQ(container->objectName(), row.parent.empty() ? window.objectName() : text(row.parent));
    const QPoint origin = originIn(*container);
    if (row.kind == ControlKind::Line) {
        auto* line = qobject_cast<ui::qt::DesignLine*>(c);
        ASSERT_NE(line, nullptr);
        // Horizontal, from its start to its end point left out, its width below.
        EXPECT_EQ(row.place.top, row.lineTo.y);
        EXPECT_EQ(line->geometry(), QRect(px(row.place.left), px(row.place.top),
                                          px(row.lineTo.x) - px(row.place.left), row.lineWidth)
                                        .translated(origin));
        EXPECT_EQ(line->lineWidth(), row.lineWidth);
        EXPECT_EQ(line->colour(), ui::qt::colourOf(row.foreground));
    } else {
        EXPECT_EQ(c->geometry().translated(-origin), pxRect(row.place));
    }

    if (row.font)
        expectFont(*c, *row.font);
    EXPECT_EQ(c->isVisibleTo(&window), row.visible);
    EXPECT_EQ(c->isEnabled(), row.enabled);
    if (!row.background.inherited()) {
        EXPECT_TRUE(c->autoFillBackground());
        EXPECT_EQ(c->palette().color(QPalette::Window), ui::qt::colourOf(row.background));
    }

    switch (row.kind) {
    case ControlKind::PushButton: {
        auto* b = qobject_cast<QPushButton*>(c);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), text(row.text));
        // The access key, as the "&" marks it.
        const auto amp = row.text.find('&');
        EXPECT_EQ(QKeySequence::mnemonic(b->text()),
                  amp == std::string_view::npos
                      ? QKeySequence()
                      : QKeySequence(QStringLiteral("Alt+") + text(row.text.substr(amp + 1, 1))));
        EXPECT_TRUE(b->focusPolicy() & Qt::TabFocus);
        break;
    }
    case ControlKind::Label: {
        auto* l = qobject_cast<QLabel*>(c);
        ASSERT_NE(l, nullptr);
        EXPECT_EQ(l->text(), text(row.text));
        EXPECT_EQ(l->textFormat(), Qt::PlainText);
        EXPECT_EQ(l->frameShape(), QFrame::NoFrame);
        EXPECT_TRUE(l->autoFillBackground()) << "opaque";
        EXPECT_EQ(l->palette().color(QPalette::Window),
                  container->palette().color(QPalette::Window));
        if (!row.foreground.inherited()) {
            EXPECT_EQ(l->palette().color(QPalette::WindowText), ui::qt::colourOf(row.foreground));
        }
        EXPECT_EQ(l->textInteractionFlags(), Qt::NoTextInteraction) << "reacts to nothing";
        break;
    }
    case ControlKind::PictureBox: {
        auto* box = qobject_cast<ui::qt::PictureBoxWidget*>(c);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->picture(), QImage(resource(row.picture)));
        EXPECT_EQ(box->contentsRect().topLeft(), QPoint(2, 2)) << "a two-pixel sunken border";
        EXPECT_TRUE(box->focusPolicy() & Qt::TabFocus);
        break;
    }
    case ControlKind::StretchedPicture:
        if (auto* svg = qobject_cast<QSvgWidget*>(c)) {
            EXPECT_TRUE(ui::qt::isVectorPicture(resource(row.picture)));
            EXPECT_TRUE(svg->renderer()->isValid());
        } else {
            auto* l = qobject_cast<QLabel*>(c);
            ASSERT_NE(l, nullptr);
            EXPECT_EQ(l->pixmap().toImage(), QImage(resource(row.picture)));
            EXPECT_TRUE(l->hasScaledContents());
        }
        EXPECT_EQ(c->focusPolicy(), Qt::NoFocus);
        break;
    case ControlKind::ClickArea:
        EXPECT_NE(qobject_cast<ui::qt::ClickArea*>(c), nullptr);
        EXPECT_EQ(c->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(c->focusPolicy(), Qt::NoFocus);
        break;
    case ControlKind::Frame: {
        auto* g = qobject_cast<QGroupBox*>(c);
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(g->title(), text(row.text));
        EXPECT_EQ(g->focusPolicy(), Qt::NoFocus);
        break;
    }
    case ControlKind::Line:
    case ControlKind::DataControl:
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ControlRealised, ::testing::ValuesIn(everyRow()), [](const auto& p) {
    const ControlDesign& c = designOf(p.param.window).controls[p.param.row];
    return std::string(p.param.window) + "_" + std::string(c.name) +
           (c.index == ui::kNoIndex ? "" : std::to_string(c.index));
});

// ------------------------------------------------------------------ pictures and drawing

TEST(DesignPictures, HaveTheSizesTheirControlsShow)
{
    EXPECT_EQ(QImage(resource("splash")).size(), QSize(1028, 768));
    EXPECT_EQ(QImage(resource("instruction")).size(), QSize(167, 90));
    EXPECT_EQ(QImage(resource("instruction_page")).size(), QSize(397, 427));
    EXPECT_TRUE(ui::qt::isVectorPicture(resource("logo")));
}

using Drawing = QtTest;

TEST_F(Drawing, TheClickAreaDrawsNothingOverThePicture)
{
    QWidget& main = show("frmRun");
    auto* picRun = control<ui::qt::PictureBoxWidget>(main, "picRun");
    auto* imgInstr = control<ui::qt::ClickArea>(main, "imgInstr");
    ASSERT_TRUE(picRun && imgInstr);
    const QImage shown = picRun->grab().toImage();
    const QPoint inside = imgInstr->geometry().center();
    EXPECT_EQ(shown.pixel(inside),
              picRun->picture().pixel(inside - picRun->contentsRect().topLeft()));
}

TEST_F(Drawing, TwoLinesMakeAnEngravedRule)
{
    QWidget& w = show("frmAbout");
    // Grey (width 1) from x 6 over white (width 2) from x 8, both to x 216, at y 56.
    const QImage shown = w.grab().toImage();
    const QColor grey(128, 128, 128);
    const QColor white(255, 255, 255);
    const QColor window = w.palette().color(QPalette::Window);
    EXPECT_EQ(shown.pixelColor(6, 56), grey);
    EXPECT_EQ(shown.pixelColor(7, 57), window) << "the white line starts at x 8";
    EXPECT_EQ(shown.pixelColor(100, 56), grey) << "grey over white";
    EXPECT_EQ(shown.pixelColor(100, 57), white);
    EXPECT_EQ(shown.pixelColor(215, 56), grey);
    EXPECT_EQ(shown.pixelColor(215, 57), white);
    EXPECT_EQ(shown.pixelColor(216, 56), window) << "the end point is left out";
    EXPECT_EQ(shown.pixelColor(100, 55), window);
    EXPECT_EQ(shown.pixelColor(100, 58), window);
}

TEST_F(Drawing, TheDesignPageDrawnAtItsSizeFromTheTopLeftAndClipped)
{
    QWidget& w = show("frmInstruction");
    auto* box = control<ui::qt::PictureBoxWidget>(w, "Picture1");
    ASSERT_NE(box, nullptr);
    const QImage shown = box->grab().toImage();
    const QRect inside = box->contentsRect();
    const QImage& page = box->picture();
    EXPECT_EQ(shown.pixelColor(inside.topLeft()), page.pixelColor(0, 0));
    // The box's interior is 397 pixels wide: the page's right edge just fits.
    EXPECT_EQ(shown.pixelColor(inside.left() + inside.width() - 1, inside.top() + 100),
              page.pixelColor(inside.width() - 1, 100));
}

TEST_F(Drawing, APictureBoxDrawsAtOwnSizeFromTheInteriorsCornerClipped)
{
    ui::qt::PictureBoxWidget box;
    box.resize(50, 40);
    QImage wide(100, 10, QImage::Format_RGB32);
    wide.fill(Qt::red);
    box.setPicture(wide);
    const QPoint corner = box.contentsRect().topLeft();
    const QImage shown = box.grab().toImage();
    EXPECT_EQ(shown.pixelColor(corner), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(box.contentsRect().right(), corner.y() + 9), QColor(Qt::red));
    EXPECT_NE(shown.pixelColor(box.width() - 1, corner.y()), QColor(Qt::red))
        << "clipped at the border";
    EXPECT_NE(shown.pixelColor(corner.x(), corner.y() + 10), QColor(Qt::red)) << "not stretched";
    EXPECT_EQ(box.size(), QSize(50, 40)) << "never resizes itself";
}

} // namespace
} // namespace halvane::test
