#pragma once
// The Win32 window system's shared pieces: <windows.h> as the backend wants it, text and font
// conversions, the module's pictures as bitmaps, and the GDI canvas.
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/owners.h"
#include "platform/win32/win32_api.h"

// The canvas has a method of that name, which the UNICODE macro would rename in these files only.
#ifdef DrawText
#undef DrawText
#endif

#include "ui/canvas.h"
#include "ui/types.h"

namespace klt::ui::win32 {

std::wstring Wide(const std::string& cp1251);
std::string Narrow(const std::wstring& wide);
LOGFONTW ToLogFont(const Font& font);
Font FromLogFont(const LOGFONTW& lf);

// A bitmap of the module's picture, made on first use and kept until FreePictureCache; null for an
// unknown number.
HBITMAP PictureBitmap(int picture);
// Deletes the bitmaps PictureBitmap made; called at shut-down, when no window shows them any more.
// A later PictureBitmap makes them anew.
void FreePictureCache();
std::size_t PictureCacheSize();

// GDI behind the portable canvas. Everything it selects into the device context is put back when
// it goes; the off-screen buffer is a compatible bitmap copied to the target at EndBuffer.
class GdiCanvas final : public Canvas {
  public:
    explicit GdiCanvas(HDC dc);
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    void SetPen(Colour colour, int width) override;
    void SetInsideFramePen(Colour colour, int width) override;
    void SetNoPen() override;
    void SetBrush(Colour colour) override;
    void SetNoBrush() override;
    void Rectangle(const Rect& r) override;
    void RoundRect(const Rect& r, Size corner) override;
    void Ellipse(const Rect& r) override;
    void Polygon(const std::vector<Point>& points) override;
    void FillRect(const Rect& r, Colour colour) override;
    void SetFont(const Font& font) override;
    void SetTextColour(Colour colour) override;
    void SetTransparentText(bool transparent) override;
    void SetBackgroundColour(Colour colour) override;
    void DrawText(const std::string& cp1251, const Rect& r, unsigned format) override;
    void TextAt(Point p, const std::string& cp1251, TextAnchor anchor) override;
    void DrawPicture(int picture, const Rect& r) override;
    void DrawBitmap(const Bitmap& bitmap, const Rect& source, const Rect& r) override;
    void Clip(const Rect& r) override;
    void ClearClip() override;
    void BeginBuffer(const Rect& area) override;
    void EndBuffer() override;

  private:
    // Pens, brushes and fonts are made once per canvas and kept until it goes: a hall paints
    // hundreds of tables in a handful of colours and fonts, and making, selecting and deleting each
    // one anew costs more than drawing the table.
    template <typename Key>
    struct Made {
        Key key;
        platform::win32::GdiObject<> object;
    };
    struct PenKey {
        int style, width;
        COLORREF colour;
        friend bool operator==(const PenKey&, const PenKey&) = default;
    };
    // The one made for `key`, made now if need be; when too many are kept, all go but `keep`.
    template <typename Key, typename Make>
    HGDIOBJ Find(std::vector<Made<Key>>& made, const Key& key, std::initializer_list<HGDIOBJ> keep,
                 Make make);

    void UsePen(int style, int width, Colour colour, HGDIOBJ keep = nullptr);
    void UseBrush(Colour colour, HGDIOBJ keep = nullptr);
    // An ellipse or rounded rectangle: `draw(rect, less)` draws it in `rect` with its corners
    // `less` smaller.
    template <typename Draw>
    void Figure(const Rect& r, Draw draw);
    // Puts our pen, brush and font (or the stock ones) into the context drawn on, each only when
    // another one is in it.
    void SelectObjects();
    // Everything of ours into `dc`: objects, text colour, background colour and mode.
    void SelectInto(HDC dc);

    HDC target_;
    HDC dc_;
    int saved_;
    std::vector<Made<PenKey>> pens_;
    std::vector<Made<COLORREF>> brushes_;
    std::vector<Made<Font>> fonts_;
    HGDIOBJ pen_ = nullptr;  // ours in use; null for the stock one
    PenKey penKey_{PS_SOLID, 1, 0};
    COLORREF brushColour_ = 0;
    HGDIOBJ brush_ = nullptr;  // ours in use; null for the stock one
    HGDIOBJ font_ = nullptr;   // ours in use; null: the context's own
    HGDIOBJ selectedPen_ = nullptr, selectedBrush_ = nullptr, selectedFont_ = nullptr;  // in dc_ now
    HGDIOBJ targetFont_ = nullptr;  // the target's own font, back in it while a buffer is drawn on
    bool noPen_ = false, noBrush_ = false;
    COLORREF textColour_ = 0, background_ = RGB(255, 255, 255);
    bool transparent_ = false;
    // The off-screen buffer while one is open.
    platform::win32::MemoryDc memory_;
    platform::win32::GdiObject<HBITMAP> bitmap_;
    std::optional<platform::win32::Selected> bufferBitmap_;
    Rect area_;
};

}  // namespace klt::ui::win32
