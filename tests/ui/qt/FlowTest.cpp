// The ways through the program's windows on the Qt backend, with real mouse
// and key events on the widgets: start-up drawn on the screen, the splash
// window's "OK", the main window's run and instruction area, the close
// requests of the window system, and the event loop's end with the last
// window.
#include "run/ConversionRun.h"
#include "tests/ui/qt/QtTest.h"
#include "ui/forms/Module1.h"
#include "ui/forms/frmInstruction.h"
#include "ui/forms/frmRun.h"
#include "ui/forms/frmSplash.h"
#include "ui/qt/ClickArea.h"
#include "ui/qt/PictureBoxWidget.h"

#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QWindow>

namespace halvane::test
{
namespace
{

using ui::Find;
using ui::Show;

void click(QWidget& window, const char* name)
{
    QWidget* w = control(window, name);
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

// What the screen shows of `window` equals what the window draws.
bool drawnOnScreen(QWidget& window)
{
    const QImage onScreen =
        window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage drawn = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    return !onScreen.isNull() && onScreen == drawn;
}

QImage deliveredPicture(std::string_view name)
{
    return QImage(
        QString::fromStdString((std::filesystem::path(HALVANE_PROGRAM_DIR) / name).string()));
}

// One record with all four dates within 1980 to 2023, one outside.
const TableBuilder kRecords = [] {
    TableBuilder table;
    table.add(scheduleRecord("20020321", "20030320"));
    table.add(scheduleRecord("19790101"));
    return table;
}();

using Flow = QtTest;

TEST_F(Flow, MainShowsTheSplashFullyDrawnWithOkFocused)
{
    ui::Module1::Main();
    QWidget& splash = widgetOf<ui::frmSplash>();
    EXPECT_TRUE(splash.isVisible());
    EXPECT_TRUE(drawnOnScreen(splash));
    ASSERT_NE(splash.focusWidget(), nullptr);
    EXPECT_EQ(splash.focusWidget()->objectName(), "cmdOK");
    EXPECT_EQ(shownCount("frmRun"), 0);
}

TEST_F(Flow, OkUnloadsTheSplashAndOpensTheMainWindow)
{
    ui::Module1::Main();
    QPointer<QWidget> splash = &widgetOf<ui::frmSplash>();
    click(*splash, "cmdOK");
    settle();
    EXPECT_TRUE(splash.isNull()) << "the splash window is destroyed";
    ASSERT_EQ(shownCount("frmRun"), 1);
    QWidget& main = widgetOf<ui::frmRun>();
    ASSERT_NE(main.focusWidget(), nullptr);
    EXPECT_EQ(main.focusWidget()->objectName(), "cmdRun");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Flow, SplashRefusesTheWindowSystemsCloseRequest)
{
    ui::Module1::Main();
    QPointer<QWidget> splash = &widgetOf<ui::frmSplash>();
    splash->windowHandle()->close();
    settle();
    ASSERT_FALSE(splash.isNull());
    EXPECT_TRUE(splash->isVisible());
}

TEST_F(Flow, RunThroughTheButtonFillsTheTableAndShowsSuccess)
{
    writeTable(kRecords);
    QWidget& main = *widgetOf(&Show<ui::frmRun>());
    click(main, "cmdRun");
    const std::string bytes = readFile(tableFile());
    EXPECT_EQ(kRecords.storedField(bytes, 0, "SHES"), "81/01/01  ");
    EXPECT_EQ(kRecords.storedField(bytes, 1, "SHES"), "          ");
    EXPECT_EQ(control<ui::qt::PictureBoxWidget>(main, "picRun")->picture(),
              deliveredPicture("success.BMP"));
    EXPECT_EQ(main.focusWidget()->objectName(), "cmdRun");
    EXPECT_EQ(host.messages,
              (std::vector<Message>{{"Unable to Calculate Shamsi Dates", "Date Not Found"}}));
}

TEST_F(Flow, RunPaintsWaitBeforeTheWalk)
{
    writeTable(kRecords);
    QWidget& main = *widgetOf(&Show<ui::frmRun>());
    auto* picRun = control<ui::qt::PictureBoxWidget>(main, "picRun");
    // The conversion of the date outside 1980 to 2023 happens inside the
    // walk: by then wait.BMP is on the screen.
    QImage onScreenDuringWalk;
    struct Peek final : Host {
        std::function<void()> look;
        Host* previous;
        void messageBox(std::string_view text, std::string_view title) override
        {
            look();
            previous->messageBox(text, title);
        }
        [[noreturn]] void endProcess() override { throw ProcessEnded{}; }
    } peek;
    peek.previous = &host;
    peek.look = [&] {
        onScreenDuringWalk = picRun->screen()
                                 ->grabWindow(main.winId(), picRun->x(), picRun->y(),
                                              picRun->width(), picRun->height())
                                 .toImage();
    };
    ReplaceService<Host> scope(peek);
    click(main, "cmdRun");
    ASSERT_FALSE(onScreenDuringWalk.isNull());
    const QImage wait = deliveredPicture("wait.BMP").convertToFormat(QImage::Format_RGB32);
    const QPoint interior = picRun->contentsRect().topLeft();
    EXPECT_EQ(
        onScreenDuringWalk.convertToFormat(QImage::Format_RGB32).pixel(interior + QPoint(10, 10)),
        wait.pixel(10, 10));
}

TEST_F(Flow, OnlyTheInstructionAreaOfThePictureOpensTheViewer)
{
    QWidget& main = *widgetOf(&Show<ui::frmRun>());
    auto* picRun = control(main, "picRun");
    auto* area = control(main, "imgInstr");
    for (QPoint p :
         {QPoint(4, 4), QPoint(area->geometry().left() - 2, area->geometry().center().y()),
          QPoint(area->geometry().center().x(), area->geometry().bottom() + 2)})
        QTest::mouseClick(picRun, Qt::LeftButton, {}, p);
    EXPECT_EQ(Find<ui::frmInstruction>(), nullptr);
    click(main, "imgInstr");
    EXPECT_NE(Find<ui::frmInstruction>(), nullptr);
    EXPECT_EQ(shownCount("frmInstruction"), 1);
}

TEST_F(Flow, CloseButtonOnTheMainWindowLeavesTheViewerAndTheProcessRunning)
{
    QPointer<QWidget> main = widgetOf(&Show<ui::frmRun>());
    QPointer<QWidget> viewer = widgetOf(&Show<ui::frmInstruction>());
    std::vector<std::string> seen;
    const int status = runEventLoopWith({
        [&] { main->windowHandle()->close(); },
        [&] {
            seen.push_back(main ? "main window exists" : "main window destroyed");
            seen.push_back(viewer && viewer->isVisible() ? "viewer open" : "viewer gone");
        },
        [&] { viewer->windowHandle()->close(); },
    });
    EXPECT_EQ(status, 0) << "the loop ended when the last window closed";
    EXPECT_EQ(seen, (std::vector<std::string>{"main window destroyed", "viewer open"}));
}

} // namespace
} // namespace halvane::test
