#pragma once
// Dialog templates of the module, as data: every backend builds its windows from these.
#include "res/pictures.h"
#include "text/literal.h"
#include "ui/dialog.h"

namespace klt::res {

using namespace klt::text::literals;

inline constexpr std::uint32_t kTouchDialogStyle =
    ui::style::kPopup | ui::style::kCaption | ui::style::kSysMenu | ui::style::kModalFrame |
    ui::style::kSetFont | ui::style::kCentre | ui::style::kSetForeground;

// ---- numeric keypad, template 291 ----

inline constexpr int kNumberPadDialog = 291;
inline constexpr int kPadDisplay = 297;
inline constexpr int kPadKey0 = 243, kPadKeyPoint = 244, kPadKey00 = 245, kPadConfirm = 246;
inline constexpr int kPadKey1 = 247, kPadKey2 = 248, kPadKey3 = 249;
inline constexpr int kPadKey4 = 250, kPadKey5 = 251, kPadKey6 = 252;
inline constexpr int kPadKey7 = 253, kPadKey8 = 254, kPadKey9 = 255;
inline constexpr int kPadClear = 256;
inline constexpr int kPadCancel = ui::kIdCancel;

namespace detail {
// Touch keys have no tab stop: there is no keyboard to move between them.
constexpr ui::ControlTemplate Key(int id, int x, int y, int picture) {
    return {.id = id,
            .kind = ui::ControlKind::Button,
            .text = "",
            .x = x,
            .y = y,
            .cx = 38,
            .cy = 34,
            .style = ui::style::kButtonPush | ui::style::kButtonBitmap,
            .exStyle = 0,
            .picture = picture};
}
}  // namespace detail

inline constexpr ui::ControlTemplate kNumberPadControls[] = {
    {ui::kIdStatic, ui::ControlKind::Static, "", 2, 1, 158, 23, ui::style::kStaticEtchedFrame, 0, 0},
    {kPadDisplay, ui::ControlKind::Label, "", 3, 2, 156, 21,
     ui::style::kStaticCentre | ui::style::kStaticCentreImage, 0, 0},
    detail::Key(kPadKey7, 2, 26, kPictureKey7),
    detail::Key(kPadKey8, 42, 26, kPictureKey8),
    detail::Key(kPadKey9, 82, 26, kPictureKey9),
    detail::Key(kPadClear, 122, 26, kPictureKeyClear),
    detail::Key(kPadKey4, 2, 61, kPictureKey4),
    detail::Key(kPadKey5, 42, 61, kPictureKey5),
    detail::Key(kPadKey6, 82, 61, kPictureKey6),
    detail::Key(kPadCancel, 122, 61, kPictureCancel),
    detail::Key(kPadKey1, 2, 96, kPictureKey1),
    detail::Key(kPadKey2, 42, 96, kPictureKey2),
    detail::Key(kPadKey3, 82, 96, kPictureKey3),
    {kPadConfirm, ui::ControlKind::Button, "", 122, 96, 38, 69,
     ui::style::kButtonPush | ui::style::kButtonBitmap, 0, kPictureConfirm},
    detail::Key(kPadKey0, 2, 131, kPictureKey0),
    detail::Key(kPadKeyPoint, 42, 131, kPictureKeyPoint),
    detail::Key(kPadKey00, 82, 131, kPictureKey00),
};

// The caption is set when the keypad opens.
inline constexpr ui::DialogTemplate kNumberPadTemplate{
    kNumberPadDialog, "", 164, 169, kTouchDialogStyle, 8, "MS Sans Serif", kNumberPadControls};

// ---- course choice, template 293 ----

inline constexpr int kCourseDialog = 293;
inline constexpr int kCourse1 = 243, kCourse2 = 244, kCourse3 = 245, kCourse4 = 246;
inline constexpr int kCourseCancel = ui::kIdCancel;

inline constexpr ui::ControlTemplate kCourseControls[] = {
    {kCourse1, ui::ControlKind::Button, "", 2, 3, 39, 34, ui::style::kButtonBitmap, 0, kPictureKey1},
    {kCourse2, ui::ControlKind::Button, "", 46, 3, 39, 34, ui::style::kButtonBitmap, 0, kPictureKey2},
    {kCourse3, ui::ControlKind::Button, "", 89, 3, 39, 34, ui::style::kButtonBitmap, 0, kPictureKey3},
    {kCourse4, ui::ControlKind::Button, "", 134, 3, 39, 34, ui::style::kButtonBitmap, 0, kPictureKey4},
    {kCourseCancel, ui::ControlKind::Button, "", 189, 4, 36, 32, ui::style::kButtonBitmap, 0, kPictureCancel},
};

inline constexpr ui::DialogTemplate kCourseTemplate{
    kCourseDialog,  "НАЗНАЧЬТЕ КУРС ПРИГОТОВЛЕНИЯ"_cp, 231, 41, kTouchDialogStyle, 8, "MS Sans Serif",
    kCourseControls};

}  // namespace klt::res
