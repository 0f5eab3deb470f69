#pragma once
// Templates of the windows that pick a table when an order moves: the zone-change window and, on
// pocket terminals, the compact plan display.
#include "res/dialogs.h"

namespace klt::res {

// ---- zone-change window, template 117 ----
//
// At 6 x 13 base units a dialog unit is 1.5 px across and 1.625 px down: the 64 x 64 command
// pictures need 48 x 44 units and the 45 x 45 cancel picture 36 x 32, with room for the frame.
// The plan area keeps the plan's 797 : 489 shape.

inline constexpr int kZoneChangeDialog = 117;
inline constexpr int kZonePlanArea = 296;
inline constexpr int kZoneChangeHall = 243;
inline constexpr int kZoneChangeUser = 244;
inline constexpr int kZoneMoveToHall = 245;
inline constexpr int kZoneCancel = ui::kIdCancel;
inline constexpr int kZoneCaptionUpper = 226;
inline constexpr int kZoneCaptionLower = 227;

namespace detail {
constexpr ui::ControlTemplate ZoneButton(int id, std::string_view text, int y, int cy, int picture) {
    return {.id = id,
            .kind = ui::ControlKind::Button,
            .text = text,
            .x = 406,
            .y = y,
            .cx = 48,
            .cy = cy,
            .style = ui::style::kButtonPush | ui::style::kButtonBitmap,
            .exStyle = 0,
            .picture = picture};
}
}  // namespace detail

inline constexpr ui::ControlTemplate kZoneChangeControls[] = {
    // A frame without the notify style: a click inside reaches the dialog, which finds the table.
    {kZonePlanArea, ui::ControlKind::Static, "", 4, 4, 398, 226, ui::style::kStaticEtchedFrame, 0, 0},
    detail::ZoneButton(kZoneChangeHall, "", 4, 44, kPictureZoneChange),
    detail::ZoneButton(kZoneChangeUser, "", 52, 44, kPictureUserChange),
    detail::ZoneButton(kZoneMoveToHall, "Перевести в ЗАЛ"_cp, 100, 44, kPictureMoveToHall),
    detail::ZoneButton(kZoneCancel, "", 236, 36, kPictureCancel),
    {kZoneCaptionUpper, ui::ControlKind::Static, "", 4, 234, 398, 17,
     ui::style::kStaticLeftNoWordWrap | ui::style::kStaticNoPrefix, 0, 0},
    {kZoneCaptionLower, ui::ControlKind::Static, "", 4, 254, 398, 17,
     ui::style::kStaticLeftNoWordWrap | ui::style::kStaticNoPrefix, 0, 0},
};

// The caption names the hall or bar counter when the window opens.
inline constexpr ui::DialogTemplate kZoneChangeTemplate{
    kZoneChangeDialog, "", 459, 276, kTouchDialogStyle, 8, "MS Sans Serif", kZoneChangeControls};

// ---- compact plan display, template 318 ----
//
// The quarter-turned plan fills 171 x 265 px from the client's corner (114 x 163 units); the OK
// button stands beside it.

inline constexpr int kCompactPlanDialog = 318;
inline constexpr int kCompactPlanOk = ui::kIdOk;

inline constexpr ui::ControlTemplate kCompactPlanControls[] = {
    {kCompactPlanOk, ui::ControlKind::Button, "OK", 117, 131, 38, 28,
     ui::style::kButtonPush | ui::style::kButtonDefault | ui::style::kTabStop, 0, 0},
};

inline constexpr ui::DialogTemplate kCompactPlanTemplate{
    kCompactPlanDialog, "", 158, 163, kTouchDialogStyle, 8, "MS Sans Serif", kCompactPlanControls};

}  // namespace klt::res
