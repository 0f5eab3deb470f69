#pragma once
// Dialog template of the hall editor, as data. The plan area is the client area above the
// separator 319, 797 x 489 pixels with the dialog font; the controls stand in the strip below it.
#include "res/editor_dialogs.h"
#include "res/pictures.h"
#include "text/literal.h"
#include "ui/dialog.h"

namespace klt::res {

inline constexpr int kHallEditorDialog = 262;
inline constexpr int kEdHall = 209, kEdBar = 210;
inline constexpr int kEdNumberSpin = 230, kEdNumber = 231;
inline constexpr int kEdTableCount = 232;
inline constexpr int kEdLoad = 245, kEdSave = 246;
inline constexpr int kEdAddRectangle = 229, kEdAddRhombus = 233, kEdAddEllipse = 235;
inline constexpr int kEdTableColour = 237;
inline constexpr int kEdTableGroup = 239;
inline constexpr int kEdUsePicture = 238;
inline constexpr int kEdPicturePath = 1005, kEdBrowse = 244, kEdLoadPicture = 247;
inline constexpr int kEdShowSums = 249, kEdShowNames = 250;
inline constexpr int kEdOccupiedFill = 240, kEdReservedFill = 241;
inline constexpr int kEdOccupiedSum = 248, kEdOccupiedName = 251;
inline constexpr int kEdReservedTime = 252, kEdReservedName = 253;
inline constexpr int kEdOccupiedSumLabel = 255, kEdOccupiedNameLabel = 256, kEdReservedNameLabel = 218;
inline constexpr int kEdColourScheme = 257;
inline constexpr int kEdSeparator = 319;
inline constexpr int kEdExit = ui::kIdCancel;

inline constexpr std::uint32_t kStaticEtchedHorizontal = 0x10;

namespace editor {
constexpr ui::ControlTemplate AddButton(int id, int x, int picture) {
    return {id,  ui::ControlKind::Button,
            "",  x,
            312, 22,
            20,  ui::style::kButtonBitmap | ui::style::kTabStop,
            0,   picture};
}
constexpr ui::ControlTemplate SmallSwatch(int id, int x, int y) {
    return {id, ui::ControlKind::Label, "", x, y, 16, 10, ui::style::kStaticNotify, ui::style::kExStaticEdge,
            0};
}
}  // namespace editor

inline constexpr ui::ControlTemplate kHallEditorControls[] = {
    {kEdSeparator, ui::ControlKind::Static, "", 0, 301, 530, 2, kStaticEtchedHorizontal, 0, 0},

    {kEdTableGroup, ui::ControlKind::Button, "Стол"_cp, 2, 302, 94, 50, ui::style::kButtonGroupBox, 0, 0},
    editor::AddButton(kEdAddRectangle, 8, kPictureAddRectangle),
    editor::AddButton(kEdAddRhombus, 36, kPictureAddRhombus),
    editor::AddButton(kEdAddEllipse, 64, kPictureAddEllipse),
    editor::SmallSwatch(kEdTableColour, 8, 337),
    editor::Text(ui::kIdStatic, "- Цвет стола"_cp, 26, 335, 60),

    editor::Radio(kEdHall, "Зал"_cp, 102, 304, 30),
    editor::Radio(kEdBar, "Бар"_cp, 134, 304, 30),
    editor::Text(ui::kIdStatic, "№"_cp, 102, 320, 10),
    editor::Field(kEdNumber, 114, 320, 30),
    editor::Spin(kEdNumberSpin, 144, 320),
    editor::Text(ui::kIdStatic, "Столов:"_cp, 102, 336, 30),
    editor::Text(kEdTableCount, "0", 134, 336, 24),
    editor::Push(kEdLoad, "Загрузить"_cp, 166, 304, 48),
    editor::Push(kEdSave, "Сохранить"_cp, 166, 320, 48),

    editor::Check(kEdUsePicture, "Использовать фоновую картинку"_cp, 220, 304, 126),
    editor::Field(kEdPicturePath, 220, 320, 82),
    editor::Push(kEdBrowse, "...", 304, 319, 14),
    editor::Push(kEdLoadPicture, "Загрузить"_cp, 320, 319, 44),
    editor::Text(ui::kIdStatic, "Выводить:"_cp, 220, 336, 36),
    editor::Check(kEdShowSums, "сумму"_cp, 258, 336, 38),
    editor::Check(kEdShowNames, "название"_cp, 298, 336, 48),

    editor::SmallSwatch(kEdOccupiedFill, 368, 305),
    editor::Text(ui::kIdStatic, "- занят"_cp, 386, 303, 36),
    editor::SmallSwatch(kEdOccupiedSum, 368, 321),
    editor::Text(kEdOccupiedSumLabel, "- сумма"_cp, 386, 319, 36),
    editor::SmallSwatch(kEdOccupiedName, 368, 337),
    editor::Text(kEdOccupiedNameLabel, "- название"_cp, 386, 335, 40),
    editor::SmallSwatch(kEdReservedFill, 428, 305),
    editor::Text(ui::kIdStatic, "- бронь"_cp, 446, 303, 36),
    editor::SmallSwatch(kEdReservedTime, 428, 321),
    editor::Text(ui::kIdStatic, "- время"_cp, 446, 319, 36),
    editor::SmallSwatch(kEdReservedName, 428, 337),
    editor::Text(kEdReservedNameLabel, "- название"_cp, 446, 335, 40),

    editor::Push(kEdColourScheme, "Настройка"_cp, 488, 304, 40),
    editor::Push(kEdExit, "ВЫХОД"_cp, 488, 336, 40),
};

inline constexpr ui::DialogTemplate kHallEditorTemplate{
    kHallEditorDialog, "Редактор залов"_cp, 530, 354, kEditorDialogStyle, 8,
    "MS Sans Serif",   kHallEditorControls};

}  // namespace klt::res
