// The four windows' pictures as the screen shows them, read back from the
// screen and compared with the pictures' own pixels. A picture box draws its
// picture at the picture's size in design pixels, from its top-left: its own
// pixels times DPI / 96. A stretched picture fills its control. Of the screen
// pixels it is drawn on, at most 2 % may differ from the picture's pixels
// they cover by more than the scaling filter's blur; at 96 DPI a picture box
// shows its picture pixel for pixel. ui_win32_tests runs this at 96 DPI,
// ui_win32_tests_144dpi at 144 (150 %).
#include "tests/support/TempDir.h"
#include "ui/forms/frmAbout.h"
#include "ui/forms/frmInstruction.h"
#include "ui/forms/frmRun.h"
#include "ui/forms/frmSplash.h"
#include "ui/win32/Win32Backend.h"
#include "ui/win32/Win32Picture.h"
#include "ui/win32/Win32Window.h"

#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace halvane
{
namespace
{

using ui::ControlKind;
using ui::WindowDesign;
using ui::win32::Picture;
using ui::win32::Win32Window;

struct NoEvents final : ui::WindowEvents {
    void controlEvent(std::size_t, ui::ControlEvent) override {}
    void closeRequested() override {}
    void enterPressed() override {}
    void activated() override {}
};

// Top-down 32-bit pixels, blue-green-red-alpha.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> bgra;
    std::uint32_t at(int x, int y) const { return bgra[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
};

Pixels pixelsOf(const Picture& picture)
{
    Pixels p{picture.size().cx, picture.size().cy, {}};
    DIBSECTION section{};
    GetObjectW(picture.bitmap(), sizeof section, &section);
    const auto* bits = static_cast<const std::uint32_t*>(section.dsBm.bmBits);
    p.bgra.assign(bits, bits + std::size_t(p.width) * std::size_t(p.height));
    return p;
}

// What the screen shows of `control`'s client area.
Pixels screenOf(HWND control)
{
    RECT client;
    GetClientRect(control, &client);
    Pixels p{client.right, client.bottom, {}};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = p.width;
    info.bmiHeader.biHeight = -p.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC screen = GetDC(control);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, p.width, p.height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    p.bgra.assign(first, first + std::size_t(p.width) * std::size_t(p.height));
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(control, screen);
    DeleteObject(bitmap);
    return p;
}

struct Comparison {
    long compared = 0;
    long differing = 0;
    double share() const { return compared ? double(differing) / double(compared) : 1.0; }
};

// Each screen pixel where `picture` is drawn `drawnWidth` x `drawnHeight`
// from the control's top-left, against the picture's pixels it covers (the
// one under its centre where the picture is enlarged) and, unless `exact`,
// their neighbours: a scaling filter gives each screen pixel a blend of
// those, so every channel lies within their range, give or take
// `tolerance`. Pixels outside the control, those near a pixel of the
// picture that is not opaque and those `covered` by other controls are not
// compared.
Comparison compare(const Pixels& picture, const Pixels& screen, int drawnWidth, int drawnHeight,
                   bool exact, int tolerance, const std::vector<RECT>& covered = {})
{
    Comparison c;
    auto from = [](int at, int drawn, int own) { return int(std::int64_t(at) * own / drawn); };
    // Where the picture is made smaller, a screen pixel covers several of
    // its pixels, and a filter may reach half as far again.
    const int reachX = exact ? 0 : std::max(1, picture.width / drawnWidth / 2 + 1);
    const int reachY = exact ? 0 : std::max(1, picture.height / drawnHeight / 2 + 1);
    // Every other screen pixel in each direction: a picture drawn at the
    // wrong size or place differs nearly everywhere.
    const int step = exact ? 1 : 2;
    for (int sy = 0; sy < std::min(drawnHeight, screen.height); sy += step)
        for (int sx = 0; sx < std::min(drawnWidth, screen.width); sx += step) {
            const int x0 = from(sx, drawnWidth, picture.width);
            const int y0 = from(sy, drawnHeight, picture.height);
            const int x1 = std::max(x0 + 1, from(sx + 1, drawnWidth, picture.width));
            const int y1 = std::max(y0 + 1, from(sy + 1, drawnHeight, picture.height));
            int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
            bool opaque = true;
            for (int y = std::max(0, y0 - reachY); y < std::min(picture.height, y1 + reachY); ++y)
                for (int x = std::max(0, x0 - reachX); x < std::min(picture.width, x1 + reachX);
                     ++x) {
                    const std::uint32_t own = picture.at(x, y);
                    opaque = opaque && (own >> 24) == 0xFF;
                    for (int k = 0; k < 3; ++k) {
                        const int v = int((own >> (8 * k)) & 0xFF);
                        low[k] = std::min(low[k], v);
                        high[k] = std::max(high[k], v);
                    }
                }
            const POINT at{sx, sy};
            if (!opaque || std::any_of(covered.begin(), covered.end(),
                                       [&](const RECT& r) { return PtInRect(&r, at); }))
                continue;
            const std::uint32_t shown = screen.at(sx, sy);
            bool within = true;
            for (int k = 0; k < 3; ++k) {
                const int v = int((shown >> (8 * k)) & 0xFF);
                within = within && v >= low[k] - tolerance && v <= high[k] + tolerance;
            }
            ++c.compared;
            c.differing += !within;
        }
    return c;
}

// How far a pixel drawn through the scaling filter may stray outside the
// range of the pixels it blends (rounding, and a filter's slight overshoot).
constexpr int kBlur = 12;
// A stretched picture is made several times smaller: the filter's blend of
// a dozen pixels strays further.
constexpr int kShrunkBlur = 32;
constexpr double kMostDiffering = 0.02;

// Where the other visible controls of `window` lie over `control`, in its
// client coordinates: the labels and buttons drawn on a picture.
std::vector<RECT> coveredBySiblings(const Win32Window& window, HWND control)
{
    std::vector<RECT> covered;
    for (std::size_t j = 0; j < window.design().controls.size(); ++j) {
        HWND other = window.control(j);
        if (other == control || IsChild(other, control) || !IsWindowVisible(other))
            continue;
        RECT r;
        GetWindowRect(other, &r);
        MapWindowPoints(nullptr, control, reinterpret_cast<POINT*>(&r), 2);
        covered.push_back(r);
    }
    return covered;
}

void pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

class ScaledPictures : public ::testing::Test
{
protected:
    ui::win32::Win32Backend backend;
    NoEvents events;

    // The picture box `name` of `design` showing `picture`, read back.
    void expectBoxShows(Win32Window& window, std::string_view name, const Picture& picture,
                        const std::string& what)
    {
        HWND box = window.control(window.design().indexOf(name));
        window.repaint();
        pump();
        const Pixels own = pixelsOf(picture);
        const Pixels shown = screenOf(box);
        const int dpi = window.dpi();
        const Comparison c = compare(own, shown, MulDiv(own.width, dpi, 96),
                                     MulDiv(own.height, dpi, 96), dpi == 96, dpi == 96 ? 0 : kBlur);
        EXPECT_GT(c.compared, long(shown.width) * shown.height / 16) << what << ": it fills the box";
        if (dpi == 96)
            EXPECT_EQ(c.differing, 0) << what << ": pixel for pixel at 96 DPI";
        else
            EXPECT_LE(c.share(), kMostDiffering)
                << what << ": " << c.differing << " of " << c.compared << " pixels differ at "
                << dpi << " DPI";
    }
};

// The main window's picture, its wait and success pictures, and the
// fifteen pages of the tour.
TEST_F(ScaledPictures, PictureBoxesDrawTheirPicturesAtTheirDesignSize)
{
    struct Box {
        const WindowDesign& (*design)();
        std::string_view name;
        std::vector<std::string> files;
    };
    std::vector<std::string> pages;
    for (int page = 1; page <= 15; ++page)
        pages.push_back(std::to_string(page) + ".BMP");
    const Box boxes[] = {
        {&ui::frmRun::Design, "picRun", {"wait.BMP", "success.BMP"}},
        {&ui::frmInstruction::Design, "Picture1", pages},
    };
    for (const Box& b : boxes) {
        const WindowDesign& design = b.design();
        Win32Window window(design, events);
        window.show();
        RecordProperty("dpi", window.dpi());
        const std::size_t index = design.indexOf(b.name);
        const auto stored = ui::win32::designPicture(design.controls[index].picture);
        ASSERT_NE(stored, nullptr) << b.name;
        expectBoxShows(window, b.name, *stored, std::string(b.name) + "'s own picture");
        for (const std::string& file : b.files) {
            const std::string bytes = test::readFile(std::filesystem::path(HALVANE_PROGRAM_DIR) / file);
            std::string why;
            const auto picture = ui::win32::decodePicture(bytes, why);
            ASSERT_NE(picture, nullptr) << file << ": " << why;
            ASSERT_TRUE(window.setPicture(index, bytes, why)) << file << ": " << why;
            expectBoxShows(window, b.name, *picture, file);
        }
    }
}

// The splash and About windows' pictures fill their controls at every DPI.
TEST_F(ScaledPictures, StretchedPicturesFillTheirControls)
{
    for (const WindowDesign* design : {&ui::frmSplash::Design(), &ui::frmAbout::Design()}) {
        Win32Window window(*design, events);
        window.show();
        window.repaint();
        pump();
        for (std::size_t i = 0; i < design->controls.size(); ++i) {
            if (design->controls[i].kind != ControlKind::StretchedPicture)
                continue;
            const auto stored = ui::win32::designPicture(design->controls[i].picture);
            ASSERT_NE(stored, nullptr) << design->controls[i].name;
            const Pixels own = pixelsOf(*stored);
            HWND control = window.control(i);
            const Pixels shown = screenOf(control);
            const Comparison c = compare(own, shown, shown.width, shown.height, false, kShrunkBlur,
                                         coveredBySiblings(window, control));
            EXPECT_GT(c.compared, 100)
                << design->name << " " << design->controls[i].name << ": " << c.compared
                << " opaque pixels compared of " << own.width << "x" << own.height << " drawn "
                << shown.width << "x" << shown.height;
            EXPECT_LE(c.share(), kMostDiffering)
                << design->name << " " << design->controls[i].name << ": " << c.differing
                << " of " << c.compared << " pixels differ at " << window.dpi() << " DPI ("
                << own.width << "x" << own.height << " drawn " << shown.width << "x"
                << shown.height << ")";
        }
    }
}

} // namespace
} // namespace halvane
