#pragma once
// Template of the manager's hall monitor: a tab for every hall and bar counter, the selected plan,
// and the figures of the selected plan and of all plans.
#include "res/dialogs.h"

namespace klt::res {

// ---- hall monitor, template 314 ----
//
// At 6 x 13 base units a dialog unit is 1.5 px across and 1.625 px down: the plan area's
// 360 x 203 units are 540 x 330 px, the plan's 795 : 485 shape. The figures stand in a column
// beside it, wide enough for a day's sum in the 20-pixel font.

inline constexpr int kMonitorDialog = 314;
inline constexpr int kMonitorTabs = 304;
inline constexpr int kMonitorPlanArea = 307;
inline constexpr int kMonitorClose = ui::kIdCancel;

// The selected plan's figures, then those of all plans; active and closed orders of each.
inline constexpr int kMonitorPlanActiveCount = 308;
inline constexpr int kMonitorPlanActiveSum = 309;
inline constexpr int kMonitorPlanActiveGuests = 310;
inline constexpr int kMonitorPlanClosedCount = 311;
inline constexpr int kMonitorPlanClosedSum = 313;
inline constexpr int kMonitorPlanClosedGuests = 315;
inline constexpr int kMonitorAllActiveCount = 317;
inline constexpr int kMonitorAllActiveSum = 318;
inline constexpr int kMonitorAllActiveGuests = 319;
inline constexpr int kMonitorAllClosedCount = 312;
inline constexpr int kMonitorAllClosedSum = 314;
inline constexpr int kMonitorAllClosedGuests = 316;

namespace detail {
constexpr int kFiguresLeft = 370;  // the label column; the active and closed columns follow
constexpr int kLabelWidth = 32, kFigureWidth = 54;

constexpr ui::ControlTemplate MonitorLabel(std::string_view text, int x, int y, int cx, std::uint32_t style) {
    return {
        ui::kIdStatic, ui::ControlKind::Static, text, x, y, cx, 10, style | ui::style::kStaticNoPrefix, 0, 0};
}
constexpr ui::ControlTemplate MonitorFigure(int id, int column, int y) {
    return {id, ui::ControlKind::Static,
            "", kFiguresLeft + kLabelWidth + 2 + column * (kFigureWidth + 2),
            y,  kFigureWidth,
            14, ui::style::kStaticRight | ui::style::kStaticNoPrefix,
            0,  0};
}
}  // namespace detail

inline constexpr ui::ControlTemplate kMonitorControls[] = {
    {kMonitorTabs, ui::ControlKind::Tab, "", 4, 4, 510, 14, ui::style::kTabStop, 0, 0},
    // A frame without the notify style: a click inside reaches the dialog, which finds the table.
    {kMonitorPlanArea, ui::ControlKind::Static, "", 4, 21, 360, 203, ui::style::kStaticEtchedFrame, 0, 0},

    detail::MonitorLabel("Выбранный зал"_cp, detail::kFiguresLeft, 22, 144, ui::style::kStaticLeft),
    detail::MonitorLabel("Активные"_cp, 404, 33, 54, ui::style::kStaticRight),
    detail::MonitorLabel("Закрытые"_cp, 460, 33, 54, ui::style::kStaticRight),
    detail::MonitorLabel("Заказов:"_cp, detail::kFiguresLeft, 47, 32, ui::style::kStaticLeft),
    detail::MonitorFigure(kMonitorPlanActiveCount, 0, 44),
    detail::MonitorFigure(kMonitorPlanClosedCount, 1, 44),
    detail::MonitorLabel("Сумма:"_cp, detail::kFiguresLeft, 63, 32, ui::style::kStaticLeft),
    detail::MonitorFigure(kMonitorPlanActiveSum, 0, 60),
    detail::MonitorFigure(kMonitorPlanClosedSum, 1, 60),
    detail::MonitorLabel("Гостей:"_cp, detail::kFiguresLeft, 79, 32, ui::style::kStaticLeft),
    detail::MonitorFigure(kMonitorPlanActiveGuests, 0, 76),
    detail::MonitorFigure(kMonitorPlanClosedGuests, 1, 76),

    detail::MonitorLabel("Все залы и бары"_cp, detail::kFiguresLeft, 100, 144, ui::style::kStaticLeft),
    detail::MonitorLabel("Активные"_cp, 404, 111, 54, ui::style::kStaticRight),
    detail::MonitorLabel("Закрытые"_cp, 460, 111, 54, ui::style::kStaticRight),
    detail::MonitorLabel("Заказов:"_cp, detail::kFiguresLeft, 125, 32, ui::style::kStaticLeft),
    detail::MonitorFigure(kMonitorAllActiveCount, 0, 122),
    detail::MonitorFigure(kMonitorAllClosedCount, 1, 122),
    detail::MonitorLabel("Сумма:"_cp, detail::kFiguresLeft, 141, 32, ui::style::kStaticLeft),
    detail::MonitorFigure(kMonitorAllActiveSum, 0, 138),
    detail::MonitorFigure(kMonitorAllClosedSum, 1, 138),
    detail::MonitorLabel("Гостей:"_cp, detail::kFiguresLeft, 157, 32, ui::style::kStaticLeft),
    detail::MonitorFigure(kMonitorAllActiveGuests, 0, 154),
    detail::MonitorFigure(kMonitorAllClosedGuests, 1, 154),

    // The cancel key's 45 x 45 picture with the button's edge around it.
    {kMonitorClose, ui::ControlKind::Button, "", 478, 257, 36, 32,
     ui::style::kButtonPush | ui::style::kButtonBitmap, 0, kPictureCancel},
};

inline constexpr ui::DialogTemplate kMonitorTemplate{
    kMonitorDialog,  "МОНИТОР АКТИВНОСТИ"_cp, 518, 293, kTouchDialogStyle, 8,
    "MS Sans Serif", kMonitorControls};

}  // namespace klt::res
