#include <map>
#include <vector>

#include "text/cp1251.h"
#include "ui/picture.h"
#include "ui/bitmap.h"
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
    textColour_ = GetTextColor(dc);
    background_ = GetBkColor(dc);
    transparent_ = GetBkMode(dc) == TRANSPARENT;
}

GdiCanvas::~GdiCanvas() {
    if (memory_) EndBuffer();
    // Nothing of ours is selected any more: the pen, brush and font can go.
    RestoreDC(target_, saved_);
}

void GdiCanvas::Replace(GdiObject<>& held, HGDIOBJ made) {
    GdiObject<> old = std::move(held);
    held.Reset(made);
    // The old object may still sit in the target under an open buffer: both let go of it first.
    SelectInto(target_);
    if (memory_) SelectInto(memory_.Get());
}

void GdiCanvas::SelectInto(HDC dc) {
    SelectObject(dc, noPen_ || !pen_ ? GetStockObject(noPen_ ? NULL_PEN : BLACK_PEN) : pen_.Get());
    SelectObject(dc,
                 noBrush_ || !brush_ ? GetStockObject(noBrush_ ? NULL_BRUSH : WHITE_BRUSH) : brush_.Get());
    if (font_) SelectObject(dc, font_.Get());
    SetTextColor(dc, textColour_);
    SetBkColor(dc, background_);
    SetBkMode(dc, transparent_ ? TRANSPARENT : OPAQUE);
}

void GdiCanvas::SetPen(Colour colour, int width) {
    noPen_ = false;
    Replace(pen_, CreatePen(PS_SOLID, width, colour));
}

void GdiCanvas::SetInsideFramePen(Colour colour, int width) {
    noPen_ = false;
    Replace(pen_, CreatePen(PS_INSIDEFRAME, width, colour));
}

void GdiCanvas::SetNoPen() {
    noPen_ = true;
    SelectInto(dc_);
}

void GdiCanvas::SetBrush(Colour colour) {
    noBrush_ = false;
    Replace(brush_, CreateSolidBrush(colour));
}

void GdiCanvas::SetNoBrush() {
    noBrush_ = true;
    SelectInto(dc_);
}

void GdiCanvas::Rectangle(const Rect& r) {
    ::Rectangle(dc_, r.left, r.top, r.right, r.bottom);
}

void GdiCanvas::RoundRect(const Rect& r, Size corner) {
    ::RoundRect(dc_, r.left, r.top, r.right, r.bottom, corner.cx, corner.cy);
}

void GdiCanvas::Ellipse(const Rect& r) {
    ::Ellipse(dc_, r.left, r.top, r.right, r.bottom);
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
    const LOGFONTW lf = ToLogFont(font);
    Replace(font_, CreateFontIndirectW(&lf));
}

void GdiCanvas::SetTextColour(Colour colour) {
    textColour_ = colour;
    SetTextColor(dc_, colour);
}

void GdiCanvas::SetTransparentText(bool transparent) {
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
    if (bitmap.width <= 0 || bitmap.height <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = bitmap.width;
    info.bmiHeader.biHeight = -bitmap.height;  // top row first, as the pixels are kept
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(dc_, COLORONCOLOR);
    // The source rectangle of a top-down DIB counts rows from the top as well.
    StretchDIBits(dc_, r.left, r.top, r.Width(), r.Height(), source.left, source.top, source.Width(),
                  source.Height(), bitmap.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
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
    dc_ = memory_.Get();
    SelectInto(dc_);
}

void GdiCanvas::EndBuffer() {
    if (!memory_) return;
    BitBlt(target_, area_.left, area_.top, area_.Width(), area_.Height(), memory_.Get(), area_.left,
           area_.top, SRCCOPY);
    // Our pen, brush and font go back to the target before the buffer's context is deleted.
    dc_ = target_;
    SelectInto(dc_);
    SelectObject(memory_.Get(), GetStockObject(BLACK_PEN));
    SelectObject(memory_.Get(), GetStockObject(WHITE_BRUSH));
    SelectObject(memory_.Get(), GetStockObject(SYSTEM_FONT));
    bufferBitmap_.reset();
    bitmap_.Reset();
    memory_.Reset();
}

}  // namespace klt::ui::win32
