#pragma once
// Dialog templates of the hall editor's table properties and colour scheme, as data.
#include "res/dialogs.h"
#include "text/literal.h"
#include "ui/dialog.h"

namespace klt::res {

inline constexpr std::uint32_t kEditorDialogStyle = ui::style::kPopup | ui::style::kCaption |
                                                    ui::style::kSysMenu | ui::style::kModalFrame |
                                                    ui::style::kSetFont | ui::style::kCentre;

namespace editor {
constexpr ui::ControlTemplate Text(int id, std::string_view text, int x, int y, int cx) {
    return {id, ui::ControlKind::Static, text, x, y + 2, cx, 10, ui::style::kStaticLeft, 0, 0};
}
constexpr ui::ControlTemplate Field(int id, int x, int y, int cx) {
    return {id, ui::ControlKind::Edit,
            "", x,
            y,  cx,
            12, ui::style::kBorder | ui::style::kTabStop | ui::style::kEditAutoScroll,
            0,  0};
}
constexpr ui::ControlTemplate Spin(int id, int x, int y) {
    return {id,
            ui::ControlKind::Spin,
            "",
            x,
            y,
            10,
            12,
            ui::style::kSpinSetBuddyNumber | ui::style::kSpinAlignRight | ui::style::kSpinAutoBuddy |
                ui::style::kSpinArrowKeys | ui::style::kSpinNoThousands,
            0,
            0};
}
constexpr ui::ControlTemplate Radio(int id, std::string_view text, int x, int y, int cx) {
    return {id, ui::ControlKind::Button, text, x, y, cx, 12, ui::style::kButtonRadio | ui::style::kTabStop, 0,
            0};
}
constexpr ui::ControlTemplate Check(int id, std::string_view text, int x, int y, int cx) {
    return {
        id, ui::ControlKind::Button, text, x, y, cx, 12, ui::style::kButtonCheckBox | ui::style::kTabStop, 0,
        0};
}
constexpr ui::ControlTemplate Push(int id, std::string_view text, int x, int y, int cx,
                                   bool isDefault = false) {
    return {id,   ui::ControlKind::Button,
            text, x,
            y,    cx,
            14,   (isDefault ? ui::style::kButtonDefault : ui::style::kButtonPush) | ui::style::kTabStop,
            0,    0};
}
// A colour the user clicks to change: painted by the dialog, framed by the static's edge.
constexpr ui::ControlTemplate Swatch(int id, int x, int y, bool clickable = true) {
    return {id,
            ui::ControlKind::Label,
            "",
            x,
            y,
            24,
            12,
            clickable ? ui::style::kStaticNotify : 0u,
            ui::style::kExStaticEdge,
            0};
}
constexpr ui::ControlTemplate Group(std::string_view text, int x, int y, int cx, int cy) {
    return {ui::kIdStatic, ui::ControlKind::Button, text, x, y, cx, cy, ui::style::kButtonGroupBox, 0, 0};
}
}  // namespace editor

// ---- table properties, template 115 ----

inline constexpr int kTablePropertiesDialog = 115;
inline constexpr int kPropNumber = 1004;
inline constexpr int kPropName = 1005;
inline constexpr int kPropShapeRectangle = 209, kPropShapeRhombus = 210, kPropShapeEllipse = 211;
inline constexpr int kPropRounding = 1020;
inline constexpr int kPropThickness = 258;
inline constexpr int kPropOutlineColour = 237;
inline constexpr int kPropFreeColour = 240;
inline constexpr int kPropShowSum = 250;
inline constexpr int kPropSumTop = 260, kPropSumVCentre = 261, kPropSumBottom = 262;
inline constexpr int kPropSumLeft = 263, kPropSumCentre = 264, kPropSumRight = 265;
inline constexpr int kPropSumFont = 243;
inline constexpr int kPropSumOffset = 238;
inline constexpr int kPropSumX = 267, kPropSumXSpin = 230, kPropSumY = 268, kPropSumYSpin = 270;
inline constexpr int kPropShowName = 303;
inline constexpr int kPropNameTop = 266, kPropNameVCentre = 269, kPropNameBottom = 271;
inline constexpr int kPropNameLeft = 272, kPropNameCentre = 273, kPropNameRight = 274;
inline constexpr int kPropNameFont = 244;
inline constexpr int kPropNameColour = 241;
inline constexpr int kPropNameOffset = 239;
inline constexpr int kPropNameX = 275, kPropNameXSpin = 231, kPropNameY = 276, kPropNameYSpin = 277;
inline constexpr int kPropSeveralOrders = 249;
inline constexpr int kPropApply = ui::kIdOk;
inline constexpr int kPropCancel = ui::kIdCancel;
// Labels that hide with the controls they name.
inline constexpr int kPropRoundingLabel = 1101;
inline constexpr int kPropSumVLabel = 1102, kPropSumHLabel = 1103, kPropSumXLabel = 1104,
                     kPropSumYLabel = 1105;
inline constexpr int kPropNameVLabel = 1106, kPropNameHLabel = 1107, kPropNameXLabel = 1108,
                     kPropNameYLabel = 1109;

// The preview has the client area's left part (all but the right 300 pixels) from 100 pixels down;
// the table's own fields stand above and below it, the sum's and the name's on the right.
inline constexpr ui::ControlTemplate kTablePropertiesControls[] = {
    editor::Text(ui::kIdStatic, "№ стола:"_cp, 6, 6, 34),
    editor::Field(kPropNumber, 42, 6, 30),
    editor::Text(ui::kIdStatic, "Название:"_cp, 82, 6, 38),
    editor::Field(kPropName, 122, 6, 140),
    editor::Radio(kPropShapeRectangle, "прямоугольный"_cp, 6, 24, 70),
    editor::Radio(kPropShapeRhombus, "Ромб"_cp, 82, 24, 40),
    editor::Radio(kPropShapeEllipse, "Круглый"_cp, 126, 24, 50),
    editor::Text(kPropRoundingLabel, "Окрегление углов:"_cp, 6, 40, 78),
    editor::Field(kPropRounding, 86, 40, 30),
    editor::Text(ui::kIdStatic, "Толщина обводки:"_cp, 138, 40, 76),
    editor::Field(kPropThickness, 216, 40, 30),
    editor::Text(ui::kIdStatic, "Цвет обводки:"_cp, 6, 252, 52),
    editor::Swatch(kPropOutlineColour, 60, 252),
    editor::Text(ui::kIdStatic, "Цвет стола в свободном состоянии:"_cp, 94, 252, 140),
    editor::Swatch(kPropFreeColour, 236, 252),
    editor::Check(kPropSeveralOrders, "Разрешить оформлять несколько заказов на стол"_cp, 6, 272, 220),

    editor::Group("Сумма"_cp, 272, 2, 192, 102),
    editor::Check(kPropShowSum, "Выводить сумму для этого стола"_cp, 278, 14, 180),
    editor::Text(kPropSumVLabel, "По вертикали:"_cp, 278, 30, 62),
    editor::Radio(kPropSumTop, "верх"_cp, 342, 30, 36),
    editor::Radio(kPropSumVCentre, "центр"_cp, 380, 30, 40),
    editor::Radio(kPropSumBottom, "низ"_cp, 422, 30, 40),
    editor::Text(kPropSumHLabel, "По горизонтали:"_cp, 278, 46, 62),
    editor::Radio(kPropSumLeft, "лево"_cp, 342, 46, 36),
    editor::Radio(kPropSumCentre, "центр"_cp, 380, 46, 40),
    editor::Radio(kPropSumRight, "право"_cp, 422, 46, 40),
    editor::Push(kPropSumFont, "Шрифт"_cp, 278, 64, 50),
    editor::Check(kPropSumOffset, "Произвольно"_cp, 278, 86, 58),
    editor::Text(kPropSumXLabel, "Х:"_cp, 340, 86, 10),
    editor::Field(kPropSumX, 352, 86, 34),
    editor::Spin(kPropSumXSpin, 386, 86),
    editor::Text(kPropSumYLabel, "Y:"_cp, 402, 86, 10),
    editor::Field(kPropSumY, 414, 86, 34),
    editor::Spin(kPropSumYSpin, 448, 86),

    editor::Group("Название"_cp, 272, 108, 192, 102),
    editor::Check(kPropShowName, "Выводить название для этого стола"_cp, 278, 120, 180),
    editor::Text(kPropNameVLabel, "По вертикали:"_cp, 278, 136, 62),
    editor::Radio(kPropNameTop, "верх"_cp, 342, 136, 36),
    editor::Radio(kPropNameVCentre, "центр"_cp, 380, 136, 40),
    editor::Radio(kPropNameBottom, "низ"_cp, 422, 136, 40),
    editor::Text(kPropNameHLabel, "По горизонтали:"_cp, 278, 152, 62),
    editor::Radio(kPropNameLeft, "лево"_cp, 342, 152, 36),
    editor::Radio(kPropNameCentre, "центр"_cp, 380, 152, 40),
    editor::Radio(kPropNameRight, "право"_cp, 422, 152, 40),
    editor::Push(kPropNameFont, "Шрифт"_cp, 278, 170, 50),
    editor::Swatch(kPropNameColour, 334, 171, false),  // the name font's colour
    editor::Check(kPropNameOffset, "Произвольно"_cp, 278, 192, 58),
    editor::Text(kPropNameXLabel, "Х:"_cp, 340, 192, 10),
    editor::Field(kPropNameX, 352, 192, 34),
    editor::Spin(kPropNameXSpin, 386, 192),
    editor::Text(kPropNameYLabel, "Y:"_cp, 402, 192, 10),
    editor::Field(kPropNameY, 414, 192, 34),
    editor::Spin(kPropNameYSpin, 448, 192),

    editor::Push(kPropApply, "Применить"_cp, 334, 270, 60, true),
    editor::Push(kPropCancel, "Отмена"_cp, 400, 270, 60),
};

inline constexpr ui::DialogTemplate kTablePropertiesTemplate{
    kTablePropertiesDialog, "Параметры стола"_cp,    470, 292, kEditorDialogStyle, 8,
    "MS Sans Serif",        kTablePropertiesControls};

// ---- colour scheme, template 269 ----

inline constexpr int kColourSchemeDialog = 269;
inline constexpr int kSchemeOccupiedFill = 240;
inline constexpr int kSchemeReservedFill = 241;
inline constexpr int kSchemeOccupiedSum = 248;
inline constexpr int kSchemeOccupiedName = 251;
inline constexpr int kSchemeReservedTime = 252;
inline constexpr int kSchemeReservedName = 253;
inline constexpr int kSchemeShowOccupied = 210;
inline constexpr int kSchemeShowReserved = 211;
inline constexpr int kSchemeApply = ui::kIdOk;
inline constexpr int kSchemeCancel = ui::kIdCancel;

// The sample table stands right of the swatches, over the two radio buttons.
inline constexpr ui::ControlTemplate kColourSchemeControls[] = {
    editor::Group("Занятый стол"_cp, 4, 2, 100, 58),
    editor::Swatch(kSchemeOccupiedFill, 10, 14),
    editor::Text(ui::kIdStatic, "- занят"_cp, 38, 14, 60),
    editor::Swatch(kSchemeOccupiedSum, 10, 28),
    editor::Text(ui::kIdStatic, "- сумма"_cp, 38, 28, 60),
    editor::Swatch(kSchemeOccupiedName, 10, 42),
    editor::Text(ui::kIdStatic, "- название"_cp, 38, 42, 60),
    editor::Group("Бронь"_cp, 4, 64, 100, 58),
    editor::Swatch(kSchemeReservedFill, 10, 76),
    editor::Text(ui::kIdStatic, "- бронь"_cp, 38, 76, 60),
    editor::Swatch(kSchemeReservedTime, 10, 90),
    editor::Text(ui::kIdStatic, "- время"_cp, 38, 90, 60),
    editor::Swatch(kSchemeReservedName, 10, 104),
    editor::Text(ui::kIdStatic, "- название"_cp, 38, 104, 60),
    editor::Radio(kSchemeShowOccupied, "Занят"_cp, 116, 96, 44),
    editor::Radio(kSchemeShowReserved, "Бронь"_cp, 166, 96, 44),
    editor::Push(kSchemeApply, "Применить"_cp, 90, 128, 60, true),
    editor::Push(kSchemeCancel, "Отмена"_cp, 156, 128, 60),
};

inline constexpr ui::DialogTemplate kColourSchemeTemplate{
    kColourSchemeDialog, "Настройка цветовой гаммы"_cp, 222, 148, kEditorDialogStyle, 8,
    "MS Sans Serif",     kColourSchemeControls};

}  // namespace klt::res
