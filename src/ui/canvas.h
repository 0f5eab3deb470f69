#pragma once
// Where windows paint. Controllers and controls draw only through this; the Win32 backend maps it
// onto GDI, the headless one records every call.
#include <string>
#include <vector>

#include "ui/types.h"

namespace klt::ui {
struct Bitmap;
}

namespace klt::ui {

// Text layout flags, in the values of the system's DrawText.
namespace text_format {
inline constexpr unsigned kLeft = 0x0;
inline constexpr unsigned kCentre = 0x1;
inline constexpr unsigned kRight = 0x2;
inline constexpr unsigned kVCentre = 0x4;
inline constexpr unsigned kBottom = 0x8;
inline constexpr unsigned kWordBreak = 0x10;
inline constexpr unsigned kSingleLine = 0x20;
inline constexpr unsigned kNoPrefix = 0x800;
}  // namespace text_format

// Where TextAt puts its point: the top-left corner of the text, or the middle of its baseline
// (what rotated text turns around).
enum class TextAnchor { TopLeft, BaselineCentre };

class Canvas {
  public:
    virtual ~Canvas() = default;

    // Outlines of the shapes below; a pen of width 0 is one pixel wide.
    virtual void SetPen(Colour colour, int width) = 0;
    // An outline kept wholly inside the rectangle of a rectangle, rounded rectangle or ellipse,
    // however thick, where a plain pen straddles the edge and spills out of it.
    virtual void SetInsideFramePen(Colour colour, int width) = 0;
    virtual void SetNoPen() = 0;
    // Interiors of the shapes below.
    virtual void SetBrush(Colour colour) = 0;
    virtual void SetNoBrush() = 0;

    virtual void Rectangle(const Rect& r) = 0;
    virtual void RoundRect(const Rect& r, Size corner) = 0;
    virtual void Ellipse(const Rect& r) = 0;
    virtual void Polygon(const std::vector<Point>& points) = 0;
    // A solid fill without outline, whatever pen and brush are selected.
    virtual void FillRect(const Rect& r, Colour colour) = 0;

    virtual void SetFont(const Font& font) = 0;
    virtual void SetTextColour(Colour colour) = 0;
    // Transparent: text leaves what is under it; otherwise it is drawn on the background colour.
    virtual void SetTransparentText(bool transparent) = 0;
    virtual void SetBackgroundColour(Colour colour) = 0;
    // `format` is a combination of text_format flags.
    virtual void DrawText(const std::string& cp1251, const Rect& r, unsigned format) = 0;
    virtual void TextAt(Point p, const std::string& cp1251, TextAnchor anchor) = 0;

    // A picture of the module's resources, by its number, stretched over `r`.
    virtual void DrawPicture(int picture, const Rect& r) = 0;
    // The part `source` of a picture read from a file, stretched over `r`.
    virtual void DrawBitmap(const Bitmap& bitmap, const Rect& source, const Rect& r) = 0;

    // Drawing outside `r` is lost until ClearClip.
    virtual void Clip(const Rect& r) = 0;
    virtual void ClearClip() = 0;

    // Drawing between these goes to an off-screen bitmap of `area`, copied to the target at the end,
    // so a control never flickers through its background.
    virtual void BeginBuffer(const Rect& area) = 0;
    virtual void EndBuffer() = 0;
};

}  // namespace klt::ui
