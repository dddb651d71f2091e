// The window services on the Qt backend: pictures read from files as Qt
// reads them and on the screen when the call returns, the message box and
// the host, the window made active again after a box or a window closes, and
// the event loop that runs while any window of the program is open.
#include "tests/ui/qt/QtTest.h"
#include "ui/forms/PictureBox.h"
#include "ui/qt/PictureBoxWidget.h"
#include "ui/qt/QtHost.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <fstream>
#include <gmock/gmock.h>

namespace halvane::test
{
namespace
{

using ui::Find;
using ui::Show;

constexpr ui::ControlDesign kControls[] = {
    {.name = "cmdClose",
     .kind = ui::ControlKind::PushButton,
     .text = "Close",
     .place = {0, 0, 900, 300},
     .tabIndex = 0},
    {.name = "picShow", .kind = ui::ControlKind::PictureBox, .place = {150, 450, 900, 900}},
};

template <int N> constexpr ui::WindowDesign design(const char* name)
{
    return {.name = name,
            .kind = ui::WindowKind::ToolWindow,
            .caption = name,
            .client = {1500, 1500 + 150 * N},
            .placement = ui::Placement::SystemDefault,
            .font = ui::kWindowFont,
            .controls = kControls};
}

constexpr ui::WindowDesign kFirst = design<0>("First");
constexpr ui::WindowDesign kSecond = design<1>("Second");

// A window whose "Close" unloads it, and which shows pictures on demand.
template <const ui::WindowDesign& Design> class TestWindow final : public ui::Form
{
public:
    TestWindow() : Form(Design), m_picShow(*this, "picShow")
    {
        bind("cmdClose", ui::ControlEvent::Click, &TestWindow::cmdClose_Click);
    }
    void cmdClose_Click() { ui::Unload(*this); }
    void show(std::string_view file) { m_picShow.setPictureFromFile(file); }

private:
    ui::PictureBox m_picShow;
};

using FirstWindow = TestWindow<kFirst>;
using SecondWindow = TestWindow<kSecond>;

using QtServices = QtTest;

// ------------------------------------------------------------------ pictures

QByteArray pictureBytes(QColor colour, QSize size, const char* format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

std::string bytesOf(const QByteArray& bytes)
{
    return bytes.toStdString();
}

struct PictureFileCase {
    const char* name;
    std::string bytes; // of the file "x.BMP"
    bool loads;
};

void PrintTo(const PictureFileCase& c, std::ostream* os)
{
    *os << c.name;
}

class PictureFromFile : public QtTest, public ::testing::WithParamInterface<PictureFileCase>
{
};

TEST_P(PictureFromFile, ShowsWhatQtReadsOrIsAnInvalidPicture)
{
    TempDir dir;
    writeFile(dir / "x.BMP", GetParam().bytes);
    std::filesystem::current_path(dir.path());
    auto& window = Show<FirstWindow>();
    auto* box = control<ui::qt::PictureBoxWidget>(*widgetOf(&window), "picShow");
    if (GetParam().loads) {
        window.show("x.BMP");
        EXPECT_EQ(box->picture().size(), QSize(12, 7));
        EXPECT_EQ(box->picture().pixelColor(3, 3), QColor(Qt::red));
        return;
    }
    try {
        window.show("x.BMP");
        FAIL() << "no failure";
    } catch (const Failure& f) {
        EXPECT_EQ(f.number(), err::InvalidPicture);
        EXPECT_THAT(f.description(),
                    ::testing::StartsWith("Invalid picture: " + (dir / "x.BMP").string() + " ("));
    }
    EXPECT_TRUE(box->picture().isNull()) << "the box keeps its picture";
}

INSTANTIATE_TEST_SUITE_P(
    Files, PictureFromFile,
    ::testing::Values(
        PictureFileCase{"Bitmap", bytesOf(pictureBytes(Qt::red, {12, 7}, "BMP")), true},
        PictureFileCase{"PngUnderABmpName", bytesOf(pictureBytes(Qt::red, {12, 7}, "PNG")), true},
        PictureFileCase{"Empty", "", false}, PictureFileCase{"NotAPicture", "hello, world", false},
        PictureFileCase{"TruncatedBitmap", bytesOf(pictureBytes(Qt::red, {12, 7}, "BMP").left(40)),
                        false}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(QtServices, PictureFromFileIsOnTheScreenWhenTheCallReturns)
{
    TempDir dir;
    std::filesystem::current_path(dir.path());
    writeFile(dir / "x.BMP", bytesOf(pictureBytes(Qt::red, {12, 7}, "BMP")));
    auto& window = Show<FirstWindow>();
    QWidget& w = *widgetOf(&window);
    auto* box = control(w, "picShow");
    window.show("x.BMP");
    const QImage screen = w.screen()->grabWindow(w.winId()).toImage();
    EXPECT_EQ(screen.pixelColor(box->geometry().topLeft() + QPoint(2, 2)), QColor(Qt::red));
}

// ------------------------------------------------------------------ message boxes

class MessageBoxDesign : public QtTest, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(MessageBoxDesign, ModalNoIconOneOkButtonWithoutIcon)
{
    auto box = ui::qt::makeMessageBox("Shamsi.dbf <b>file</b> not found", GetParam());
    EXPECT_EQ(box->windowTitle(), QString::fromUtf8(GetParam()));
    EXPECT_EQ(box->text(), "Shamsi.dbf <b>file</b> not found");
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
    const auto buttons = box->buttons();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(box->standardButton(buttons[0]), QMessageBox::Ok);
    EXPECT_TRUE(buttons[0]->icon().isNull());
    EXPECT_EQ(box->defaultButton(), buttons[0]);
    EXPECT_EQ(box->escapeButton(), buttons[0]);
}

INSTANTIATE_TEST_SUITE_P(Titles, MessageBoxDesign, ::testing::Values("qrx2", "Date Not Found", ""));

// Answers the next message box of the Qt host with Enter, once it is shown,
// after running `look` on it.
void answerNextBox(std::function<void(QMessageBox&)> look = {})
{
    QTimer::singleShot(50, qApp, [look = std::move(look)] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        if (look)
            look(*box);
        QTest::keyClick(box, Qt::Key_Return);
    });
}

// The Qt host in place: message boxes are real.
class WithQtHost : public QtTest
{
protected:
    ui::qt::QtHost qtHost;

private:
    ReplaceService<Host> m_scope{qtHost};
};

TEST_F(WithQtHost, MessageBlocksUntilOkIsPressed)
{
    bool pressed = false;
    answerNextBox([&](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), "qrx2");
        EXPECT_EQ(box.text(), "Shamsi.dbf file not found");
        pressed = true;
    });
    msgBox("Shamsi.dbf file not found");
    EXPECT_TRUE(pressed);
}

TEST_F(WithQtHost, TheWindowActiveBeforeABoxIsActiveAfterIt)
{
    QWidget& first = *widgetOf(&Show<FirstWindow>());
    Show<SecondWindow>();
    first.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&first));
    bool boxWasActive = false;
    answerNextBox([&](QMessageBox& box) {
        boxWasActive = box.isActiveWindow();
        // As a window manager does when a box without an owner closes: no
        // window is active any more.
        QApplication::setActiveWindow(nullptr);
    });
    msgBox("Unable to Calculate Shamsi Dates", "Date Not Found");
    EXPECT_TRUE(boxWasActive);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&first));
}

TEST(QtHostEnd, IsImmediateWithStatusZeroAndRunsNoHandler)
{
    EXPECT_EXIT(
        {
            auto* window = new QWidget;
            window->show();
            QObject::connect(qApp, &QCoreApplication::aboutToQuit,
                             [] { std::fputs("a handler ran\n", stderr); });
            std::atexit([] { std::fputs("an exit routine ran\n", stderr); });
            endProcess();
        },
        ::testing::ExitedWithCode(0), ::testing::Not(::testing::HasSubstr("ran")));
}

// ------------------------------------------------------------------ the active window

TEST_F(QtServices, ClosingTheActiveWindowActivatesTheOneBefore)
{
    QWidget& first = *widgetOf(&Show<FirstWindow>());
    QWidget& second = *widgetOf(&Show<SecondWindow>());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&second));
    QTest::mouseClick(control(second, "cmdClose"), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&first));
}

// ------------------------------------------------------------------ the life of the process

TEST_F(QtServices, EventLoopWithoutAnyWindowEndsAtOnce)
{
    EXPECT_EQ(runEventLoopWith({}), 0);
}

TEST_F(QtServices, TheCloseButtonUnloads)
{
    QPointer<QWidget> window = widgetOf(&Show<FirstWindow>());
    window->windowHandle()->close();
    EXPECT_EQ(Find<FirstWindow>(), nullptr);
    settle();
    EXPECT_TRUE(window.isNull()) << "the widget is deleted";
}

TEST_F(QtServices, AMessageBoxClosingBesideToolWindowsDoesNotEndTheProcess)
{
    Show<FirstWindow>();
    QPointer<QWidget> box;
    std::vector<std::string> seen;
    const int status = runEventLoopWith({
        [&] {
            box = ui::qt::makeMessageBox("Unable to Calculate Shamsi Dates", "Date Not Found")
                      .release();
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->show();
        },
        [&] { box->close(); },
        [&] { seen.push_back(Find<FirstWindow>() ? "window open" : "window gone"); },
        [&] { widgetOf(Find<FirstWindow>())->windowHandle()->close(); },
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"window open"}));
}

TEST_F(QtServices, ABoxShownAfterTheLastWindowWentWaitsForItsAnswer)
{
    // As when the splash window's "OK" unloads it and the main window's load
    // step fails: the message must stay until it is answered.
    ui::qt::QtHost qtHost;
    ReplaceService<Host> scope(qtHost);
    Show<FirstWindow>();
    bool answered = false;
    const int status = runEventLoopWith({[&] {
        ui::handleEvent([&] {
            ui::Unload<FirstWindow>();
            QTimer::singleShot(300, qApp, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                ASSERT_NE(box, nullptr) << "the box went unanswered";
                answered = true;
                QTest::keyClick(box, Qt::Key_Return);
            });
            msgBox("Unexpected Error: File not found");
        });
    }});
    EXPECT_TRUE(answered);
    EXPECT_EQ(status, 0) << "the loop ended once the handler had returned";
}

} // namespace
} // namespace halvane::test
