// The ways through the program's windows: start-up, the splash window's
// buttons, the main window's run, exit and instruction area, the failures on
// the way, and which window keeps the process alive.
#include "run/ConversionRun.h"
#include "tests/support/TableBuilder.h"
#include "tests/ui/UiTest.h"
#include "ui/ClickArea.h"
#include "ui/Design.h"
#include "ui/Module1.h"
#include "ui/PictureBox.h"
#include "ui/frmAbout.h"
#include "ui/frmInstruction.h"
#include "ui/frmRun.h"
#include "ui/frmSplash.h"

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <fstream>
#include <functional>

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

// ES, EF, ES_T1, EF_T1 of each record, and the SHES, SHEF, SHTS, SHTF they give.
const TableBuilder kRecords = [] {
    TableBuilder table;
    table.add(scheduleRecord("20020321", "20030320"));
    table.add(scheduleRecord("20000101", "", "19790101", "20231231"));
    table.add(scheduleRecord(""));
    return table;
}();
const std::vector<std::array<std::string, 4>> kConverted = {
    {"81/01/01  ", "81/12/29  ", "          ", "          "},
    {"78/10/11  ", "          ", "          ", "02/10/10  "},
    {"          ", "          ", "          ", "          "},
};

void expectConverted(const std::filesystem::path& table)
{
    const std::string bytes = readFile(table);
    for (std::size_t r = 0; r < kRecords.records.size(); ++r) {
        for (std::size_t f = 0; f < run::kFieldPairs.size(); ++f)
            EXPECT_EQ(kRecords.storedField(bytes, r, run::kFieldPairs[f].second), kConverted[r][f])
                << "record " << r << " " << run::kFieldPairs[f].second;
        EXPECT_EQ(kRecords.storedField(bytes, r, "DONE"), "T") << "record " << r;
    }
}

QImage deliveredPicture(std::string_view name)
{
    return QImage(
        QString::fromStdString((std::filesystem::path(HALVANE_PROGRAM_DIR) / name).string()));
}

const Message kDateNotFound{"Unable to Calculate Shamsi Dates", "Date Not Found"};

using Flow = UiTest;

// ------------------------------------------------------------------ start-up and splash

TEST_F(Flow, MainShowsTheSplashFullyDrawnWithOkFocused)
{
    ui::Module1::Main();
    auto splashes = shownWindows<ui::frmSplash>();
    ASSERT_EQ(splashes.size(), 1u);
    EXPECT_TRUE(drawnOnScreen(*splashes[0]));
    ASSERT_NE(splashes[0]->focusWidget(), nullptr);
    EXPECT_EQ(splashes[0]->focusWidget()->objectName(), "cmdOK");
    EXPECT_TRUE(shownWindows<ui::frmRun>().empty());
}

TEST_F(Flow, OkUnloadsTheSplashAndOpensTheMainWindow)
{
    ui::Module1::Main();
    QPointer<QWidget> splash = Find<ui::frmSplash>();
    click(*splash, "cmdOK");
    settle();
    EXPECT_TRUE(splash.isNull()) << "the splash window is destroyed";
    auto mains = shownWindows<ui::frmRun>();
    ASSERT_EQ(mains.size(), 1u);
    EXPECT_EQ(mains[0]->focusWidget()->objectName(), "cmdRun");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Flow, AboutTwiceOpensOneAboutWindow)
{
    ui::Module1::Main();
    auto* splash = Find<ui::frmSplash>();
    click(*splash, "cmdAbout");
    auto* first = Find<ui::frmAbout>();
    ASSERT_NE(first, nullptr);
    click(*splash, "cmdAbout");
    EXPECT_EQ(Find<ui::frmAbout>(), first);
    EXPECT_EQ(shownWindows<ui::frmAbout>().size(), 1u);
    EXPECT_TRUE(splash->isVisible()) << "the splash window stays open";
}

TEST_F(Flow, AboutThenOkLeavesTheAboutWindowBesideTheMainWindow)
{
    ui::Module1::Main();
    click(*Find<ui::frmSplash>(), "cmdAbout");
    click(*Find<ui::frmSplash>(), "cmdOK");
    settle();
    EXPECT_EQ(Find<ui::frmSplash>(), nullptr);
    ASSERT_NE(Find<ui::frmAbout>(), nullptr);
    ASSERT_NE(Find<ui::frmRun>(), nullptr);
    Find<ui::frmAbout>()->windowHandle()->close(); // its close button
    settle();
    EXPECT_EQ(Find<ui::frmAbout>(), nullptr);
    EXPECT_NE(Find<ui::frmRun>(), nullptr);
    EXPECT_TRUE(ui::anyWindowOpen());
}

TEST_F(Flow, SplashRefusesTheWindowSystemsCloseRequest)
{
    ui::Module1::Main();
    QPointer<QWidget> splash = Find<ui::frmSplash>();
    splash->windowHandle()->close();
    settle();
    ASSERT_FALSE(splash.isNull());
    EXPECT_TRUE(splash->isVisible());
}

class KeyOnFocusedButton : public UiTest, public ::testing::WithParamInterface<Qt::Key>
{
};

TEST_P(KeyOnFocusedButton, PressesIt)
{
    ui::Module1::Main();
    auto* splash = Find<ui::frmSplash>();
    ASSERT_TRUE(QTest::qWaitForWindowActive(splash));
    QTest::keyClick(splash->focusWidget(), Qt::Key_Tab); // on to "About"
    QTest::keyClick(QApplication::focusWidget(), GetParam());
    EXPECT_NE(Find<ui::frmAbout>(), nullptr);

    QApplication::setActiveWindow(splash);
    QTest::keyClick(splash, Qt::Key_Tab); // back to "OK"
    QTest::keyClick(QApplication::focusWidget(), GetParam());
    settle();
    EXPECT_NE(Find<ui::frmRun>(), nullptr);
    EXPECT_EQ(Find<ui::frmSplash>(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(EnterReturnSpace, KeyOnFocusedButton,
                         ::testing::Values(Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space));

TEST_F(Flow, OkWithoutDatesTxtReportsAndEndsWithoutTheMainWindow)
{
    useProgramDirectoryWith({});
    ui::Module1::Main();
    auto* splash = Find<ui::frmSplash>();
    EXPECT_THROW(splash->cmdOK_Click(), ProcessEnded);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "Unexpected Error: File not found: " + (programDir() / "DATES.TXT").string());
    EXPECT_EQ(host.messages[0].title, "qrx2");
    EXPECT_EQ(host.ended, 1);
    EXPECT_FALSE(splash->isVisible()) << "the splash window is already gone";
    EXPECT_EQ(Find<ui::frmRun>(), nullptr);
    settle();
    EXPECT_TRUE(shownWindows<ui::frmRun>().empty());
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<ui::frmRun*>(w), nullptr) << "no main window was left behind";
}

// ------------------------------------------------------------------ the main window

TEST_F(Flow, RunFillsTheTableAndShowsSuccessTwice)
{
    writeTable(kRecords);
    auto& main = Show<ui::frmRun>();
    auto* picRun = control<ui::PictureBox>(main, "picRun");
    for (int run = 1; run <= 2; ++run) {
        click(main, "cmdRun");
        expectConverted(tableFile());
        EXPECT_EQ(picRun->picture(), deliveredPicture("success.BMP")) << "run " << run;
        EXPECT_EQ(main.focusWidget()->objectName(), "cmdRun");
        EXPECT_EQ(host.ended, 0);
        // The date outside 1980 to 2023 is reported once per run.
        EXPECT_EQ(host.messages,
                  std::vector<Message>(static_cast<std::size_t>(run), kDateNotFound));
    }
}

TEST_F(Flow, RunPaintsWaitBeforeTheWalk)
{
    writeTable(kRecords);
    auto& main = Show<ui::frmRun>();
    // The first conversion happens inside the walk: by then wait.BMP is on the screen.
    QImage onScreenDuringWalk;
    auto* picRun = control<ui::PictureBox>(main, "picRun");
    struct Peek final : Host {
        Host* previous;
        QWidget* box;
        QImage* shot;
        void messageBox(std::string_view text, std::string_view title) override
        {
            *shot = box->screen()
                        ->grabWindow(box->window()->winId(), box->x(), box->y(), box->width(),
                                     box->height())
                        .toImage();
            previous->messageBox(text, title);
        }
        [[noreturn]] void endProcess() override { throw ProcessEnded{}; }
    } peek;
    peek.previous = &host;
    peek.box = picRun;
    peek.shot = &onScreenDuringWalk;
    ReplaceService<Host> scope(peek);
    main.cmdRun_Click();
    ASSERT_FALSE(onScreenDuringWalk.isNull());
    const QImage wait = deliveredPicture("wait.BMP").convertToFormat(QImage::Format_RGB32);
    const QPoint interior = picRun->contentsRect().topLeft();
    EXPECT_EQ(
        onScreenDuringWalk.convertToFormat(QImage::Format_RGB32).pixel(interior + QPoint(10, 10)),
        wait.pixel(10, 10));
}

// The planner exports the schedule again over the same file (same file,
// same size) after the main window loaded the table, or after a first run:
// the run fills the table as it is now, in its new layout too.
struct Export {
    const char* name;
    bool afterARun; // else right after the window loaded
    bool newLayout; // the fields in another order
};

std::ostream& operator<<(std::ostream& os, const Export& e)
{
    return os << e.name;
}

class ExportedAgain : public UiTest, public ::testing::WithParamInterface<Export>
{
};

TEST_P(ExportedAgain, RunFillsTheTableAsItIsNow)
{
    writeTable(kRecords);
    auto& main = Show<ui::frmRun>();
    if (GetParam().afterARun) {
        click(main, "cmdRun");
        expectConverted(tableFile());
    }
    // The export of a later schedule: other dates, and with newLayout the
    // same fields in the reverse order, so the file keeps its size.
    TableBuilder next;
    next.add(scheduleRecord("20010321"));
    next.add(scheduleRecord("", "20020101"));
    next.add(scheduleRecord("", "", "", "20000101"));
    if (GetParam().newLayout) {
        std::reverse(next.fields.begin(), next.fields.end());
        for (auto& r : next.records)
            std::reverse(r.begin(), r.end());
    }
    const std::string bytes = next.bytes();
    // Written over the table: the same file, the same size.
    const auto size = std::filesystem::file_size(tableFile());
    std::ofstream(tableFile(), std::ios::binary | std::ios::in) << bytes;
    ASSERT_EQ(std::filesystem::file_size(tableFile()), size) << "rewritten in place";

    click(main, "cmdRun");
    const std::vector<std::array<std::string, 4>> converted = {
        {"80/01/01  ", "          ", "          ", "          "},
        {"          ", "80/10/11  ", "          ", "          "},
        {"          ", "          ", "          ", "78/10/11  "},
    };
    const std::string after = readFile(tableFile());
    for (std::size_t r = 0; r < next.records.size(); ++r) {
        for (std::size_t f = 0; f < run::kFieldPairs.size(); ++f)
            EXPECT_EQ(next.storedField(after, r, run::kFieldPairs[f].second), converted[r][f])
                << "record " << r << " " << run::kFieldPairs[f].second;
        EXPECT_EQ(next.storedField(after, r, "DONE"), "T") << "record " << r;
    }
    EXPECT_EQ(control<ui::PictureBox>(main, "picRun")->picture(), deliveredPicture("success.BMP"));
    EXPECT_EQ(host.ended, 0);
}

INSTANTIATE_TEST_SUITE_P(Moments, ExportedAgain,
                         ::testing::Values(Export{"ContentAfterLoad", false, false},
                                           Export{"ContentAndLayoutAfterLoad", false, true},
                                           Export{"ContentBetweenRuns", true, false},
                                           Export{"ContentAndLayoutBetweenRuns", true, true}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(Flow, RunWithoutTableReportsAndEnds)
{
    auto& main = Show<ui::frmRun>();
    EXPECT_THROW(main.cmdRun_Click(), ProcessEnded);
    EXPECT_EQ(host.messages, (std::vector<Message>{{"Shamsi.dbf file not found", "qrx2"}}));
    EXPECT_EQ(host.ended, 1);
    EXPECT_EQ(control<ui::PictureBox>(main, "picRun")->picture(),
              QImage(QStringLiteral(":/art/instruction.png")));
}

struct PictureCase {
    const char* name;
    const char* file;         // the picture file that is missing or broken
    const char* content;      // nullptr: missing
    const char* messageStart; // after "Unexpected Error: "
    bool converted;           // the records were converted before the failure
};

std::ostream& operator<<(std::ostream& os, const PictureCase& c)
{
    return os << c.name;
}

class PictureFailure : public UiTest, public ::testing::WithParamInterface<PictureCase>
{
};

TEST_P(PictureFailure, ReportsAndEnds)
{
    const PictureCase& c = GetParam();
    useProgramDirectoryWith(
        {"DATES.TXT", std::string_view(c.file) == "wait.BMP" ? "success.BMP" : "wait.BMP"});
    if (c.content)
        std::ofstream(programDir() / c.file, std::ios::binary) << c.content;
    writeTable(kRecords);
    const std::string before = readFile(tableFile());

    auto& main = Show<ui::frmRun>();
    EXPECT_THROW(main.cmdRun_Click(), ProcessEnded);
    ASSERT_FALSE(host.messages.empty());
    const Message& last = host.messages.back();
    EXPECT_EQ(last.text.rfind(std::string("Unexpected Error: ") + c.messageStart, 0), 0u)
        << last.text;
    EXPECT_NE(last.text.find((programDir() / c.file).string()), std::string::npos) << last.text;
    EXPECT_EQ(last.title, "qrx2");
    EXPECT_EQ(host.ended, 1);
    if (c.converted)
        expectConverted(tableFile());
    else
        EXPECT_EQ(readFile(tableFile()), before) << "no record was changed";
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, PictureFailure,
    ::testing::Values(
        PictureCase{"WaitMissing", "wait.BMP", nullptr, "File not found: ", false},
        PictureCase{"WaitNotAPicture", "wait.BMP", "not a picture", "Invalid picture: ", false},
        PictureCase{"SuccessMissing", "success.BMP", nullptr, "File not found: ", true},
        PictureCase{"SuccessNotAPicture", "success.BMP", "BM", "Invalid picture: ", true}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(Flow, StartedFromAnotherDirectoryUsesTheProgramsDirectory)
{
    TempDir elsewhere;
    std::filesystem::current_path(elsewhere.path());
    writeTable(kRecords);
    auto& main = Show<ui::frmRun>();
    EXPECT_EQ(std::filesystem::canonical(std::filesystem::current_path()),
              std::filesystem::canonical(HALVANE_PROGRAM_DIR));
    main.cmdRun_Click();
    EXPECT_EQ(control<ui::PictureBox>(main, "picRun")->picture(), deliveredPicture("success.BMP"));
    expectConverted(tableFile());
}

TEST_F(Flow, InstructionAreaOpensOneViewer)
{
    auto& main = Show<ui::frmRun>();
    click(main, "imgInstr");
    auto* viewer = Find<ui::frmInstruction>();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->windowTitle(), "Instruction");
    click(main, "imgInstr");
    EXPECT_EQ(Find<ui::frmInstruction>(), viewer);
    EXPECT_EQ(shownWindows<ui::frmInstruction>().size(), 1u);
    EXPECT_TRUE(main.isVisible());
}

TEST_F(Flow, ClicksOnThePictureOutsideTheInstructionAreaDoNothing)
{
    auto& main = Show<ui::frmRun>();
    auto* picRun = control<ui::PictureBox>(main, "picRun");
    auto* area = control<ui::ClickArea>(main, "imgInstr");
    for (QPoint p : {picRun->contentsRect().topLeft() + QPoint(2, 2),
                     QPoint(area->geometry().left() - 2, area->geometry().center().y()),
                     QPoint(area->geometry().center().x(), area->geometry().bottom() + 2)})
        QTest::mouseClick(picRun, Qt::LeftButton, {}, p);
    EXPECT_EQ(Find<ui::frmInstruction>(), nullptr);
}

TEST_F(Flow, ExitWithTheViewerOpenUnloadsAndEndsTheProcess)
{
    auto& main = Show<ui::frmRun>();
    click(main, "imgInstr");
    ASSERT_NE(Find<ui::frmInstruction>(), nullptr);
    EXPECT_THROW(main.cmdCancel_Click(), ProcessEnded);
    EXPECT_EQ(host.ended, 1);
    EXPECT_FALSE(main.isVisible()) << "the main window was unloaded first";
    EXPECT_EQ(Find<ui::frmRun>(), nullptr);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Flow, UnloadedMainWindowComesBackFromItsDesign)
{
    writeTable(kRecords);
    auto* first = &Show<ui::frmRun>();
    first->cmdRun_Click();
    ui::Unload<ui::frmRun>();
    auto& second = Show<ui::frmRun>();
    EXPECT_EQ(control<ui::PictureBox>(second, "picRun")->picture(),
              QImage(QStringLiteral(":/art/instruction.png")));
}

// ------------------------------------------------------------------ the life of the process

TEST_F(Flow, CloseButtonOnTheMainWindowLeavesTheViewerAndTheProcessRunning)
{
    auto& main = Show<ui::frmRun>();
    QPointer<QWidget> mainWindow = &main;
    QPointer<QWidget> viewer = &Show<ui::frmInstruction>();
    std::vector<std::string> seen;
    const int status = runEventLoopWith({
        [&] { mainWindow->windowHandle()->close(); },
        [&] {
            seen.push_back(mainWindow ? "main window exists" : "main window destroyed");
            seen.push_back(viewer && viewer->isVisible() ? "viewer open" : "viewer gone");
        },
        [&] { viewer->windowHandle()->close(); },
    });
    EXPECT_EQ(status, 0) << "the loop ended when the last window closed";
    EXPECT_EQ(seen, (std::vector<std::string>{"main window destroyed", "viewer open"}));
}

TEST_F(Flow, AMessageBoxClosingBesideToolWindowsDoesNotEndTheProcess)
{
    auto& main = Show<ui::frmRun>();
    QPointer<QWidget> mainWindow = &main;
    QPointer<QWidget> box;
    std::vector<std::string> seen;
    const int status = runEventLoopWith({
        [&] {
            box =
                ui::makeMessageBox("Unable to Calculate Shamsi Dates", "Date Not Found").release();
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->show();
        },
        [&] { box->close(); },
        [&] { seen.push_back(mainWindow ? "main window open" : "main window gone"); },
        [&] { mainWindow->windowHandle()->close(); },
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"main window open"}));
}

TEST_F(Flow, ProcessEndsWhenTheLastToolWindowCloses)
{
    ui::Module1::Main();
    std::vector<std::string> seen;
    const int status = runEventLoopWith({
        [&] { click(*Find<ui::frmSplash>(), "cmdAbout"); },
        [&] { click(*Find<ui::frmSplash>(), "cmdOK"); },
        [&] { Find<ui::frmAbout>()->windowHandle()->close(); },
        [&] { seen.push_back(Find<ui::frmRun>() ? "main window open" : "main window gone"); },
        [&] { Find<ui::frmRun>()->windowHandle()->close(); },
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"main window open"}));
    EXPECT_FALSE(ui::anyWindowOpen());
}

} // namespace
} // namespace halvane::test
