// The About window: its design row by row, the engraved rule, its keys, and
// "System Info..." through the in-memory registry and a recording launcher.
#include "tests/ui/SysInfoSeams.h"
#include "tests/ui/UiTest.h"
#include "ui/Design.h"
#include "ui/DesignLine.h"
#include "ui/SysInfo.h"
#include "ui/frmAbout.h"

#include <QLabel>
#include <QPushButton>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QTest>

namespace halvane::test
{
namespace
{

using ui::frmAbout;
using ui::twipsRect;

class AboutWindowTest : public UiTest
{
protected:
    frmAbout& open()
    {
        m_about = &ui::Show<frmAbout>();
        return *m_about;
    }
    // Opened and active, so that keys reach it as they would from the user.
    frmAbout& openActive()
    {
        frmAbout& w = open();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        return w;
    }
    template <class W = QWidget> W* find(const char* name) { return control<W>(*m_about, name); }
    bool closed()
    {
        settle();
        return ui::Find<frmAbout>() == nullptr && shownWindows<frmAbout>().empty();
    }
    // "PATH" names a program that starts.
    void registerTool()
    {
        registry.setText(reg::kLocalMachine, reg::kSysInfoPathKey, reg::kSysInfoPathValue,
                         "/opt/tool");
        launcher.installed.insert("/opt/tool");
    }

    MemoryRegistry registry;
    RecordingLauncher launcher;

private:
    frmAbout* m_about = nullptr;
    ReplaceService<Registry> m_registry{registry};
    ReplaceService<Launcher> m_launcher{launcher};
};

// ------------------------------------------------------------------ design

TEST_F(AboutWindowTest, WindowAsDesigned)
{
    frmAbout& w = open();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("About Halvane Shamsi Dates"));
    EXPECT_EQ(w.geometry(), QRect(136, 106, 221, 160)) << "client area, at a fixed place";
    EXPECT_EQ(w.minimumSize(), w.maximumSize()) << "not resizable";
    EXPECT_EQ(w.windowType(), Qt::Tool) << "no task-bar entry";
    EXPECT_EQ(w.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint),
              Qt::WindowFlags());
    EXPECT_TRUE(w.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(w.windowIcon().isNull());
}

struct ControlRow {
    const char* name;
    const char* kind;
    const char* text;
    QRect place;
    double points; // Tahoma
    bool bold;
    QColor colour; // of the text; invalid for buttons
};

void PrintTo(const ControlRow& r, std::ostream* os)
{
    *os << r.name;
}

class AboutControls : public AboutWindowTest, public ::testing::WithParamInterface<ControlRow>
{
};

TEST_P(AboutControls, AsDesigned)
{
    const ControlRow& row = GetParam();
    open();
    QWidget* c = find(row.name);
    ASSERT_NE(c, nullptr);
    EXPECT_STREQ(c->metaObject()->className(), row.kind);
    EXPECT_EQ(c->geometry(), row.place);
    EXPECT_EQ(c->font().family(), QStringLiteral("Tahoma"));
    EXPECT_DOUBLE_EQ(c->font().pointSizeF(), row.points);
    EXPECT_EQ(c->font().bold(), row.bold);
    EXPECT_EQ(c->property(ui::kCharsetProperty).toInt(), ui::kArabicCharset);
    if (auto* b = qobject_cast<QPushButton*>(c)) {
        EXPECT_EQ(b->text(), QString::fromLatin1(row.text));
    }
    if (auto* l = qobject_cast<QLabel*>(c)) {
        EXPECT_EQ(l->text(), QString::fromLatin1(row.text));
        EXPECT_EQ(l->palette().color(QPalette::WindowText), row.colour);
        EXPECT_EQ(l->textFormat(), Qt::PlainText);
        EXPECT_EQ(l->frameShape(), QFrame::NoFrame);
        EXPECT_TRUE(l->autoFillBackground()) << "opaque";
        EXPECT_EQ(l->palette().color(QPalette::Window),
                  l->window()->palette().color(QPalette::Window));
    }
}

const ControlRow kControls[] = {
    {"cmdOK", "QPushButton", "OK", twipsRect(2160, 960, 1020, 345), 6.75, false, {}},
    {"cmdSysInfo",
     "QPushButton",
     "&System Info...",
     twipsRect(2160, 1440, 1005, 345),
     6,
     false,
     {}},
    {"Label1", "QLabel", ui::kContactAddress, twipsRect(120, 2160, 2205, 225), 8.25, true,
     ui::systemColour(13)},
    {"lblTitle", "QLabel", "Halvane Shamsi Dates", twipsRect(120, 120, 2085, 240), 8.25, false,
     QColor(0, 0, 0)},
};

INSTANTIATE_TEST_SUITE_P(Controls, AboutControls, ::testing::ValuesIn(kControls),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(AboutWindowTest, LogoStretchedToItsPlace)
{
    open();
    auto* image = find<QSvgWidget>("Image1");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->geometry(), twipsRect(120, 1440, 2400, 735));
    EXPECT_TRUE(image->renderer()->isValid());
    EXPECT_EQ(image->focusPolicy(), Qt::NoFocus);
}

TEST_F(AboutWindowTest, StackingAndTabOrder)
{
    frmAbout& w = open();
    QStringList topToBottom;
    for (QObject* child : w.children())
        if (child->isWidgetType())
            topToBottom.prepend(child->objectName() +
                                (child->property("index").isValid()
                                     ? QStringLiteral("(%1)").arg(child->property("index").toInt())
                                     : QString()));
    EXPECT_EQ(topToBottom, (QStringList{"cmdOK", "cmdSysInfo", "Label1", "Image1", "Line1(1)",
                                        "lblTitle", "Line1(0)"}));

    QStringList tabOrder;
    QWidget* first = find("cmdOK");
    QWidget* next = first;
    do {
        if (next->parentWidget() == &w && next->objectName() != QLatin1String("Line1") &&
            next->objectName() != QLatin1String("Image1"))
            tabOrder.append(next->objectName());
        next = next->nextInFocusChain();
    } while (next != first);
    EXPECT_EQ(tabOrder, (QStringList{"cmdOK", "cmdSysInfo", "lblTitle", "Label1"}));
    EXPECT_EQ(w.focusWidget(), first) << "\"OK\" has the focus when the window opens";
}

TEST_F(AboutWindowTest, TwoLinesMakeAnEngravedRule)
{
    frmAbout& w = open();
    const auto lines = w.findChildren<ui::DesignLine*>(QStringLiteral("Line1"));
    ASSERT_EQ(lines.size(), 2);

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

// ------------------------------------------------------------------ keys and buttons

enum class Close { OkButton, EnterOnOk, EscapeOnOk, EscapeOnSysInfo, TitleBar };

class AboutCloses : public AboutWindowTest, public ::testing::WithParamInterface<Close>
{
};

TEST_P(AboutCloses, AndOpensAgain)
{
    frmAbout& w = openActive();
    auto* ok = find<QPushButton>("cmdOK");
    auto* sysInfo = find<QPushButton>("cmdSysInfo");
    switch (GetParam()) {
    case Close::OkButton:
        ok->click();
        break;
    case Close::EnterOnOk:
        QTest::keyClick(ok, Qt::Key_Return);
        break;
    case Close::EscapeOnOk:
        QTest::keyClick(ok, Qt::Key_Escape);
        break;
    case Close::EscapeOnSysInfo:
        sysInfo->setFocus();
        QTest::keyClick(sysInfo, Qt::Key_Escape);
        break;
    case Close::TitleBar:
        w.close();
        break;
    }
    EXPECT_TRUE(closed());
    EXPECT_TRUE(launcher.attempts.empty());
    EXPECT_TRUE(host.messages.empty());

    frmAbout& again = open();
    EXPECT_EQ(again.focusWidget(), find("cmdOK"));
}

INSTANTIATE_TEST_SUITE_P(By, AboutCloses,
                         ::testing::Values(Close::OkButton, Close::EnterOnOk, Close::EscapeOnOk,
                                           Close::EscapeOnSysInfo, Close::TitleBar));

TEST_F(AboutWindowTest, OkIsTheDefaultButtonForEnterFromAnywhereElse)
{
    frmAbout& w = openActive();
    auto* ok = find<QPushButton>("cmdOK");
    EXPECT_TRUE(ok->isDefault());
    // Enter that no focused button takes reaches the window: the default button.
    QTest::keyClick(&w, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(closed());
}

TEST_F(AboutWindowTest, AltSPressesSystemInfo)
{
    registerTool();
    frmAbout& w = openActive();
    QTest::keyClick(&w, Qt::Key_S, Qt::AltModifier);
    // An access key clicks its button the way a mouse would, a moment later.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !launcher.attempts.empty(); }));
    EXPECT_EQ(launcher.started, std::vector<std::string>{"/opt/tool"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(closed()) << "the About window stays open";
}

TEST_F(AboutWindowTest, EnterOnSystemInfoPressesIt)
{
    registerTool();
    openActive();
    auto* sysInfo = find<QPushButton>("cmdSysInfo");
    sysInfo->setFocus();
    QTest::keyClick(sysInfo, Qt::Key_Return);
    EXPECT_EQ(launcher.started.size(), 1u);
    EXPECT_FALSE(closed());
}

TEST_F(AboutWindowTest, UnavailableSystemInfoLeavesTheWindowUsable)
{
    frmAbout& w = openActive();
    find<QPushButton>("cmdSysInfo")->click();
    EXPECT_EQ(host.messages,
              (std::vector<Message>{{std::string(ui::kSysInfoUnavailable), "qrx2"}}));
    EXPECT_EQ(host.ended, 0);
    EXPECT_FALSE(closed());
    EXPECT_TRUE(w.isEnabled());
    EXPECT_EQ(registry.openHandles(), 0u);

    registerTool();
    find<QPushButton>("cmdSysInfo")->click();
    EXPECT_EQ(launcher.started.size(), 1u);
    find<QPushButton>("cmdOK")->click();
    EXPECT_TRUE(closed());
}

TEST_F(AboutWindowTest, OpenedTwiceIsOneWindow)
{
    frmAbout& first = open();
    EXPECT_EQ(&open(), &first);
    EXPECT_EQ(shownWindows<frmAbout>().size(), 1u);
}

} // namespace
} // namespace halvane::test
