#pragma once
// Dialog templates of the hall views and of the summary of the user's open orders, as data.
#include "res/dialogs.h"
#include "res/pictures.h"
#include "text/literal.h"
#include "ui/dialog.h"

namespace klt::res {

// The hall views cover the host's main window's client area: no caption or frame of their own,
// and the plan painted under the controls never paints over them.
inline constexpr std::uint32_t kHallViewStyle =
    ui::style::kPopup | ui::style::kSetFont | ui::style::kSetForeground | ui::style::kClipChildren;

// ---- full hall view, template 270 ----

inline constexpr int kHallViewDialog = 270;
inline constexpr int kHallClock = 225;
inline constexpr int kHallCaptionUpper = 226;  // middle of the bottom bar, upper line
inline constexpr int kHallCaptionLower = 227;  // middle of the bottom bar, lower line
inline constexpr int kHallCaptionRight = 228;  // right of the bottom bar, above the clock
inline constexpr int kHallClose = ui::kIdCancel;
inline constexpr int kHallReserve = 244;
inline constexpr int kHallMerge = 245;
inline constexpr int kHallReturn = 246;
inline constexpr int kHallSummary = 247;
inline constexpr int kHallToBar = 248;
inline constexpr int kHallToHall = 249;
inline constexpr int kHallBatchPayment = 250;
inline constexpr int kHallService = 251;

namespace detail {
// The bottom bar starts where the plan's 489 rows end (of the 577 the window is scaled by). Its
// buttons hold a 64 × 64 picture with the button's edge around it: 45 × 42 units are 68 × 68 pixels.
inline constexpr int kBarTop = 303;
constexpr ui::ControlTemplate CommandButton(int id, int slot, int picture) {
    return {.id = id,
            .kind = ui::ControlKind::Button,
            .text = "",
            .x = 1 + 45 * slot,
            .y = kBarTop,
            .cx = 45,
            .cy = 42,
            .style = ui::style::kButtonPush | ui::style::kButtonBitmap,
            .exStyle = 0,
            .picture = picture};
}
constexpr ui::ControlTemplate BarText(int id, int x, int y, int cx) {
    return {.id = id,
            .kind = ui::ControlKind::Static,
            .text = "",
            .x = x,
            .y = y,
            .cx = cx,
            .cy = 20,
            .style = ui::style::kStaticCentre | ui::style::kStaticCentreImage | ui::style::kStaticNoPrefix,
            .exStyle = 0,
            .picture = 0};
}
}  // namespace detail

inline constexpr ui::ControlTemplate kHallViewControls[] = {
    detail::CommandButton(kHallClose, 0, kPictureHallClose),
    detail::CommandButton(kHallReserve, 1, kPictureReserve),
    // "Возврат" is never offered: it lies under "Бронь" rather than taking a place in the bar.
    detail::CommandButton(kHallReturn, 1, kPictureReturn),
    detail::CommandButton(kHallMerge, 2, kPictureMerge),
    detail::CommandButton(kHallSummary, 3, kPictureSummary),
    detail::CommandButton(kHallBatchPayment, 4, kPictureBatchPayment),
    detail::CommandButton(kHallService, 5, kPictureService),
    detail::CommandButton(kHallToHall, 6, kPictureToHall),
    detail::CommandButton(kHallToBar, 7, kPictureToBar),
    detail::BarText(kHallCaptionUpper, 363, 305, 70),
    detail::BarText(kHallCaptionLower, 363, 328, 70),
    detail::BarText(kHallCaptionRight, 435, 305, 93),
    detail::BarText(kHallClock, 435, 328, 93),
};

inline constexpr ui::DialogTemplate kHallViewTemplate{
    kHallViewDialog, "", 530, 354, kHallViewStyle, 8, "MS Sans Serif", kHallViewControls};

// ---- compact hall view, template 316 ----

inline constexpr int kCompactHallDialog = 316;
inline constexpr int kCompactMerge = 243;

// The turned plan takes the left 171 pixels; the one command stands in the strip beside it.
inline constexpr ui::ControlTemplate kCompactHallControls[] = {
    {kCompactMerge, ui::ControlKind::Button, "Объединить"_cp, 115, 110, 42, 50, ui::style::kButtonPush, 0, 0},
};

inline constexpr ui::DialogTemplate kCompactHallTemplate{
    kCompactHallDialog, "", 158, 163, kHallViewStyle, 8, "MS Sans Serif", kCompactHallControls};

// ---- active orders summary, template 292 ----

inline constexpr int kOrdersSummaryDialog = 292;
inline constexpr int kSummaryCount = 299;
inline constexpr int kSummarySum = 300;
inline constexpr int kSummaryGuests = 301;
inline constexpr int kSummaryCancel = ui::kIdCancel;

inline constexpr ui::ControlTemplate kOrdersSummaryControls[] = {
    {ui::kIdStatic, ui::ControlKind::Static, "Заказов:"_cp, 4, 6, 52, 12, ui::style::kStaticLeft, 0, 0},
    {kSummaryCount, ui::ControlKind::Static, "", 58, 6, 40, 12, ui::style::kStaticRight, 0, 0},
    {ui::kIdStatic, ui::ControlKind::Static, "Сумма:"_cp, 4, 22, 52, 12, ui::style::kStaticLeft, 0, 0},
    {kSummarySum, ui::ControlKind::Static, "", 58, 22, 40, 12, ui::style::kStaticRight, 0, 0},
    {ui::kIdStatic, ui::ControlKind::Static, "Гостей:"_cp, 4, 38, 52, 12, ui::style::kStaticLeft, 0, 0},
    {kSummaryGuests, ui::ControlKind::Static, "", 58, 38, 40, 12, ui::style::kStaticRight, 0, 0},
    // The cancel key's 45 × 45 picture with the button's edge around it.
    {kSummaryCancel, ui::ControlKind::Button, "", 34, 58, 34, 32, ui::style::kButtonBitmap, 0,
     kPictureCancel},
};

// The title is set when the summary opens.
inline constexpr ui::DialogTemplate kOrdersSummaryTemplate{
    kOrdersSummaryDialog, "", 102, 98, kTouchDialogStyle, 8, "MS Sans Serif", kOrdersSummaryControls};

}  // namespace klt::res
