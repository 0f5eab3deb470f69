#pragma once
// Templates of the front-office windows of the "Windows" object: message, question, password
// keypad, payment type, user choice and computer choice.
#include "res/pictures.h"
#include "text/literal.h"
#include "ui/dialog.h"

namespace klt::res {

using namespace klt::text::literals;

namespace office {
using namespace ui::style;
using ui::ControlKind;

inline constexpr std::uint32_t kPopupFrame = kPopup | kModalFrame | kSetFont | kCentre | kSetForeground;
inline constexpr std::uint32_t kButton = kButtonPush | kTabStop;
inline constexpr std::uint32_t kDefault = kButtonDefault | kTabStop;

constexpr ui::ControlTemplate Button(int id, std::string_view text, int x, int y, int cx, int cy,
                                     std::uint32_t style = kButton) {
    return {id, ControlKind::Button, text, x, y, cx, cy, style, 0, 0};
}
}  // namespace office

// ---- message, template 118, and question, template 120 ----

inline constexpr int kMessageDialog = 118;
inline constexpr int kQuestionDialog = 120;
inline constexpr int kAlertLabel = 233;

inline constexpr ui::ControlTemplate kMessageControls[] = {
    {kAlertLabel, ui::ControlKind::Label, "ПРИВЕТ"_cp, 0, 0, 145, 32, ui::style::kStaticCentre, 0, 0},
    office::Button(ui::kIdOk, "OK", 55, 33, 34, 13, office::kDefault),
};
inline constexpr ui::DialogTemplate kMessageTemplate{
    kMessageDialog, "", 145, 47, office::kPopupFrame, 8, "Times New Roman", kMessageControls};

inline constexpr ui::ControlTemplate kQuestionControls[] = {
    {kAlertLabel, ui::ControlKind::Label, "ПРИВЕТ"_cp, 0, 0, 145, 32, ui::style::kStaticCentre, 0, 0},
    office::Button(ui::kIdOk, "ДА"_cp, 32, 33, 34, 13, office::kDefault),
    office::Button(ui::kIdCancel, "НЕТ"_cp, 79, 33, 34, 13),
};
inline constexpr ui::DialogTemplate kQuestionTemplate{
    kQuestionDialog, "", 145, 47, office::kPopupFrame, 8, "Times New Roman", kQuestionControls};

// ---- password keypad, template 119 ----

inline constexpr int kPasswordDialog = 119;
inline constexpr int kPasswordText = 1021;
inline constexpr int kPasswordKey1 = 1001;  // 1001 to 1009 are the digits 1 to 9
inline constexpr int kPasswordKey0 = 1010, kPasswordKeyPoint = 1011, kPasswordKey00 = 1012;
inline constexpr int kPasswordClear = 1013;

inline constexpr ui::ControlTemplate kPasswordControls[] = {
    {kPasswordText, ui::ControlKind::Edit, "", 3, 2, 101, 12,
     ui::style::kBorder | ui::style::kEditCentre | ui::style::kEditPassword | ui::style::kEditReadOnly |
         ui::style::kEditAutoScroll,
     0, 0},
    office::Button(1007, "7", 3, 17, 24, 19),
    office::Button(1008, "8", 29, 17, 24, 19),
    office::Button(1009, "9", 55, 17, 24, 19),
    office::Button(1004, "4", 3, 39, 24, 19),
    office::Button(1005, "5", 29, 39, 24, 19),
    office::Button(1006, "6", 55, 39, 24, 19),
    office::Button(1001, "1", 3, 61, 24, 19),
    office::Button(1002, "2", 29, 61, 24, 19),
    office::Button(1003, "3", 55, 61, 24, 19),
    office::Button(kPasswordKey0, "0", 3, 83, 24, 19),
    office::Button(kPasswordKeyPoint, ".", 29, 83, 24, 19),
    office::Button(kPasswordKey00, "00", 55, 83, 24, 19),
    office::Button(kPasswordClear, "C", 82, 17, 24, 19),
    office::Button(ui::kIdCancel, "Exit", 82, 39, 24, 19),
    office::Button(ui::kIdOk, "OK", 82, 61, 24, 41, office::kDefault),
};
inline constexpr ui::DialogTemplate kPasswordTemplate{kPasswordDialog,
                                                      "         ВВЕДИТЕ ПАРОЛЬ"_cp,
                                                      109,
                                                      105,
                                                      office::kPopupFrame | ui::style::kCaption,
                                                      8,
                                                      "MS Sans Serif",
                                                      kPasswordControls};

// ---- payment type, template 114 ----

inline constexpr int kPaymentDialog = 114;
inline constexpr int kPaymentTitle = 223;
inline constexpr int kPaymentCard = 243, kPaymentTransfer = 244;

inline constexpr ui::ControlTemplate kPaymentControls[] = {
    {kPaymentTitle, ui::ControlKind::Label, "", 7, 6, 123, 21, ui::style::kStaticCentre, 0, 0},
    office::Button(kPaymentCard, "КРЕДИТНОЙ КАРТОЙ"_cp, 7, 32, 123, 24),
    office::Button(kPaymentTransfer, "ПО БЕЗНАЛИЧНОМУ РАСЧЕТУ"_cp, 7, 60, 123, 24),
    office::Button(ui::kIdCancel, "ВЫХОД"_cp, 45, 97, 50, 16),
};
inline constexpr ui::DialogTemplate kPaymentTemplate{kPaymentDialog,
                                                     "",
                                                     139,
                                                     118,
                                                     ui::style::kPopup | ui::style::kBorder |
                                                         ui::style::kSetFont | ui::style::kCentre |
                                                         ui::style::kSetForeground,
                                                     8,
                                                     "MS Sans Serif",
                                                     kPaymentControls};

// ---- user choice, template 112 ----

inline constexpr int kUserDialog = 112;
inline constexpr int kUserList = 215;

inline constexpr ui::ControlTemplate kUserControls[] = {
    {ui::kIdStatic, ui::ControlKind::Static, "ВЫБЕРИТЕ ПОЛЬЗОВАТЕЛЯ"_cp, 7, 4, 128, 16,
     ui::style::kStaticCentre, 0, 0},
    {kUserList, ui::ControlKind::List, "", 7, 25, 128, 131,
     ui::style::kBorder | ui::style::kTabStop | ui::style::kListReport | ui::style::kListSingleSelection |
         ui::style::kListShowSelectionAlways | ui::style::kListSortAscending | ui::style::kListNoColumnHeader,
     0, 0},
    office::Button(ui::kIdCancel, "Отмена"_cp, 45, 165, 50, 14),
};
inline constexpr ui::DialogTemplate kUserTemplate{
    kUserDialog, "", 142, 186, office::kPopupFrame, 8, "MS Sans Serif", kUserControls};

// ---- computer choice, template 111 ----

inline constexpr int kComputerDialog = 111;
inline constexpr int kComputerTree = 212;

inline constexpr ui::ControlTemplate kComputerControls[] = {
    {ui::kIdStatic, ui::ControlKind::Static, "ВЫБЕРИТЕ КОМПЬЮТЕР СЕТИ"_cp, 3, 2, 168, 16,
     ui::style::kStaticCentre, 0, 0},
    {kComputerTree, ui::ControlKind::Tree, "", 3, 20, 168, 155,
     ui::style::kBorder | ui::style::kTabStop | ui::style::kTreeHasLines | ui::style::kTreeHasButtons |
         ui::style::kTreeLinesAtRoot,
     0, 0},
    office::Button(ui::kIdCancel, "Cancel", 64, 179, 50, 14),
};
inline constexpr ui::DialogTemplate kComputerTemplate{
    kComputerDialog, "", 174, 198, office::kPopupFrame, 8, "MS Sans Serif", kComputerControls};

}  // namespace klt::res
