#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <vector>

#include "text/cp1251.h"
#include "ui/bitmap.h"
#include "ui/picture.h"
#include "ui/win32/win32_ui.h"

namespace klt::ui::win32 {

using platform::win32::GdiObject;
using platform::win32::MemoryDc;
using platform::win32::Selected;
using platform::win32::WindowDc;

std::wstring Wide(const std::string& cp1251) {
    const std::u16string u = text::Cp1251ToUtf16(cp1251);
    return std::wstring(u.begin(), u.end());
}

std::string Narrow(const std::wstring& wide) {
    return text::Utf16ToCp1251(std::u16string(wide.begin(), wide.end()));
}

LOGFONTW ToLogFont(const Font& font) {
    LOGFONTW lf{};
    lf.lfHeight = font.height;
    lf.lfWidth = font.width;
    lf.lfEscapement = font.escapement;
    lf.lfOrientation = font.orientation;
    lf.lfWeight = font.weight;
    lf.lfItalic = font.italic ? 1 : 0;
    lf.lfUnderline = font.underline ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(font.charset);
    const std::wstring face = Wide(font.face);
    for (std::size_t i = 0; i < face.size() && i + 1 < LF_FACESIZE; ++i) lf.lfFaceName[i] = face[i];
    return lf;
}

Font FromLogFont(const LOGFONTW& lf) {
    Font f;
    f.height = lf.lfHeight;
    f.width = lf.lfWidth;
    f.escapement = lf.lfEscapement;
    f.orientation = lf.lfOrientation;
    f.weight = lf.lfWeight;
    f.italic = lf.lfItalic != 0;
    f.underline = lf.lfUnderline != 0;
    f.charset = lf.lfCharSet;
    f.face = Narrow(lf.lfFaceName);
    return f;
}

namespace {

// A 16-colour device-independent bitmap of the picture, turned into one of the screen's format.
HBITMAP MakeBitmap(const Image& image) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[16];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = image.width;
    info.header.biHeight = -image.height;  // top row first, as the image keeps it
    info.header.biPlanes = 1;
    info.header.biBitCount = 4;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = 16;
    for (std::size_t i = 0; i < 16 && i < image.palette.size(); ++i) {
        info.colours[i].rgbRed = static_cast<BYTE>(Red(image.palette[i]));
        info.colours[i].rgbGreen = static_cast<BYTE>(Green(image.palette[i]));
        info.colours[i].rgbBlue = static_cast<BYTE>(Blue(image.palette[i]));
    }
    const int stride = ((image.width * 4 + 31) / 32) * 4;
    std::vector<BYTE> bits(static_cast<std::size_t>(stride * image.height), 0);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const BYTE index = image.pixels[static_cast<std::size_t>(y * image.width + x)] & 0x0F;
            BYTE& b = bits[static_cast<std::size_t>(y * stride + x / 2)];
            b = static_cast<BYTE>(x % 2 == 0 ? (b & 0x0F) | (index << 4) : (b & 0xF0) | index);
        }
    }
    const WindowDc screen;
    return CreateDIBitmap(screen.Get(), &info.header, CBM_INIT, bits.data(),
                          reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS);
}

std::map<int, GdiObject<HBITMAP>>& PictureCache() {
    static std::map<int, GdiObject<HBITMAP>> made;
    return made;
}

}  // namespace

HBITMAP PictureBitmap(int picture) {
    auto& made = PictureCache();
    auto it = made.find(picture);
    if (it != made.end()) return it->second.Get();
    const Image* image = FindPicture(picture);
    GdiObject<HBITMAP> bitmap(image ? MakeBitmap(*image) : nullptr);
    if (!bitmap) return nullptr;
    return made.emplace(picture, std::move(bitmap)).first->second.Get();
}

void FreePictureCache() {
    PictureCache().clear();
}

std::size_t PictureCacheSize() {
    return PictureCache().size();
}

// ---- canvas ----

GdiCanvas::GdiCanvas(HDC dc) : target_(dc), dc_(dc), saved_(SaveDC(dc)) {
    targetFont_ = GetCurrentObject(dc, OBJ_FONT);
    textColour_ = GetTextColor(dc);
    background_ = GetBkColor(dc);
    transparent_ = GetBkMode(dc) == TRANSPARENT;
}

GdiCanvas::~GdiCanvas() {
    if (memory_) EndBuffer();
    // Nothing of ours is selected any more: the pens, brushes and fonts can go.
    RestoreDC(target_, saved_);
}

namespace {

// So many of one kind kept at most: a plan in hundreds of colours still holds few handles.
constexpr std::size_t kMaxMade = 32;

}  // namespace

template <typename Key, typename Make>
HGDIOBJ GdiCanvas::Find(std::vector<Made<Key>>& made, const Key& key, std::initializer_list<HGDIOBJ> keep,
                        Make make) {
    for (const Made<Key>& m : made)
        if (m.key == key) return m.object.Get();
    if (made.size() >= kMaxMade) {
        // Only the one in use may be selected anywhere (ours are only ever in the context drawn
        // on), and a framed figure comes back to the caller's: the others can go.
        std::erase_if(made, [keep](const Made<Key>& m) {
            return std::find(keep.begin(), keep.end(), m.object.Get()) == keep.end();
        });
    }
    HGDIOBJ object = make();
    if (!object) return nullptr;
    made.push_back({key, GdiObject<>(object)});
    return object;
}

void GdiCanvas::SelectObjects() {
    const HGDIOBJ pen = noPen_ || !pen_ ? GetStockObject(noPen_ ? NULL_PEN : BLACK_PEN) : pen_;
    if (pen != selectedPen_) selectedPen_ = SelectObject(dc_, pen) ? pen : nullptr;
    const HGDIOBJ brush = noBrush_ || !brush_ ? GetStockObject(noBrush_ ? NULL_BRUSH : WHITE_BRUSH) : brush_;
    if (brush != selectedBrush_) selectedBrush_ = SelectObject(dc_, brush) ? brush : nullptr;
    if (font_ && font_ != selectedFont_) selectedFont_ = SelectObject(dc_, font_) ? font_ : nullptr;
}

void GdiCanvas::SelectInto(HDC dc) {
    dc_ = dc;
    selectedPen_ = selectedBrush_ = selectedFont_ = nullptr;
    SelectObjects();
    SetTextColor(dc, textColour_);
    SetBkColor(dc, background_);
    SetBkMode(dc, transparent_ ? TRANSPARENT : OPAQUE);
}

void GdiCanvas::UsePen(int style, int width, Colour colour, HGDIOBJ keep) {
    noPen_ = false;
    pen_ = Find(pens_, PenKey{style, width, colour}, {pen_, keep},
                [&] { return static_cast<HGDIOBJ>(CreatePen(style, width, colour)); });
    penKey_ = {style, width, colour};
    SelectObjects();
}

void GdiCanvas::UseBrush(Colour colour, HGDIOBJ keep) {
    noBrush_ = false;
    brush_ = Find(brushes_, static_cast<COLORREF>(colour), {brush_, keep},
                  [&] { return static_cast<HGDIOBJ>(CreateSolidBrush(colour)); });
    brushColour_ = colour;
    SelectObjects();
}

template <typename Draw>
void GdiCanvas::Figure(const Rect& r, Draw draw) {
    const PenKey pen = penKey_;
    const int w = pen.width;
    // A wide frame kept inside a curved figure: the figure in the frame's colour, then the filled
    // figure smaller by the frame on every side over it. The system works out the outline of a
    // wide pen at great cost: a hall of 200 round tables took longer than a frame of the screen.
    if (noPen_ || !pen_ || pen.style != PS_INSIDEFRAME || w <= 1 || noBrush_ || !brush_ ||
        r.Width() <= 2 * w || r.Height() <= 2 * w) {
        draw(r, 0);
        return;
    }
    const HGDIOBJ callerPen = pen_, callerBrush = brush_;
    const Colour fill = brushColour_;
    UsePen(PS_SOLID, 1, pen.colour, callerPen);
    UseBrush(pen.colour, callerBrush);
    draw(r, 0);
    UsePen(PS_SOLID, 1, fill, callerPen);
    UseBrush(fill, callerBrush);
    draw(Rect{r.left + w, r.top + w, r.right - w, r.bottom - w}, 2 * w);
    pen_ = callerPen;
    penKey_ = pen;
    brush_ = callerBrush;
    brushColour_ = fill;
    SelectObjects();
}

void GdiCanvas::SetPen(Colour colour, int width) {
    UsePen(PS_SOLID, width, colour);
}

void GdiCanvas::SetInsideFramePen(Colour colour, int width) {
    UsePen(PS_INSIDEFRAME, width, colour);
}

void GdiCanvas::SetNoPen() {
    noPen_ = true;
    SelectObjects();
}

void GdiCanvas::SetBrush(Colour colour) {
    UseBrush(colour);
}

void GdiCanvas::SetNoBrush() {
    noBrush_ = true;
    SelectObjects();
}

void GdiCanvas::Rectangle(const Rect& r) {
    ::Rectangle(dc_, r.left, r.top, r.right, r.bottom);
}

void GdiCanvas::RoundRect(const Rect& r, Size corner) {
    Figure(r, [&](const Rect& f, int less) {
        ::RoundRect(dc_, f.left, f.top, f.right, f.bottom, std::max(0, corner.cx - less),
                    std::max(0, corner.cy - less));
    });
}

void GdiCanvas::Ellipse(const Rect& r) {
    Figure(r, [&](const Rect& f, int) { ::Ellipse(dc_, f.left, f.top, f.right, f.bottom); });
}

void GdiCanvas::Polygon(const std::vector<Point>& points) {
    std::vector<POINT> p;
    p.reserve(points.size());
    for (const Point& q : points) p.push_back({q.x, q.y});
    if (!p.empty()) ::Polygon(dc_, p.data(), static_cast<int>(p.size()));
}

void GdiCanvas::FillRect(const Rect& r, Colour colour) {
    const GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    const RECT rc{r.left, r.top, r.right, r.bottom};
    ::FillRect(dc_, &rc, brush.Get());
}

void GdiCanvas::SetFont(const Font& font) {
    font_ = Find(fonts_, font, {font_}, [&] {
        const LOGFONTW lf = ToLogFont(font);
        return static_cast<HGDIOBJ>(CreateFontIndirectW(&lf));
    });
    SelectObjects();
}

void GdiCanvas::SetTextColour(Colour colour) {
    if (colour == textColour_) return;
    textColour_ = colour;
    SetTextColor(dc_, colour);
}

void GdiCanvas::SetTransparentText(bool transparent) {
    if (transparent == transparent_) return;
    transparent_ = transparent;
    SetBkMode(dc_, transparent ? TRANSPARENT : OPAQUE);
}

void GdiCanvas::SetBackgroundColour(Colour colour) {
    background_ = colour;
    SetBkColor(dc_, colour);
}

void GdiCanvas::DrawText(const std::string& cp1251, const Rect& r, unsigned format) {
    std::wstring w = Wide(cp1251);
    RECT rc{r.left, r.top, r.right, r.bottom};
    ::DrawTextW(dc_, w.c_str(), static_cast<int>(w.size()), &rc, format);
}

void GdiCanvas::TextAt(Point p, const std::string& cp1251, TextAnchor anchor) {
    const std::wstring w = Wide(cp1251);
    const UINT old =
        SetTextAlign(dc_, anchor == TextAnchor::BaselineCentre ? TA_BASELINE | TA_CENTER : TA_TOP | TA_LEFT);
    TextOutW(dc_, p.x, p.y, w.c_str(), static_cast<int>(w.size()));
    SetTextAlign(dc_, old);
}

void GdiCanvas::DrawPicture(int picture, const Rect& r) {
    HBITMAP bitmap = PictureBitmap(picture);
    if (!bitmap) return;
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    const MemoryDc source(CreateCompatibleDC(dc_));
    if (!source) return;
    const Selected selected(source.Get(), bitmap);
    SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, r.left, r.top, r.Width(), r.Height(), source.Get(), 0, 0, info.bmWidth, info.bmHeight,
               SRCCOPY);
}

void GdiCanvas::DrawBitmap(const Bitmap& bitmap, const Rect& source, const Rect& r) {
    const std::optional<BitmapPart> part = VisiblePart(bitmap, source, r);
    if (!part) return;
    // The rows drawn are handed over as a top-down DIB of their own and taken from its origin:
    // StretchDIBits counts a source row from the bottom for a top-down DIB too, except when it
    // copies unstretched from the origin. From the origin of a DIB exactly as high as the part
    // drawn, both readings are the same rows.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = bitmap.width;
    info.bmiHeader.biHeight = -part->source.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const std::uint32_t* rows = bitmap.pixels.data() + static_cast<std::size_t>(part->source.top) *
                                                           static_cast<std::size_t>(bitmap.width);
    const Rect& d = part->dest;
    SetStretchBltMode(dc_, COLORONCOLOR);
    StretchDIBits(dc_, d.left, d.top, d.Width(), d.Height(), part->source.left, 0, part->source.Width(),
                  part->source.Height(), rows, &info, DIB_RGB_COLORS, SRCCOPY);
}

void GdiCanvas::Clip(const Rect& r) {
    // Regions are in device units: with a buffer open its origin is moved by the area's corner.
    POINT origin{0, 0};
    GetWindowOrgEx(dc_, &origin);
    const GdiObject<HRGN> region(
        CreateRectRgn(r.left - origin.x, r.top - origin.y, r.right - origin.x, r.bottom - origin.y));
    SelectClipRgn(dc_, region.Get());  // the context keeps a copy
}

void GdiCanvas::ClearClip() {
    SelectClipRgn(dc_, nullptr);
}

void GdiCanvas::BeginBuffer(const Rect& area) {
    if (memory_ || area.Empty()) return;
    MemoryDc memory(CreateCompatibleDC(target_));
    GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(target_, area.Width(), area.Height()));
    if (!memory || !bitmap) return;  // drawing goes straight to the target instead
    memory_ = std::move(memory);
    bitmap_ = std::move(bitmap);
    bufferBitmap_.emplace(memory_.Get(), bitmap_.Get());
    // The buffer keeps the target's coordinates: its top-left pixel is the area's corner.
    SetWindowOrgEx(memory_.Get(), area.left, area.top, nullptr);
    area_ = area;
    // Ours are only ever in the context drawn on: the target lets go of them while the buffer is.
    SelectObject(target_, GetStockObject(BLACK_PEN));
    SelectObject(target_, GetStockObject(WHITE_BRUSH));
    if (selectedFont_) SelectObject(target_, targetFont_);
    SelectInto(memory_.Get());
}

void GdiCanvas::EndBuffer() {
    if (!memory_) return;
    BitBlt(target_, area_.left, area_.top, area_.Width(), area_.Height(), memory_.Get(), area_.left,
           area_.top, SRCCOPY);
    // Our pen, brush and font go back to the target before the buffer's context is deleted.
    SelectInto(target_);
    SelectObject(memory_.Get(), GetStockObject(BLACK_PEN));
    SelectObject(memory_.Get(), GetStockObject(WHITE_BRUSH));
    SelectObject(memory_.Get(), GetStockObject(SYSTEM_FONT));
    bufferBitmap_.reset();
    bitmap_.Reset();
    memory_.Reset();
}

}  // namespace klt::ui::win32
