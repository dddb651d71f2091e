// The instruction viewer: its design, the tour's pages and button states,
// reopening, the program's directory, and a page picture that cannot be
// loaded.
#include "tests/ui/UiTest.h"
#include "ui/Design.h"
#include "ui/PictureBox.h"
#include "ui/frmInstruction.h"

#include <QPushButton>
#include <QTest>
#include <fstream>

namespace halvane::test
{
namespace
{

namespace fs = std::filesystem;
using ui::frmInstruction;
using ui::twipsRect;

// A page picture: a plain colour of its own per page, so a test can tell
// which page is shown.
QColor pageColour(int page)
{
    return QColor(page * 16, 255 - page * 16, 128);
}

class InstructionViewerTest : public UiTest
{
protected:
    InstructionViewerTest()
    {
        for (int page = 1; page <= frmInstruction::kPageCount; ++page)
            writePage(page);
        usePreparedProgramDirectory();
    }

    void writePage(int page) const
    {
        QImage picture(397, 425, QImage::Format_RGB32);
        picture.fill(pageColour(page));
        picture.save(QString::fromStdString((programDir() / pageName(page)).string()), "BMP");
    }
    static std::string pageName(int page) { return std::to_string(page) + ".BMP"; }

    frmInstruction& open()
    {
        m_viewer = &ui::Show<frmInstruction>();
        return *m_viewer;
    }
    QPushButton* button(const char* name) { return control<QPushButton>(*m_viewer, name); }
    void press(const char* name) { button(name)->click(); }
    ui::PictureBox& picture() { return *control<ui::PictureBox>(*m_viewer, "Picture1"); }
    // The page whose picture Picture1 holds; 0 for any other picture.
    int pageShown()
    {
        const QImage& shown = picture().picture();
        for (int page = 1; page <= frmInstruction::kPageCount; ++page)
            if (!shown.isNull() && shown.pixelColor(0, 0) == pageColour(page))
                return page;
        return 0;
    }
    // "<<Prev" and "Next>>": shown and enabled as expected.
    void expectSteps(bool prevEnabled, bool nextEnabled)
    {
        EXPECT_TRUE(button("cmdPrev")->isVisible());
        EXPECT_TRUE(button("cmdNext")->isVisible());
        EXPECT_EQ(button("cmdPrev")->isEnabled(), prevEnabled);
        EXPECT_EQ(button("cmdNext")->isEnabled(), nextEnabled);
    }
    // The state the viewer opens in: the design page, only "Visual Tour" and
    // "Close".
    void expectDesignState()
    {
        EXPECT_EQ(picture().picture().size(), QSize(397, 427));
        EXPECT_EQ(picture().picture(), QImage(QStringLiteral(":/art/instruction_page.png")));
        EXPECT_FALSE(button("cmdPrev")->isVisibleTo(m_viewer));
        EXPECT_FALSE(button("cmdPrev")->isEnabled());
        EXPECT_FALSE(button("cmdNext")->isVisibleTo(m_viewer));
        EXPECT_TRUE(button("cmdNext")->isEnabled());
        EXPECT_TRUE(button("cmdVisual")->isVisible());
        EXPECT_TRUE(button("cmdOK")->isVisible());
    }

private:
    frmInstruction* m_viewer = nullptr;
};

// ------------------------------------------------------------------ design

TEST_F(InstructionViewerTest, WindowAsDesigned)
{
    frmInstruction& w = open();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Instruction"));
    EXPECT_EQ(w.size(), QSize(408, 461));
    EXPECT_EQ(w.minimumSize(), w.maximumSize()) << "not resizable";
    EXPECT_EQ(w.windowType(), Qt::Tool) << "no task-bar entry";
    EXPECT_EQ(w.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint),
              Qt::WindowFlags());
    EXPECT_TRUE(w.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(w.testAttribute(Qt::WA_Moved)) << "placed where the window system puts it";
    EXPECT_FALSE(w.windowIcon().isNull());
    EXPECT_EQ(w.font().family(), QStringLiteral("Tahoma"));
    EXPECT_DOUBLE_EQ(w.font().pointSizeF(), 8.25);
    EXPECT_EQ(w.property(ui::kCharsetProperty).toInt(), ui::kArabicCharset);
}

struct ButtonRow {
    const char* name;
    const char* text;
    QRect place;
};

TEST_F(InstructionViewerTest, ControlsAsDesigned)
{
    frmInstruction& w = open();
    const ButtonRow rows[] = {
        {"cmdPrev", "<<Prev", twipsRect(360, 6600, 855, 255)},
        {"cmdNext", "Next>>", twipsRect(1320, 6600, 855, 255)},
        {"cmdVisual", "Visual Tour", twipsRect(3720, 6600, 1095, 255)},
        {"cmdOK", "Close", twipsRect(4920, 6600, 1095, 255)},
    };
    for (const ButtonRow& row : rows) {
        SCOPED_TRACE(row.name);
        QPushButton* b = button(row.name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), QString::fromLatin1(row.text));
        EXPECT_EQ(b->geometry(), row.place);
        EXPECT_EQ(b->font().family(), QStringLiteral("Tahoma"));
        EXPECT_DOUBLE_EQ(b->font().pointSizeF(), 6.75);
        EXPECT_EQ(b->property(ui::kCharsetProperty).toInt(), ui::kArabicCharset);
        EXPECT_TRUE(QKeySequence::mnemonic(b->text()).isEmpty());
    }
    EXPECT_EQ(picture().geometry(), twipsRect(0, 120, 6015, 6375));

    // Topmost first in the design; Qt draws later siblings over earlier ones.
    QStringList topToBottom;
    for (QObject* child : w.children())
        if (child->isWidgetType())
            topToBottom.prepend(child->objectName());
    EXPECT_EQ(topToBottom, (QStringList{"cmdPrev", "cmdNext", "cmdVisual", "cmdOK", "Picture1"}));

    QStringList tabOrder{"Picture1"};
    for (QWidget* next = picture().nextInFocusChain(); next != &picture();
         next = next->nextInFocusChain())
        if (next->parentWidget() == &w)
            tabOrder.append(next->objectName());
    EXPECT_EQ(tabOrder, (QStringList{"Picture1", "cmdOK", "cmdVisual", "cmdNext", "cmdPrev"}));
    EXPECT_EQ(w.focusWidget(), &picture()) << "the picture box is first in the tab order";
}

TEST_F(InstructionViewerTest, OpensWithTheDesignPage)
{
    open();
    expectDesignState();
}

TEST_F(InstructionViewerTest, DesignPageDrawnAtItsSizeFromTheTopLeftAndClipped)
{
    open();
    const QImage shown = picture().grab().toImage();
    const QRect inside = picture().contentsRect();
    const QImage& page = picture().picture();
    EXPECT_EQ(shown.pixelColor(inside.topLeft()), page.pixelColor(0, 0));
    // The box's interior is 397 pixels wide: the page's right edge just fits.
    EXPECT_EQ(shown.pixelColor(inside.left() + inside.width() - 1, inside.top() + 100),
              page.pixelColor(inside.width() - 1, 100));
}

// ------------------------------------------------------------------ tour

TEST_F(InstructionViewerTest, TourStepsThroughEveryPageBothWays)
{
    open();
    press("cmdVisual");
    EXPECT_EQ(pageShown(), 1);
    expectSteps(false, true);

    for (int page = 2; page <= 15; ++page) {
        SCOPED_TRACE(page);
        press("cmdNext");
        EXPECT_EQ(pageShown(), page);
        EXPECT_EQ(static_cast<frmInstruction*>(button("cmdNext")->window())->page(), page);
        expectSteps(true, page < 15);
    }
    for (int page = 14; page >= 1; --page) {
        SCOPED_TRACE(page);
        press("cmdPrev");
        EXPECT_EQ(pageShown(), page);
        expectSteps(page > 1, true);
    }
}

class VisualTourRestarts : public InstructionViewerTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(VisualTourRestarts, AtPageOne)
{
    open();
    press("cmdVisual");
    for (int page = 1; page < GetParam(); ++page)
        press("cmdNext");
    ASSERT_EQ(pageShown(), GetParam());

    press("cmdVisual");
    EXPECT_EQ(pageShown(), 1);
    expectSteps(false, true);
    press("cmdNext");
    EXPECT_EQ(pageShown(), 2);
}

INSTANTIATE_TEST_SUITE_P(FromPage, VisualTourRestarts, ::testing::Values(15, 7, 1));

TEST_F(InstructionViewerTest, EscapePressesPrevOnlyWhileItCan)
{
    frmInstruction& w = open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&picture(), Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible()) << "Escape closes nothing";

    press("cmdVisual");
    press("cmdNext");
    press("cmdNext");
    QTest::keyClick(w.focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(pageShown(), 2);
    QTest::keyClick(w.focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(pageShown(), 1);
    QTest::keyClick(w.focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(pageShown(), 1) << "\"<<Prev\" is disabled on page 1";
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(InstructionViewerTest, EnterPressesTheFocusedButton)
{
    frmInstruction& w = open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    press("cmdVisual");
    button("cmdNext")->setFocus();
    QTest::keyClick(button("cmdNext"), Qt::Key_Return);
    QTest::keyClick(button("cmdNext"), Qt::Key_Return);
    EXPECT_EQ(pageShown(), 3);
    picture().setFocus();
    QTest::keyClick(&picture(), Qt::Key_Return);
    EXPECT_EQ(pageShown(), 3) << "no default button";
}

// ------------------------------------------------------------------ life of the window

TEST_F(InstructionViewerTest, CloseAndReopenGivesTheDesignState)
{
    open();
    press("cmdVisual");
    press("cmdNext");
    press("cmdOK");
    settle();
    EXPECT_EQ(ui::Find<frmInstruction>(), nullptr);
    EXPECT_TRUE(shownWindows<frmInstruction>().empty());

    open();
    expectDesignState();
}

TEST_F(InstructionViewerTest, TitleBarCloseAlsoUnloads)
{
    frmInstruction& w = open();
    press("cmdVisual");
    w.close();
    settle();
    EXPECT_EQ(ui::Find<frmInstruction>(), nullptr);
    open();
    expectDesignState();
}

TEST_F(InstructionViewerTest, OpenedTwiceIsOneWindow)
{
    frmInstruction& first = open();
    press("cmdVisual");
    press("cmdNext");
    frmInstruction& second = open();
    EXPECT_EQ(&first, &second);
    EXPECT_EQ(shownWindows<frmInstruction>().size(), 1u);
    EXPECT_EQ(pageShown(), 2) << "brought to the front as it was";
}

TEST_F(InstructionViewerTest, TourFindsItsPagesFromAnotherDirectory)
{
    TempDir elsewhere;
    fs::current_path(elsewhere.path());
    open();
    press("cmdVisual");
    EXPECT_EQ(pageShown(), 1);
    EXPECT_EQ(fs::current_path(), fs::canonical(programDir()));
    press("cmdNext");
    EXPECT_EQ(pageShown(), 2);
    EXPECT_TRUE(host.messages.empty());
}

// ------------------------------------------------------------------ failures

// A page that cannot be loaded: which button, the page it turns to, what is
// wrong with the file, and the failure number reported.
struct BrokenPage {
    const char* name;
    int from; // the page shown before the press (0: before the tour)
    void (frmInstruction::*handler)();
    int broken;       // the page that cannot be loaded
    bool notAPicture; // false: the file is missing
    int number;
};

void PrintTo(const BrokenPage& c, std::ostream* os)
{
    *os << c.name;
}

class BrokenPageTest : public InstructionViewerTest,
                       public ::testing::WithParamInterface<BrokenPage>
{
};

TEST_P(BrokenPageTest, EndsWithNumberAndDescriptionAfterThePageChanged)
{
    const BrokenPage& c = GetParam();
    frmInstruction& w = open();
    if (c.from > 0) {
        press("cmdVisual");
        while (w.page() < c.from)
            press("cmdNext");
    }
    const fs::path file = programDir() / pageName(c.broken);
    fs::remove(file);
    if (c.notAPicture)
        std::ofstream(file) << "not a picture";

    // As a click runs it: without a failure handler of its own, through the
    // default handling.
    EXPECT_THROW(ui::handleEvent([&] { (w.*c.handler)(); }), ProcessEnded);

    EXPECT_EQ(host.ended, 1);
    ASSERT_EQ(host.messages.size(), 1u);
    const std::string& text = host.messages[0].text;
    EXPECT_EQ(text.rfind("Run-time error '" + std::to_string(c.number) + "':\n\n", 0), 0u) << text;
    EXPECT_NE(text.find(file.string()), std::string::npos) << "the description names the file";
    EXPECT_EQ(host.messages[0].title, "qrx2");

    // The page number, and the opposite button, changed before the load.
    EXPECT_EQ(w.page(), c.broken);
    if (c.handler == &frmInstruction::cmdNext_Click) {
        EXPECT_TRUE(button("cmdPrev")->isEnabled());
    }
    if (c.handler == &frmInstruction::cmdPrev_Click) {
        EXPECT_TRUE(button("cmdNext")->isEnabled());
    }
    if (c.handler == &frmInstruction::cmdVisual_Click) {
        EXPECT_FALSE(button("cmdNext")->isVisibleTo(&w)) << "the steps after the load never ran";
    }
}

const BrokenPage kBrokenPages[] = {
    {"VisualTourWithoutPageOne", 0, &frmInstruction::cmdVisual_Click, 1, false, 53},
    {"NextToAMissingPage", 4, &frmInstruction::cmdNext_Click, 5, false, 53},
    {"NextToALastPageThatIsNoPicture", 14, &frmInstruction::cmdNext_Click, 15, true, 481},
    {"PrevToAMissingPage", 6, &frmInstruction::cmdPrev_Click, 5, false, 53},
    {"PrevToAFirstPageThatIsNoPicture", 2, &frmInstruction::cmdPrev_Click, 1, true, 481},
};

INSTANTIATE_TEST_SUITE_P(Pages, BrokenPageTest, ::testing::ValuesIn(kBrokenPages),
                         [](const auto& test) { return std::string(test.param.name); });

} // namespace
} // namespace halvane::test
