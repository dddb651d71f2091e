// The vocabulary of window designs: what a window and each of its controls
// are, written down as data. Every window class holds its design as one
// WindowDesign (frmSplash::Design() and so on); each window-system backend
// builds its native windows from these rows and from nothing else, so a
// design is written once and every backend shows it alike.
//
// Places and sizes are in twips (1/1440 inch). Turning them into pixels is
// the backend's work: at 96 dots per inch 15 twips are one pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace halvane::ui
{

inline constexpr int kTwipsPerInch = 1440;

// The character set every designed font is defined with: ARABIC_CHARSET of
// the Windows GDI.
inline constexpr int kArabicCharset = 178;

inline constexpr std::string_view kTahoma = "Tahoma";
inline constexpr std::string_view kMsSansSerif = "MS Sans Serif";

struct Font {
    std::string_view family;
    double points;
    bool bold = false;
    int charset = kArabicCharset;
    friend bool operator==(const Font&, const Font&) = default;
};

// The window font of every window, and the font of most buttons.
inline constexpr Font kWindowFont{kTahoma, 8.25};
inline constexpr Font kButtonFont{kTahoma, 6.75};

// A colour of the design: inherited from the container (or the window
// system's default), one of the Windows system colours by index, or a fixed
// red-green-blue value.
struct Colour {
    enum class Kind : std::uint8_t { Inherit, System, Rgb };

    Kind kind = Kind::Inherit;
    std::uint32_t value = 0; // the system colour's index, or 0xRRGGBB

    static constexpr Colour system(int index) { return {Kind::System, std::uint32_t(index)}; }
    static constexpr Colour rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b)
    {
        return {Kind::Rgb, std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | b};
    }
    bool inherited() const { return kind == Kind::Inherit; }
    friend bool operator==(const Colour&, const Colour&) = default;
};

// Indexes of the Windows system colours the designs use (GetSysColor).
namespace syscolour
{
inline constexpr int kWindow = 5;        // COLOR_WINDOW
inline constexpr int kActiveBorder = 10; // COLOR_ACTIVEBORDER
inline constexpr int kHighlight = 13;    // COLOR_HIGHLIGHT
} // namespace syscolour

struct TwipsPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const TwipsPoint&, const TwipsPoint&) = default;
};

struct TwipsSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const TwipsSize&, const TwipsSize&) = default;
};

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

enum class ControlKind : std::uint8_t {
    PushButton,       // text with an optional "&" access key; raises Click
    Label,            // plain text on an opaque background, no border; takes no input
    PictureBox,       // a sunken box showing one picture at its own size from the
                      // top-left of its interior, clipped; can take the focus
    StretchedPicture, // a picture stretched to the control; takes no input
    ClickArea,        // draws nothing; raises Click for a left click over it
    Frame,            // a group box; its children are placed within it
    Line,             // a stroke from place's top-left to lineTo, lineWidth wide
    DataControl,      // the table's data control: never shown, no native control
};

inline constexpr int kNoIndex = -1;    // not a member of a control array
inline constexpr int kNoTabIndex = -1; // not in the tab order

// The data settings of a data control.
struct DataSource {
    std::string_view connect{};
    std::string_view databaseName{};
    std::string_view recordSource{};
};

// One row of a window's control table.
struct ControlDesign {
    std::string_view name{};
    int index = kNoIndex; // a control array (Line1(0), Line1(1)) shares one name
    ControlKind kind{};
    std::string_view text{}; // caption; "&" marks the access key, "&&" a plain "&"
    // The container: empty for the window's client area; otherwise the name of
    // a Frame or PictureBox listed earlier, and `place` is measured from the
    // top-left of its interior (inside a picture box's border).
    std::string_view parent{};
    TwipsRect place{}; // top-left corner and size; a line's start point (its size unused)
    TwipsPoint lineTo{};
    int lineWidth = 0;          // pixels, drawn below or to the right of the line
    std::optional<Font> font{}; // none: the control has no font of its own
    Colour foreground{};        // text or line colour
    Colour background{};        // Inherit: the container's
    int tabIndex = kNoTabIndex; // its place in the tab order
    bool isDefault = false;     // pressed by Enter when no other button has the focus
    bool isCancel = false;      // pressed by Escape
    bool visible = true;        // when the window opens
    bool enabled = true;        // when the window opens
    std::string_view picture{}; // resource name of the picture stored with the design
    std::optional<DataSource> dataSource{};
};

enum class WindowKind : std::uint8_t {
    // A fixed tool window: a small title bar with a close button only, no
    // minimize or maximize button, not resizable.
    ToolWindow,
    // No title bar at all (no caption, no window-menu or close button); a
    // fixed dialog border; not resizable. The window system's close request
    // (Alt+F4) does nothing.
    NoTitleBar,
};

enum class Placement : std::uint8_t {
    // The whole window, its frame included, centred on the screen.
    CentredOnScreen,
    // The client area's top-left corner at `WindowDesign::position`, in
    // twips from the screen's top-left corner.
    FixedClientPosition,
    // Where the window system puts a new window.
    SystemDefault,
};

struct WindowDesign {
    std::string_view name{}; // the window class: frmSplash, frmRun, ...
    WindowKind kind{};
    std::string_view caption{};
    TwipsSize client{};
    Placement placement{};
    TwipsPoint position{}; // FixedClientPosition only
    Font font{};
    Colour background{};     // Inherit: the window system's default window colour
    std::string_view icon{}; // resource name; empty: none
    bool taskBarEntry = false;
    // Every control, topmost first: siblings (controls of one container) are
    // listed in their stacking order, and a container comes before its
    // children.
    std::span<const ControlDesign> controls{};

    // The position of the control `name` (with `index` in a control array)
    // in `controls`. Throws std::out_of_range when there is none, so a
    // handler bound to a misspelt control fails when its window is made.
    std::size_t indexOf(std::string_view controlName, int controlIndex = kNoIndex) const;
    const ControlDesign& control(std::string_view controlName, int controlIndex = kNoIndex) const
    {
        return controls[indexOf(controlName, controlIndex)];
    }
};

} // namespace halvane::ui
