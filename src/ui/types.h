#pragma once
// Geometry, colours and fonts as the windows see them: pixels in a window's client area, colours as
// the system packs them (0x00BBGGRR), fonts as logical-font descriptions.
#include <cstdint>
#include <string>

namespace klt::ui {

using Colour = std::uint32_t;

constexpr Colour Rgb(unsigned r, unsigned g, unsigned b) {
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}
constexpr unsigned Red(Colour c) {
    return c & 0xFFu;
}
constexpr unsigned Green(Colour c) {
    return (c >> 8) & 0xFFu;
}
constexpr unsigned Blue(Colour c) {
    return (c >> 16) & 0xFFu;
}

struct Point {
    int x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int cx = 0, cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Right and bottom are outside the rectangle, as in the system's RECT.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    Point Centre() const { return {(left + right) / 2, (top + bottom) / 2}; }
    Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A logical font (LOGFONT): height in logical units, negative for a character height; angles in
// tenths of a degree; weight 400 normal, 700 bold.
struct Font {
    int height = 0;
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    int charset = 1;  // DEFAULT_CHARSET
    std::string face;
    friend bool operator==(const Font&, const Font&) = default;
};

// System colours a control may follow.
enum class SystemColour { WindowText, ButtonFace, Window };

enum class Cursor { Default, Arrow, Hand, IBeam, Cross };

// Command identifiers the dialog manager itself sends: Enter and Esc.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
// Identifier of controls nobody addresses (frames, fixed labels).
inline constexpr int kIdStatic = -1;

// Virtual-key codes the portable controllers react to.
inline constexpr int kKeyReturn = 0x0D;
inline constexpr int kKeyEscape = 0x1B;

// Styles in the system's own bit values, so templates mean the same to every backend.
namespace style {
inline constexpr std::uint32_t kChild = 0x40000000;
inline constexpr std::uint32_t kVisible = 0x10000000;
inline constexpr std::uint32_t kDisabled = 0x08000000;
inline constexpr std::uint32_t kBorder = 0x00800000;
inline constexpr std::uint32_t kTabStop = 0x00010000;
inline constexpr std::uint32_t kPopup = 0x80000000;
inline constexpr std::uint32_t kCaption = 0x00C00000;
inline constexpr std::uint32_t kSysMenu = 0x00080000;
inline constexpr std::uint32_t kModalFrame = 0x80;      // DS_MODALFRAME
inline constexpr std::uint32_t kSetFont = 0x40;         // DS_SETFONT
inline constexpr std::uint32_t kCentre = 0x0800;        // DS_CENTER
inline constexpr std::uint32_t kSetForeground = 0x200;  // DS_SETFOREGROUND
// The dialog's own painting leaves its controls alone (WS_CLIPCHILDREN).
inline constexpr std::uint32_t kClipChildren = 0x02000000;

// Static controls.
inline constexpr std::uint32_t kStaticLeft = 0x0;
inline constexpr std::uint32_t kStaticCentre = 0x1;
inline constexpr std::uint32_t kStaticRight = 0x2;
inline constexpr std::uint32_t kStaticEtchedFrame = 0x12;
inline constexpr std::uint32_t kStaticLeftNoWordWrap = 0xC;
inline constexpr std::uint32_t kStaticTypeMask = 0x1F;
// The text is shown as given: '&' marks no shortcut letter (captions come from the configuration).
inline constexpr std::uint32_t kStaticNoPrefix = 0x80;
inline constexpr std::uint32_t kStaticNotify = 0x100;
inline constexpr std::uint32_t kStaticCentreImage = 0x200;

// Buttons.
inline constexpr std::uint32_t kButtonPush = 0x0;
inline constexpr std::uint32_t kButtonDefault = 0x1;
inline constexpr std::uint32_t kButtonBitmap = 0x80;
inline constexpr std::uint32_t kButtonCheckBox = 0x2;  // checked by the program, not by the press
inline constexpr std::uint32_t kButtonRadio = 0x4;     // likewise
inline constexpr std::uint32_t kButtonGroupBox = 0x7;
inline constexpr std::uint32_t kButtonTypeMask = 0xF;

// Edit fields.
inline constexpr std::uint32_t kEditCentre = 0x1;
inline constexpr std::uint32_t kEditPassword = 0x20;
inline constexpr std::uint32_t kEditAutoScroll = 0x80;
inline constexpr std::uint32_t kEditReadOnly = 0x800;

// List views.
inline constexpr std::uint32_t kListReport = 0x1;
inline constexpr std::uint32_t kListSingleSelection = 0x4;
inline constexpr std::uint32_t kListShowSelectionAlways = 0x8;
inline constexpr std::uint32_t kListSortAscending = 0x10;
inline constexpr std::uint32_t kListNoColumnHeader = 0x4000;

// Tree views.
inline constexpr std::uint32_t kTreeHasButtons = 0x1;
inline constexpr std::uint32_t kTreeHasLines = 0x2;
inline constexpr std::uint32_t kTreeLinesAtRoot = 0x4;

// Spins: they write the number into their edit field, at its right.
inline constexpr std::uint32_t kSpinSetBuddyNumber = 0x2;
inline constexpr std::uint32_t kSpinAlignRight = 0x4;
inline constexpr std::uint32_t kSpinAutoBuddy = 0x10;
inline constexpr std::uint32_t kSpinArrowKeys = 0x20;
inline constexpr std::uint32_t kSpinNoThousands = 0x80;

// Extended styles.
inline constexpr std::uint32_t kExTransparent = 0x20;
inline constexpr std::uint32_t kExStaticEdge = 0x20000;
}  // namespace style

}  // namespace klt::ui
