// The window services: one window per class, unloading, pictures from files,
// message boxes, the default handling of failures and the end of the process.
#include "tests/ui/UiTest.h"
#include "ui/Design.h"
#include "ui/PictureBox.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <fstream>
#include <gmock/gmock.h>
#include <new>
#include <unistd.h>

namespace halvane::test
{
namespace
{

using ui::Find;
using ui::Show;

// A window class whose load step counts how often it ran.
class CountingWindow final : public QWidget
{
public:
    CountingWindow()
    {
        ui::makeToolWindow(*this, QStringLiteral("Counting"), 1500, 1500);
        auto* close = ui::addButton(*this, "cmdClose", QStringLiteral("Close"),
                                    ui::twipsRect(0, 0, 900, 300));
        ui::connectHandler(close, &QPushButton::clicked, this, &CountingWindow::cmdClose_Click);
    }
    void Form_Load() { ++loads; }
    // Unloads the window from inside its own handler and goes on using it.
    void cmdClose_Click()
    {
        ui::Unload(*this);
        setWindowTitle(QStringLiteral("still here until the handler returns"));
    }
    static inline int loads = 0;
};

// A window class whose load step ends the process.
class EndingWindow final : public QWidget
{
public:
    void Form_Load() { endProcess(); }
};

class Services : public UiTest
{
protected:
    Services() { CountingWindow::loads = 0; }
};

TEST_F(Services, ShowCreatesOneWindowPerClassAndBringsItToTheFront)
{
    auto& first = Show<CountingWindow>();
    EXPECT_TRUE(first.isVisible());
    EXPECT_TRUE(first.isWindow());
    EXPECT_EQ(first.parentWidget(), nullptr) << "no owner";
    EXPECT_FALSE(first.isModal());
    auto& again = Show<CountingWindow>();
    EXPECT_EQ(&again, &first);
    EXPECT_EQ(CountingWindow::loads, 1);
    EXPECT_EQ(Find<CountingWindow>(), &first);
    EXPECT_EQ(shownWindows<CountingWindow>().size(), 1u);
}

TEST_F(Services, UnloadDestroysAndTheNextShowCreatesAnew)
{
    QPointer<CountingWindow> first = &Show<CountingWindow>();
    ui::Unload<CountingWindow>();
    EXPECT_EQ(Find<CountingWindow>(), nullptr);
    EXPECT_FALSE(first->isVisible());
    settle();
    EXPECT_TRUE(first.isNull());
    auto& second = Show<CountingWindow>();
    EXPECT_EQ(CountingWindow::loads, 2);
    EXPECT_EQ(Find<CountingWindow>(), &second);
}

TEST_F(Services, UnloadInsideTheWindowsOwnHandlerIsSafe)
{
    QPointer<CountingWindow> window = &Show<CountingWindow>();
    QTest::mouseClick(control(*window, "cmdClose"), Qt::LeftButton);
    EXPECT_EQ(Find<CountingWindow>(), nullptr);
    settle();
    EXPECT_TRUE(window.isNull());
}

TEST_F(Services, CloseButtonUnloads)
{
    QPointer<CountingWindow> window = &Show<CountingWindow>();
    window->windowHandle()->close();
    EXPECT_EQ(Find<CountingWindow>(), nullptr);
    settle();
    EXPECT_TRUE(window.isNull());
}

TEST_F(Services, LoadStepThatEndsTheProcessLeavesNoWindow)
{
    EXPECT_THROW(Show<EndingWindow>(), ProcessEnded);
    EXPECT_EQ(Find<EndingWindow>(), nullptr);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_EQ(dynamic_cast<EndingWindow*>(w), nullptr);
}

TEST_F(Services, ToolWindowsAndMessageBoxesCountAsOpenWindows)
{
    EXPECT_FALSE(ui::anyWindowOpen());
    auto& window = Show<CountingWindow>();
    EXPECT_EQ(window.windowType(), Qt::Tool);
    EXPECT_TRUE(ui::anyWindowOpen());
    ui::Unload(window);
    EXPECT_FALSE(ui::anyWindowOpen());
    auto box = ui::makeMessageBox("text", "title");
    box->show();
    EXPECT_TRUE(ui::anyWindowOpen());
}

TEST_F(Services, EventLoopWithoutAnyWindowEndsAtOnce)
{
    EXPECT_EQ(runEventLoopWith({}), 0);
}

// ------------------------------------------------------------------ failures

struct UnhandledCase {
    const char* name;
    std::function<void()> body;
    const char* message;
};

std::ostream& operator<<(std::ostream& os, const UnhandledCase& c)
{
    return os << c.name;
}

class DefaultFailureHandling : public UiTest, public ::testing::WithParamInterface<UnhandledCase>
{
};

TEST_P(DefaultFailureHandling, ReportsNumberAndDescriptionThenEnds)
{
    EXPECT_THROW(ui::handleEvent(GetParam().body), ProcessEnded);
    EXPECT_EQ(host.messages, (std::vector<Message>{{GetParam().message, "qrx2"}}));
    EXPECT_EQ(host.ended, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, DefaultFailureHandling,
    ::testing::Values(
        UnhandledCase{"Failure", [] { throw Failure(err::FileNotFound, "File not found: 3.BMP"); },
                      "Run-time error '53':\n\nFile not found: 3.BMP"},
        UnhandledCase{"OutOfMemory", [] { throw std::bad_alloc(); },
                      "Run-time error '7':\n\nOut of memory"},
        UnhandledCase{"OtherException", [] { throw std::logic_error("broken"); },
                      "Run-time error '5':\n\nbroken"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(Services, HandlerThatSucceedsShowsNothing)
{
    bool ran = false;
    ui::handleEvent([&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.ended, 0);
}

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

void writeBytes(const std::filesystem::path& file, const QByteArray& bytes)
{
    std::ofstream(file, std::ios::binary).write(bytes.constData(), bytes.size());
}

struct PictureFileCase {
    const char* name;
    std::function<void(const std::filesystem::path&)> make; // makes the file "x.BMP"
    int number;                                             // 0: loads
};

std::ostream& operator<<(std::ostream& os, const PictureFileCase& c)
{
    return os << c.name;
}

class PictureFromFile : public UiTest, public ::testing::WithParamInterface<PictureFileCase>
{
};

TEST_P(PictureFromFile, LoadsOrFailsWithNumberAndFileName)
{
    TempDir dir;
    GetParam().make(dir / "x.BMP");
    std::filesystem::current_path(dir.path()); // the name is relative to the current directory
    if (GetParam().number == 0) {
        const QImage picture = ui::loadPicture("x.BMP");
        EXPECT_EQ(picture.size(), QSize(12, 7));
        EXPECT_EQ(picture.pixelColor(3, 3), QColor(Qt::red));
        return;
    }
    try {
        ui::loadPicture("x.BMP");
        FAIL() << "no failure";
    } catch (const Failure& f) {
        EXPECT_EQ(f.number(), GetParam().number);
        EXPECT_THAT(f.description(), ::testing::HasSubstr((dir / "x.BMP").string()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, PictureFromFile,
    ::testing::Values(
        PictureFileCase{"Bitmap",
                        [](const auto& f) {
                            writeBytes(f, pictureBytes(Qt::red, {12, 7}, "BMP"));
                        },
                        0},
        PictureFileCase{"PngUnderABmpName",
                        [](const auto& f) {
                            writeBytes(f, pictureBytes(Qt::red, {12, 7}, "PNG"));
                        },
                        0},
        PictureFileCase{"Missing", [](const auto&) {}, err::FileNotFound},
        PictureFileCase{"Folder", [](const auto& f) { std::filesystem::create_directory(f); },
                        err::PathFileAccess},
        PictureFileCase{"Empty", [](const auto& f) { writeBytes(f, {}); }, err::InvalidPicture},
        PictureFileCase{"NotAPicture", [](const auto& f) { writeBytes(f, "hello, world"); },
                        err::InvalidPicture},
        PictureFileCase{"TruncatedBitmap",
                        [](const auto& f) {
                            writeBytes(f, pictureBytes(Qt::red, {12, 7}, "BMP").left(40));
                        },
                        err::InvalidPicture}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(Services, UnreadablePictureIsPermissionDenied)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser reads every file";
    TempDir dir;
    writeBytes(dir / "x.BMP", pictureBytes(Qt::red, {12, 7}, "BMP"));
    std::filesystem::permissions(dir / "x.BMP", std::filesystem::perms::none);
    std::filesystem::current_path(dir.path());
    try {
        ui::loadPicture("x.BMP");
        FAIL() << "no failure";
    } catch (const Failure& f) {
        EXPECT_EQ(f.number(), err::PermissionDenied);
    }
}

TEST_F(Services, PictureIsReadAnewEveryTime)
{
    TempDir dir;
    std::filesystem::current_path(dir.path());
    writeBytes(dir / "x.BMP", pictureBytes(Qt::red, {12, 7}, "BMP"));
    EXPECT_EQ(ui::loadPicture("x.BMP").pixelColor(0, 0), QColor(Qt::red));
    // Same name, size and (most likely) modification second: only a fresh read sees it.
    writeBytes(dir / "x.BMP", pictureBytes(Qt::blue, {12, 7}, "BMP"));
    EXPECT_EQ(ui::loadPicture("x.BMP").pixelColor(0, 0), QColor(Qt::blue));
    std::filesystem::remove(dir / "x.BMP");
    EXPECT_THROW(ui::loadPicture("x.BMP"), Failure);
}

TEST_F(Services, PictureBoxDrawsAtOwnSizeFromTheInteriorsCornerClipped)
{
    ui::PictureBox box;
    box.resize(50, 40);
    QImage wide(100, 10, QImage::Format_RGB32);
    wide.fill(Qt::red);
    box.setPicture(wide);
    const QPoint corner = box.contentsRect().topLeft();
    EXPECT_EQ(corner, QPoint(2, 2)) << "a two-pixel sunken border";
    const QImage shown = box.grab().toImage();
    EXPECT_EQ(shown.pixelColor(corner), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(box.contentsRect().right(), corner.y() + 9), QColor(Qt::red));
    EXPECT_NE(shown.pixelColor(box.width() - 1, corner.y()), QColor(Qt::red))
        << "clipped at the border";
    EXPECT_NE(shown.pixelColor(corner.x(), corner.y() + 10), QColor(Qt::red)) << "not stretched";
    EXPECT_EQ(box.size(), QSize(50, 40)) << "never resizes itself";
}

TEST_F(Services, PictureFromFileIsOnTheScreenWhenTheCallReturns)
{
    TempDir dir;
    std::filesystem::current_path(dir.path());
    writeBytes(dir / "x.BMP", pictureBytes(Qt::red, {12, 7}, "BMP"));
    QWidget window;
    window.resize(100, 100);
    auto* box = ui::addControl<ui::PictureBox>(window, "box", QRect(10, 10, 60, 60));
    window.show();
    ui::setPictureFromFile(*box, "x.BMP");
    const QImage screen = window.screen()->grabWindow(window.winId()).toImage();
    EXPECT_EQ(screen.pixelColor(box->geometry().topLeft() + box->contentsRect().topLeft()),
              QColor(Qt::red));
}

// ------------------------------------------------------------------ message boxes

class MessageBoxDesign : public UiTest, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(MessageBoxDesign, ModalNoIconOneOkButtonWithoutIcon)
{
    auto box = ui::makeMessageBox("Shamsi.dbf <b>file</b> not found", GetParam());
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

} // namespace

// Not UiTests: the Qt host installed at start-up is in force.
TEST(QtHost, MessageBlocksUntilOkIsPressed)
{
    bool pressed = false;
    QTimer::singleShot(50, qApp, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), "qrx2");
        EXPECT_EQ(box->text(), "Shamsi.dbf file not found");
        pressed = true;
        QTest::keyClick(box, Qt::Key_Return);
    });
    msgBox("Shamsi.dbf file not found");
    EXPECT_TRUE(pressed);
}

TEST(QtHost, EndProcessIsImmediateWithStatusZeroAndRunsNoHandler)
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

} // namespace halvane::test
