// The Win32 backend against the designs it realises, read back through the
// Win32 API: each window's client size, styles, caption and place, and every
// control row's class, container, place, size, text, font and character set,
// visibility and state, the stacking order, the tab order and the focus, the
// default and cancel roles, and pictures shown in a picture box.
#include "tests/support/TempDir.h"
#include "tests/ui/win32/WindowText.h"
#include "ui/forms/frmAbout.h"
#include "ui/forms/frmInstruction.h"
#include "ui/forms/frmRun.h"
#include "ui/forms/frmSplash.h"
#include "ui/win32/Win32Backend.h"
#include "ui/win32/Win32Controls.h"
#include "ui/win32/Win32Style.h"
#include "ui/win32/Win32Window.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

namespace halvane::test
{
namespace
{

using ui::ControlKind;
using ui::WindowDesign;
using ui::win32::Win32Window;

struct NoEvents final : ui::WindowEvents {
    void controlEvent(std::size_t, ui::ControlEvent) override { ++clicks; }
    void closeRequested() override { ++closes; }
    void enterPressed() override {}
    void activated() override {}
    int clicks = 0;
    int closes = 0;
};

struct Case {
    const char* name;
    const WindowDesign& (*design)();
};

const Case kWindows[] = {
    {"frmSplash", &ui::frmSplash::Design},
    {"frmRun", &ui::frmRun::Design},
    {"frmInstruction", &ui::frmInstruction::Design},
    {"frmAbout", &ui::frmAbout::Design},
};

// Where `w` lies in its parent's client area.
RECT placeIn(HWND w)
{
    RECT r;
    GetWindowRect(w, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class Realisation : public ::testing::TestWithParam<Case>
{
protected:
    ui::win32::Win32Backend backend;
    NoEvents events;
};

TEST_P(Realisation, WindowAsDesigned)
{
    const WindowDesign& design = GetParam().design();
    Win32Window window(design, events);
    HWND w = window.handle();
    const int dpi = window.dpi();
    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, ui::win32::pixels(design.client.width, dpi));
    EXPECT_EQ(client.bottom, ui::win32::pixels(design.client.height, dpi));

    const LONG style = GetWindowLongW(w, GWL_STYLE);
    const LONG ex = GetWindowLongW(w, GWL_EXSTYLE);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) << "fixed, no buttons";
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW) << "off the task bar";
    EXPECT_FALSE(ex & WS_EX_APPWINDOW);
    if (design.kind == ui::WindowKind::ToolWindow) {
        EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
        EXPECT_TRUE(style & WS_SYSMENU) << "the close button";
        EXPECT_EQ(utf8(textOf(w)), design.caption);
    } else {
        EXPECT_NE(style & WS_CAPTION, WS_CAPTION) << "no title bar";
        EXPECT_EQ(textOf(w), L"");
    }

    RECT outer;
    GetWindowRect(w, &outer);
    POINT origin{0, 0};
    ClientToScreen(w, &origin);
    switch (design.placement) {
    case ui::Placement::CentredOnScreen:
        EXPECT_NEAR(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2,
                    1);
        EXPECT_NEAR(outer.top, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2, 1);
        break;
    case ui::Placement::FixedClientPosition:
        EXPECT_EQ(origin.x, ui::win32::pixels(design.position.x, dpi));
        EXPECT_EQ(origin.y, ui::win32::pixels(design.position.y, dpi));
        break;
    case ui::Placement::SystemDefault:
        break;
    }
}

TEST_P(Realisation, EveryControlRowAsDesigned)
{
    const WindowDesign& design = GetParam().design();
    Win32Window window(design, events);
    const int dpi = window.dpi();
    for (std::size_t i = 0; i < design.controls.size(); ++i) {
        const ui::ControlDesign& row = design.controls[i];
        SCOPED_TRACE(std::string(row.name) +
                     (row.index == ui::kNoIndex ? "" : std::to_string(row.index)));
        HWND c = window.control(i);
        if (row.kind == ControlKind::DataControl) {
            EXPECT_EQ(c, nullptr);
            continue;
        }
        ASSERT_NE(c, nullptr);
        const wchar_t* own = ui::win32::controlClass(row.kind);
        EXPECT_EQ(classOf(c), own                                   ? own
                              : row.kind == ControlKind::PushButton ? L"Button"
                                                                    : L"Static");
        EXPECT_EQ(GetParent(c), row.parent.empty() ? window.handle()
                                                   : window.control(design.indexOf(row.parent)));
        if (row.kind != ControlKind::Line) {
            const RECT want = ui::win32::pixelRect(row.place, dpi);
            const RECT got = placeIn(c);
            EXPECT_EQ(got.left, want.left);
            EXPECT_EQ(got.top, want.top);
            EXPECT_EQ(got.right - got.left, want.right - want.left);
            EXPECT_EQ(got.bottom - got.top, want.bottom - want.top);
        }
        if (row.kind == ControlKind::PushButton || row.kind == ControlKind::Label) {
            EXPECT_EQ(utf8(textOf(c)), row.text);
        }
        const LONG style = GetWindowLongW(c, GWL_STYLE);
        EXPECT_EQ((style & WS_VISIBLE) != 0, row.visible);
        EXPECT_EQ((style & WS_DISABLED) == 0, row.enabled);
        if (row.kind == ControlKind::PushButton) {
            EXPECT_EQ(style & 0x0F, row.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        }
        if (row.kind == ControlKind::PictureBox) {
            EXPECT_TRUE(GetWindowLongW(c, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) << "sunken";
        }
        if (!row.picture.empty()) {
            EXPECT_NE(shownBitmap(c), nullptr) << "the picture stored with the design";
        }

        const ui::Font font = row.font.value_or(design.font);
        LOGFONTW lf{};
        ASSERT_TRUE(
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)), sizeof lf, &lf));
        EXPECT_EQ(utf8(lf.lfFaceName), font.family);
        EXPECT_EQ(lf.lfCharSet, ui::kArabicCharset);
        EXPECT_EQ(lf.lfWeight, font.bold ? FW_BOLD : FW_NORMAL);
        EXPECT_EQ(lf.lfHeight, -MulDiv(int(font.points * 100 + 0.5), dpi, 7200));
    }
}

TEST_P(Realisation, SiblingsStackAsDesigned)
{
    const WindowDesign& design = GetParam().design();
    Win32Window window(design, events);
    // Topmost first, container by container, as the design lists them.
    std::vector<HWND> windows{window.handle()};
    for (std::size_t i = 0; i < design.controls.size(); ++i)
        if (window.control(i))
            windows.push_back(window.control(i));
    for (HWND container : windows) {
        std::vector<HWND> designed;
        for (std::size_t i = 0; i < design.controls.size(); ++i)
            if (window.control(i) && GetParent(window.control(i)) == container)
                designed.push_back(window.control(i));
        std::vector<HWND> stacked;
        for (HWND c = GetWindow(container, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            stacked.push_back(c);
        EXPECT_EQ(stacked, designed);
    }
}

TEST_P(Realisation, TabWalksTheDesignedOrder)
{
    const WindowDesign& design = GetParam().design();
    Win32Window window(design, events);
    window.show();
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < design.controls.size(); ++i) {
        const auto& row = design.controls[i];
        if (row.tabIndex != ui::kNoTabIndex && row.visible && row.enabled &&
            (row.kind == ControlKind::PushButton || row.kind == ControlKind::PictureBox))
            order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](auto a, auto b) {
        return design.controls[a].tabIndex < design.controls[b].tabIndex;
    });
    ASSERT_FALSE(order.empty());
    if (GetActiveWindow() != window.handle())
        GTEST_SKIP() << "the window system did not make the window active";
    EXPECT_EQ(GetFocus(), window.control(order[0])) << "the focus when the window opens";
    for (std::size_t k = 1; k <= order.size(); ++k) {
        window.tab(true);
        EXPECT_EQ(GetFocus(), window.control(order[k % order.size()])) << "Tab " << k;
    }
    window.tab(false);
    EXPECT_EQ(GetFocus(), window.control(order.back())) << "Shift+Tab from the first";
}

INSTANTIATE_TEST_SUITE_P(Windows, Realisation, ::testing::ValuesIn(kWindows),
                         [](const auto& p) { return std::string(p.param.name); });

class Pictures : public ::testing::Test
{
protected:
    ui::win32::Win32Backend backend;
    NoEvents events;
};

TEST_F(Pictures, APictureBoxShowsAFileAtItsOwnSizeOrKeepsItsPicture)
{
    const WindowDesign& design = ui::frmRun::Design();
    Win32Window window(design, events);
    const std::size_t box = design.indexOf("picRun");
    std::string why;
    const std::string wait = readFile(std::filesystem::path(HALVANE_PROGRAM_DIR) / "wait.BMP");
    ASSERT_TRUE(window.setPicture(box, wait, why)) << why;
    const HBITMAP shown = shownBitmap(window.control(box));
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(bitmapSize(shown).cx, 169);
    EXPECT_EQ(bitmapSize(shown).cy, 89);

    EXPECT_FALSE(window.setPicture(box, "BM not a picture", why));
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(shownBitmap(window.control(box)), shown) << "the box keeps its picture";
    EXPECT_FALSE(window.setPicture(design.indexOf("cmdRun"), wait, why)) << "not a picture box";
}

// A 24-bit BMP file of `width` x `height` pixels in four solid quarters.
constexpr COLORREF kQuarters[4] = {RGB(200, 30, 30), RGB(30, 160, 40), RGB(20, 40, 210),
                                   RGB(240, 220, 20)};
std::string quartersBmp(int width, int height)
{
    const int stride = (width * 3 + 3) & ~3;
    std::string bmp(std::size_t(54 + stride * height), '\0');
    auto put = [&](std::size_t at, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            bmp[at + std::size_t(i)] = char((v >> (8 * i)) & 0xFF);
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, std::uint32_t(bmp.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, std::uint32_t(width), 4);
    put(22, std::uint32_t(height), 4); // bottom-up
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int row = height - 1 - y;
            const COLORREF c = kQuarters[(y >= height / 2) * 2 + (x >= width / 2)];
            const std::size_t at = std::size_t(54 + row * stride + x * 3);
            bmp[at] = char(GetBValue(c));
            bmp[at + 1] = char(GetGValue(c));
            bmp[at + 2] = char(GetRValue(c));
        }
    return bmp;
}

bool similar(COLORREF a, COLORREF b, int tolerance)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// A picture box draws its picture at the picture's own size in design
// pixels: scaled by the screen's DPI / 96, so that it fills at 120 and 144
// DPI what it fills at 96, where it is copied pixel for pixel.
TEST_F(Pictures, APictureBoxScalesItsPictureByTheScreensDpi)
{
    const WindowDesign& design = ui::frmInstruction::Design();
    Win32Window window(design, events);
    window.show();
    const std::size_t box = design.indexOf("Picture1");
    std::string why;
    constexpr int kWidth = 80, kHeight = 60;
    ASSERT_TRUE(window.setPicture(box, quartersBmp(kWidth, kHeight), why)) << why;
    HWND control = window.control(box);
    const int dpi = window.dpi();
    RecordProperty("dpi", dpi);
    HDC dc = GetDC(control);
    const int width = MulDiv(kWidth, dpi, 96), height = MulDiv(kHeight, dpi, 96);
    if (dpi == 96) {
        int wrong = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                wrong +=
                    GetPixel(dc, x, y) != kQuarters[(y >= kHeight / 2) * 2 + (x >= kWidth / 2)];
        EXPECT_EQ(wrong, 0) << "pixel for pixel at 96 DPI";
    }
    // The middle of each quarter, where it is drawn at this DPI, and the
    // box's own colour past the picture's scaled size.
    for (int q = 0; q < 4; ++q) {
        const int x = width / 4 + (q % 2) * width / 2, y = height / 4 + (q / 2) * height / 2;
        EXPECT_TRUE(similar(GetPixel(dc, x, y), kQuarters[q], 8))
            << "quarter " << q << " at " << x << "," << y << " (" << dpi << " DPI)";
    }
    const COLORREF past = GetPixel(dc, width + 2, height / 4);
    for (const COLORREF quarter : kQuarters)
        EXPECT_FALSE(similar(past, quarter, 8)) << "the picture ends at " << width << " pixels";
    EXPECT_TRUE(similar(GetPixel(dc, width - 2, height - 2), kQuarters[3], 24))
        << "it reaches there";
    ReleaseDC(control, dc);
}

// The main window's click area lies over the button drawn in its picture at
// every DPI: the drawing under it is the picture's own, at the same spot in
// the picture's pixels (3 x 3 pixels averaged, against scaling's blur).
TEST_F(Pictures, TheInstructionClickAreaLiesOverItsDrawing)
{
    const WindowDesign& design = ui::frmRun::Design();
    Win32Window window(design, events);
    window.show();
    window.repaint();
    HWND box = window.control(design.indexOf("picRun"));
    HWND area = window.control(design.indexOf("imgInstr"));
    const HBITMAP picture = shownBitmap(box);
    ASSERT_NE(picture, nullptr);
    const SIZE size = bitmapSize(picture);
    const int dpi = window.dpi();
    RecordProperty("dpi", dpi);
    RECT r;
    GetWindowRect(area, &r);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_LE(r.right, MulDiv(size.cx, dpi, 96)) << "inside the drawn picture";
    EXPECT_LE(r.bottom, MulDiv(size.cy, dpi, 96));

    DIBSECTION section{};
    GetObjectW(picture, sizeof section, &section);
    const auto* bits = static_cast<const std::uint8_t*>(section.dsBm.bmBits);
    HDC dc = GetDC(box);
    auto average = [](auto pixel) {
        int sum[3] = {};
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const COLORREF c = pixel(dx, dy);
                sum[0] += GetRValue(c), sum[1] += GetGValue(c), sum[2] += GetBValue(c);
            }
        return RGB(sum[0] / 9, sum[1] / 9, sum[2] / 9);
    };
    int compared = 0;
    for (const double fx : {0.25, 0.5, 0.75})
        for (const double fy : {0.3, 0.7}) {
            const int x = r.left + int((r.right - r.left) * fx);
            const int y = r.top + int((r.bottom - r.top) * fy);
            const int px = MulDiv(x, 96, dpi), py = MulDiv(y, 96, dpi);
            const COLORREF drawn = average([&](int dx, int dy) {
                return GetPixel(dc, x + MulDiv(dx, dpi, 96), y + MulDiv(dy, dpi, 96));
            });
            const COLORREF own = average([&](int dx, int dy) {
                const std::uint8_t* p =
                    bits + (std::size_t(py + dy) * std::size_t(size.cx) + std::size_t(px + dx)) * 4;
                return RGB(p[2], p[1], p[0]);
            });
            EXPECT_TRUE(similar(drawn, own, 48))
                << "at " << x << "," << y << " (" << dpi << " DPI)";
            ++compared;
        }
    EXPECT_EQ(compared, 6);
    ReleaseDC(box, dc);
}

TEST_F(Pictures, KeyRolesAnswerTheDialogManager)
{
    const WindowDesign& design = ui::frmAbout::Design();
    Win32Window window(design, events);
    const LRESULT id = SendMessageW(window.handle(), DM_GETDEFID, 0, 0);
    EXPECT_EQ(HIWORD(id), DC_HASDEFID);
    EXPECT_EQ(LOWORD(id), ui::win32::kFirstControlId + int(design.indexOf("cmdOK")));
    SendMessageW(window.handle(), WM_COMMAND, IDCANCEL, 0); // Escape
    EXPECT_EQ(events.clicks, 1) << "the cancel button pressed";
    SendMessageW(window.handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(events.closes, 1) << "a close request is reported, not carried out";
    EXPECT_TRUE(IsWindow(window.handle()));
}

TEST_F(Pictures, EveryClickOfADoubleClickPressesTheButton)
{
    const WindowDesign& design = ui::frmInstruction::Design();
    Win32Window window(design, events);
    HWND visual = window.control(design.indexOf("cmdVisual"));
    const LPARAM inside = MAKELPARAM(5, 5);
    for (UINT press : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}) {
        SendMessageW(visual, press, MK_LBUTTON, inside);
        SendMessageW(visual, WM_LBUTTONUP, 0, inside);
    }
    EXPECT_EQ(events.clicks, 2);
}

} // namespace
} // namespace halvane::test
