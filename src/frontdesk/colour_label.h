#pragma once
// The colour label: a static text control with its own colours, font, gradient, flashing, 3D text,
// rotation and link behaviour. The keypad shows its number in one; the message, question and
// payment-type windows use it through the same operations.
#include <optional>
#include <string>
#include <vector>

#include "ui/dialog.h"

namespace klt::frontdesk {

inline constexpr unsigned kLinkClickNotification = 0x8200;
inline constexpr int kFlashTimerId = 1;
inline constexpr unsigned kFlashPeriodMs = 500;

struct GradientBand {
    ui::Rect rect;
    ui::Colour colour;
};

// Left-to-right gradient from `first` to `second` as solid bands: at most 100 of them, no more
// than the rectangle is wide, at least one; colours stepped in 8.8 fixed point.
std::vector<GradientBand> GradientBands(const ui::Rect& r, ui::Colour first, ui::Colour second);
void GradientFill(ui::Canvas& canvas, const ui::Rect& r, ui::Colour first, ui::Colour second);

// DrawText flags for a static control's text by its style and the text.
unsigned LabelTextFormat(std::uint32_t style, const std::string& text);

enum class FlashMode { None, Text, Background };

class ColourLabel final : public ui::CustomControl {
  public:
    ColourLabel() = default;
    ~ColourLabel() override { Detach(); }
    ColourLabel(const ColourLabel&) = delete;
    ColourLabel& operator=(const ColourLabel&) = delete;

    // Takes over the control `id` of the view: its font becomes the label's, the system colours
    // give the defaults. Detach before the view goes.
    void Attach(ui::DialogView& view, int id);
    void Detach();
    bool attached() const { return view_ != nullptr; }

    void SetBackground(ui::Colour colour, ui::Colour second, bool gradient);
    void SetTextColour(ui::Colour colour);
    void SetText(const std::string& cp1251);
    void SetBold(bool bold);
    void SetFaceName(const std::string& face, int charset);
    void SetUnderline(bool underline);
    void SetItalic(bool italic);
    void SetSize(int points);
    void SetSunken(bool sunken);
    void SetBorder(bool border);
    void SetTransparent(bool transparent);
    void FlashText(bool on);
    void FlashBackground(bool on);
    void SetLink(bool link, bool notify);
    void SetLinkCursor(ui::Cursor cursor);
    void Set3DText(bool on, bool downRight);
    void SetRotation(int degrees, bool on);
    void SetHighlightColour(ui::Colour colour);

    const ui::Font& font() const { return font_; }
    ui::Colour textColour() const { return textColour_; }
    FlashMode flash() const { return flash_; }
    // True in the phase in which a flashing text is hidden.
    bool flashPhase() const { return phase_; }
    bool transparent() const { return transparent_; }

    // ui::CustomControl
    void Paint(ui::Canvas& canvas, const ui::Rect& client) override;
    void OnClick() override;
    void OnTimer(int timerId) override;
    void OnSystemColoursChanged() override;
    void OnViewGone() override;

  private:
    void Redraw();
    void FontChanged();
    void StartFlash(FlashMode mode);
    void StopFlash();

    ui::DialogView* view_ = nullptr;
    int id_ = 0;
    ui::Colour textColour_ = 0;
    ui::Colour face_ = ui::Rgb(192, 192, 192);
    std::optional<ui::Colour> background_;
    bool gradient_ = false;
    ui::Colour gradientFirst_ = 0, gradientSecond_ = 0;
    ui::Font font_;
    FlashMode flash_ = FlashMode::None;
    bool phase_ = false;
    bool transparent_ = false;
    bool text3d_ = false;
    bool text3dDownRight_ = false;
    ui::Colour highlight_ = ui::Rgb(255, 255, 255);
    bool rotation_ = false;
    bool link_ = false;
    bool notify_ = false;
    ui::Cursor cursor_ = ui::Cursor::Default;
};

}  // namespace klt::frontdesk
