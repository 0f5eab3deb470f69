#include "frontdesk/colour_label.h"

#include <algorithm>

namespace klt::frontdesk {

std::vector<GradientBand> GradientBands(const ui::Rect& r, ui::Colour first, ui::Colour second) {
    std::vector<GradientBand> bands;
    const int width = r.Width();
    if (width <= 0 || r.Height() <= 0) return bands;
    const int count = std::max(1, std::min(100, width));
    auto component = [&](unsigned (*of)(ui::Colour)) {
        const int from = static_cast<int>(of(first));
        return std::pair<int, int>{from * 256, (static_cast<int>(of(second)) - from) * 256 / count};
    };
    const auto [r0, rs] = component(ui::Red);
    const auto [g0, gs] = component(ui::Green);
    const auto [b0, bs] = component(ui::Blue);
    // Band starts spread over the whole width; stepping by width / count in whole pixels would
    // leave the remainder to the last band, a flat stripe up to half the control wide.
    auto start = [&](int i) { return r.left + static_cast<int>(static_cast<long long>(i) * width / count); };
    bands.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int right = i + 1 == count ? r.right : std::min(r.right, start(i + 1) + 1);
        const auto level = [i](int base, int step) { return static_cast<unsigned>((base + i * step) >> 8); };
        bands.push_back(
            {{start(i), r.top, right, r.bottom}, ui::Rgb(level(r0, rs), level(g0, gs), level(b0, bs))});
    }
    return bands;
}

void GradientFill(ui::Canvas& canvas, const ui::Rect& r, ui::Colour first, ui::Colour second) {
    for (const GradientBand& band : GradientBands(r, first, second)) canvas.FillRect(band.rect, band.colour);
}

unsigned LabelTextFormat(std::uint32_t style, const std::string& text) {
    namespace tf = ui::text_format;
    if (style & ui::style::kStaticCentreImage) {
        if (text.find("\r\n") == std::string::npos) return tf::kCentre | tf::kVCentre | tf::kSingleLine;
        return tf::kCentre | tf::kWordBreak;
    }
    switch (style & ui::style::kStaticTypeMask) {
        case ui::style::kStaticCentre:
            return tf::kCentre | tf::kWordBreak;
        case ui::style::kStaticRight:
            return tf::kRight | tf::kWordBreak;
        case ui::style::kStaticLeftNoWordWrap:
            return tf::kLeft;
        default:
            return tf::kLeft | tf::kWordBreak;
    }
}

void ColourLabel::Attach(ui::DialogView& view, int id) {
    Detach();
    view_ = &view;
    id_ = id;
    font_ = view.ControlFont(id);
    ui::Windowing& w = ui::CurrentWindowing();
    textColour_ = w.SystemColourOf(ui::SystemColour::WindowText);
    face_ = w.SystemColourOf(ui::SystemColour::ButtonFace);
    view.AttachCustomControl(id, this);
    Redraw();
}

void ColourLabel::Detach() {
    if (!view_) return;
    view_->StopControlTimer(id_, kFlashTimerId);
    view_->AttachCustomControl(id_, nullptr);
    view_ = nullptr;
    flash_ = FlashMode::None;
    phase_ = false;
}

void ColourLabel::OnViewGone() {
    // The window's timers went with it.
    view_ = nullptr;
    flash_ = FlashMode::None;
    phase_ = false;
}

void ColourLabel::Redraw() {
    if (view_) view_->InvalidateControl(id_, true);
}

void ColourLabel::FontChanged() {
    if (view_) view_->SetControlFont(id_, font_);
    Redraw();
}

void ColourLabel::SetBackground(ui::Colour colour, ui::Colour second, bool gradient) {
    gradient_ = gradient;
    if (gradient) {
        gradientFirst_ = colour;
        gradientSecond_ = second;
    } else {
        background_ = colour;
    }
    Redraw();
}

void ColourLabel::SetTextColour(ui::Colour colour) {
    textColour_ = colour;
    Redraw();
}

void ColourLabel::SetText(const std::string& cp1251) {
    if (view_) view_->SetControlText(id_, cp1251);
    Redraw();
}

void ColourLabel::SetBold(bool bold) {
    font_.weight = bold ? 700 : 400;
    FontChanged();
}

void ColourLabel::SetFaceName(const std::string& face, int charset) {
    font_.face = face;
    font_.charset = charset;
    FontChanged();
}

void ColourLabel::SetUnderline(bool underline) {
    font_.underline = underline;
    FontChanged();
}

void ColourLabel::SetItalic(bool italic) {
    font_.italic = italic;
    FontChanged();
}

void ColourLabel::SetSize(int points) {
    // A point font of the size: the height follows the screen's resolution, the width is the
    // face's own.
    font_.height = ui::PointsToHeight(points, ui::CurrentWindowing().LogPixelsY());
    font_.width = 0;
    FontChanged();
}

void ColourLabel::SetSunken(bool sunken) {
    if (!view_) return;
    view_->ModifyControlStyle(id_, sunken ? 0 : ui::style::kExStaticEdge,
                              sunken ? ui::style::kExStaticEdge : 0, true);
}

void ColourLabel::SetBorder(bool border) {
    if (!view_) return;
    view_->ModifyControlStyle(id_, border ? 0 : ui::style::kBorder, border ? ui::style::kBorder : 0, false);
}

void ColourLabel::SetTransparent(bool transparent) {
    transparent_ = transparent;
    if (view_)
        view_->ModifyControlStyle(id_, transparent ? 0 : ui::style::kExTransparent,
                                  transparent ? ui::style::kExTransparent : 0, true);
    Redraw();
}

void ColourLabel::StartFlash(FlashMode mode) {
    StopFlash();
    if (!view_) return;
    phase_ = false;
    if (view_->StartControlTimer(id_, kFlashTimerId, kFlashPeriodMs)) flash_ = mode;
}

void ColourLabel::StopFlash() {
    if (view_) view_->StopControlTimer(id_, kFlashTimerId);
    const bool wasHidden = flash_ == FlashMode::Text && phase_;
    flash_ = FlashMode::None;
    // Stopped in the hidden phase, the text would otherwise stay invisible for good.
    phase_ = false;
    if (wasHidden) Redraw();
}

void ColourLabel::FlashText(bool on) {
    if (on)
        StartFlash(FlashMode::Text);
    else
        StopFlash();
}

void ColourLabel::FlashBackground(bool on) {
    if (on)
        StartFlash(FlashMode::Background);
    else
        StopFlash();
}

void ColourLabel::OnTimer(int timerId) {
    if (timerId != kFlashTimerId || flash_ == FlashMode::None) return;
    phase_ = !phase_;
    Redraw();
}

void ColourLabel::SetLink(bool link, bool notify) {
    link_ = link;
    notify_ = notify;
    if (view_)
        view_->ModifyControlStyle(id_, link ? 0 : ui::style::kStaticNotify,
                                  link ? ui::style::kStaticNotify : 0, false);
}

void ColourLabel::SetLinkCursor(ui::Cursor cursor) {
    cursor_ = cursor;
    if (view_) view_->SetControlCursor(id_, cursor);
}

void ColourLabel::Set3DText(bool on, bool downRight) {
    text3d_ = on;
    text3dDownRight_ = downRight;
    Redraw();
}

void ColourLabel::SetRotation(int degrees, bool on) {
    rotation_ = on;
    // Without rotation the text is laid out in the rectangle, which only upright text fits.
    font_.escapement = on ? degrees * 10 : 0;
    font_.orientation = font_.escapement;
    FontChanged();
}

void ColourLabel::SetHighlightColour(ui::Colour colour) {
    highlight_ = colour;
    Redraw();
}

void ColourLabel::OnSystemColoursChanged() {
    face_ = ui::CurrentWindowing().SystemColourOf(ui::SystemColour::ButtonFace);
    Redraw();
}

void ColourLabel::OnClick() {
    if (!view_ || !link_) return;
    if (notify_)
        view_->NotifyParent(id_, kLinkClickNotification);
    else
        ui::CurrentWindowing().ShellOpen(view_->ControlText(id_));
}

void ColourLabel::Paint(ui::Canvas& canvas, const ui::Rect& client) {
    if (!view_) return;
    if (!transparent_) canvas.BeginBuffer(client);
    canvas.SetFont(font_);
    canvas.SetTextColour(textColour_);
    canvas.SetTransparentText(true);
    if (!transparent_) {
        if (gradient_)
            GradientFill(canvas, client, gradientFirst_, gradientSecond_);
        else
            canvas.FillRect(client, background_.value_or(face_));
    }
    // In the hidden phase the text is left out rather than painted in the background's colour:
    // over a gradient or a transparent label no one colour would hide it.
    if (flash_ != FlashMode::Text || !phase_) {
        const std::string text = view_->ControlText(id_);
        if (rotation_) {
            canvas.TextAt(client.Centre(), text, ui::TextAnchor::BaselineCentre);
        } else {
            const unsigned format = LabelTextFormat(view_->ControlStyle(id_), text);
            canvas.DrawText(text, client, format);
            if (text3d_) {
                const int d = text3dDownRight_ ? 1 : -1;
                canvas.SetTextColour(highlight_);
                canvas.DrawText(text, client.Offset(d, d), format);
            }
        }
    }
    if (!transparent_) canvas.EndBuffer();
}

}  // namespace klt::frontdesk
