// The keyboard on the Qt backend's windows, as on Windows windows: Tab walks
// the tab stops, Enter and Space press the focused button, the default button
// takes Enter from elsewhere, the cancel button takes Escape, access keys
// press their button; and windows without those roles react to none of it.
#include "system/Registry.h"
#include "tests/support/MemoryRegistry.h"
#include "tests/support/RecordingLauncher.h"
#include "tests/ui/qt/QtTest.h"
#include "ui/forms/Module1.h"
#include "ui/forms/SysInfo.h"
#include "ui/forms/frmAbout.h"
#include "ui/forms/frmInstruction.h"
#include "ui/forms/frmRun.h"
#include "ui/forms/frmSplash.h"
#include "ui/qt/PictureBoxWidget.h"

#include <QKeySequence>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace halvane::test
{
namespace
{

using ui::Find;
using ui::Show;

QWidget& showWindow(std::string_view name)
{
    if (name == "frmSplash")
        return *widgetOf(&Show<ui::frmSplash>());
    return *widgetOf(&Show<ui::frmRun>());
}

// ------------------------------------------------------------------ tab stops

struct TabRow {
    const char* window;
    std::vector<std::string> tabStops; // those the Tab key visits, from the focused one
};

void PrintTo(const TabRow& r, std::ostream* os)
{
    *os << r.window;
}

class TabKey : public QtTest, public ::testing::WithParamInterface<TabRow>
{
};

TEST_P(TabKey, WalksTheTabStopsFromTheFocusedOne)
{
    QWidget& window = showWindow(GetParam().window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    std::vector<std::string> visited;
    for (std::size_t i = 0; i < GetParam().tabStops.size() + 1; ++i) {
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        visited.push_back(QApplication::focusWidget()->objectName().toStdString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    std::vector<std::string> expected = GetParam().tabStops;
    expected.push_back(expected.front());
    EXPECT_EQ(visited, expected);
}

INSTANTIATE_TEST_SUITE_P(Windows, TabKey,
                         ::testing::Values(TabRow{"frmSplash", {"cmdOK", "cmdAbout"}},
                                           TabRow{"frmRun", {"cmdRun", "cmdCancel", "picRun"}}),
                         [](const auto& p) { return std::string(p.param.window); });

class NoRoles : public QtTest, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(NoRoles, NoDefaultNoCancelNoAccessKeys)
{
    QWidget& window = showWindow(GetParam());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const auto buttons = window.findChildren<QPushButton*>();
    ASSERT_FALSE(buttons.isEmpty());
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (QPushButton* b : buttons) {
        EXPECT_TRUE(QKeySequence::mnemonic(b->text()).isEmpty()) << b->objectName().toStdString();
        EXPECT_TRUE(b->shortcut().isEmpty());
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

INSTANTIATE_TEST_SUITE_P(Windows, NoRoles, ::testing::Values("frmSplash", "frmRun"));

class KeyOnFocusedButton : public QtTest, public ::testing::WithParamInterface<Qt::Key>
{
};

TEST_P(KeyOnFocusedButton, PressesIt)
{
    ui::Module1::Main();
    QWidget& splash = widgetOf<ui::frmSplash>();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&splash));
    QTest::keyClick(splash.focusWidget(), Qt::Key_Tab); // on to "About"
    QTest::keyClick(QApplication::focusWidget(), GetParam());
    EXPECT_NE(Find<ui::frmAbout>(), nullptr);

    QApplication::setActiveWindow(&splash);
    QTest::keyClick(&splash, Qt::Key_Tab); // back to "OK"
    QTest::keyClick(QApplication::focusWidget(), GetParam());
    settle();
    EXPECT_NE(Find<ui::frmRun>(), nullptr);
    EXPECT_EQ(Find<ui::frmSplash>(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(EnterReturnSpace, KeyOnFocusedButton,
                         ::testing::Values(Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space));

// ------------------------------------------------------------------ the About window

class AboutKeys : public QtTest
{
protected:
    QWidget& openActive()
    {
        QWidget& w = *widgetOf(&Show<ui::frmAbout>());
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        return w;
    }
    bool closed()
    {
        settle();
        return Find<ui::frmAbout>() == nullptr && shownCount("frmAbout") == 0;
    }
    void registerTool()
    {
        registry.setText(reg::kLocalMachine, ui::kSysInfoPathKey, ui::kSysInfoPathValue,
                         "/opt/tool");
        launcher.installed.insert("/opt/tool");
    }

    MemoryRegistry registry;
    RecordingLauncher launcher;

private:
    ReplaceService<Registry> m_registry{registry};
    ReplaceService<Launcher> m_launcher{launcher};
};

enum class Close { OkButton, EnterOnOk, EscapeOnOk, EscapeOnSysInfo, TitleBar };

class AboutCloses : public AboutKeys, public ::testing::WithParamInterface<Close>
{
};

TEST_P(AboutCloses, AndOpensAgainWithOkFocused)
{
    QWidget& w = openActive();
    auto* ok = control<QPushButton>(w, "cmdOK");
    auto* sysInfo = control<QPushButton>(w, "cmdSysInfo");
    switch (GetParam()) {
    case Close::OkButton:
        QTest::mouseClick(ok, Qt::LeftButton);
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

    QWidget& again = openActive();
    ASSERT_NE(again.focusWidget(), nullptr);
    EXPECT_EQ(again.focusWidget()->objectName(), "cmdOK");
}

INSTANTIATE_TEST_SUITE_P(By, AboutCloses,
                         ::testing::Values(Close::OkButton, Close::EnterOnOk, Close::EscapeOnOk,
                                           Close::EscapeOnSysInfo, Close::TitleBar));

TEST_F(AboutKeys, OkIsTheDefaultButtonForEnterFromAnywhereElse)
{
    QWidget& w = openActive();
    // Enter that no focused button takes reaches the window: the default button.
    QTest::keyClick(&w, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(closed());
}

TEST_F(AboutKeys, AltSPressesSystemInfo)
{
    registerTool();
    QWidget& w = openActive();
    QTest::keyClick(&w, Qt::Key_S, Qt::AltModifier);
    // An access key clicks its button the way a mouse would, a moment later.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !launcher.attempts.empty(); }));
    EXPECT_EQ(launcher.started, std::vector<std::string>{"/opt/tool"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(closed()) << "the About window stays open";
}

TEST_F(AboutKeys, EnterOnSystemInfoPressesIt)
{
    registerTool();
    QWidget& w = openActive();
    auto* sysInfo = control<QPushButton>(w, "cmdSysInfo");
    sysInfo->setFocus();
    QTest::keyClick(sysInfo, Qt::Key_Return);
    EXPECT_EQ(launcher.started.size(), 1u);
    EXPECT_FALSE(closed());
}

// ------------------------------------------------------------------ the instruction viewer

class ViewerKeys : public QtTest
{
protected:
    ViewerKeys()
    {
        for (int page = 1; page <= ui::frmInstruction::kPageCount; ++page) {
            QImage picture(40, 30, QImage::Format_RGB32);
            picture.fill(QColor(page * 16, 255 - page * 16, 128));
            picture.save(
                QString::fromStdString((programDir() / (std::to_string(page) + ".BMP")).string()),
                "BMP");
        }
        usePreparedProgramDirectory();
    }
    QWidget& openActive()
    {
        m_viewer = &Show<ui::frmInstruction>();
        QWidget& w = *widgetOf(m_viewer);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        return w;
    }
    QPushButton* button(const char* name)
    {
        return control<QPushButton>(*widgetOf(m_viewer), name);
    }
    void press(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    int page() const { return m_viewer->page(); }

private:
    ui::frmInstruction* m_viewer = nullptr;
};

TEST_F(ViewerKeys, EscapePressesPrevOnlyWhileItCan)
{
    QWidget& w = openActive();
    QTest::keyClick(w.focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible()) << "Escape closes nothing";
    EXPECT_EQ(page(), 0) << "a hidden \"<<Prev\" takes no Escape";

    press("cmdVisual");
    press("cmdNext");
    press("cmdNext");
    QTest::keyClick(w.focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(page(), 2);
    QTest::keyClick(w.focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(page(), 1);
    QTest::keyClick(w.focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(page(), 1) << "\"<<Prev\" is disabled on page 1";
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ViewerKeys, EnterPressesTheFocusedButtonAndNoOtherOne)
{
    QWidget& w = openActive();
    press("cmdVisual");
    button("cmdNext")->setFocus();
    QTest::keyClick(button("cmdNext"), Qt::Key_Return);
    QTest::keyClick(button("cmdNext"), Qt::Key_Return);
    EXPECT_EQ(page(), 3);
    QWidget* picture = control(w, "Picture1");
    picture->setFocus();
    QTest::keyClick(picture, Qt::Key_Return);
    EXPECT_EQ(page(), 3) << "no default button";
}

// Enter held down on "Next>>", sent where the focus is as a keyboard sends
// it: forward to the last page, then the focus on "<<Prev" and Enter held
// there; a click hands Enter back to the focus.
TEST_F(ViewerKeys, EnterAfterTheLastPageNeverTurnsBack)
{
    QWidget& w = openActive();
    press("cmdVisual");
    button("cmdNext")->setFocus();
    for (int enter = 0; enter < 20; ++enter)
        QTest::keyClick(w.focusWidget(), enter % 2 ? Qt::Key_Return : Qt::Key_Enter);
    EXPECT_EQ(page(), 15);
    EXPECT_EQ(w.focusWidget(), button("cmdPrev")) << "next in the tab order";
    press("cmdPrev");
    EXPECT_EQ(page(), 14);
    button("cmdPrev")->setFocus();
    QTest::keyClick(w.focusWidget(), Qt::Key_Return);
    EXPECT_EQ(page(), 13);
    EXPECT_TRUE(host.messages.empty());
}

} // namespace
} // namespace halvane::test
