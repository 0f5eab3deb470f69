#pragma once
// Template of the pocket terminal's picture-menu window: twenty places of 37 x 28 dialog units in
// five rows of four, the last place a picture control of another component, and the close button.
#include <array>
#include <utility>

#include "text/literal.h"
#include "ui/dialog.h"

namespace klt::res {

using namespace klt::text::literals;

// ---- pocket picture menu, template 317 ----

inline constexpr int kPocketMenuDialog = 317;
inline constexpr int kPocketMenuClose = ui::kIdOk;
// The places' buttons in order, row by row.
inline constexpr std::array<int, 19> kPocketMenuButtons = {243, 244, 245, 246, 247, 248, 249, 250, 251, 252,
                                                           253, 254, 255, 256, 257, 258, 267, 268, 269};
// The twentieth place; the identifier is ours, the window gives none to the component's control.
inline constexpr int kPocketMenuEmbedded = 270;
inline constexpr std::string_view kPocketMenuEmbeddedClass = "{D7053240-CE69-11CD-A777-00DD01143C57}";
// The area the window is laid in, centred over the host's main window, and its inset on each side.
inline constexpr int kPocketMenuAreaWidth = 240, kPocketMenuAreaHeight = 270, kPocketMenuInset = 2;

namespace pocket {
constexpr ui::ControlTemplate Place(int index) {
    const int x = 2 + 38 * (index % 4), y = 16 + 29 * (index / 4);
    if (index == 19)
        return {
            kPocketMenuEmbedded, ui::ControlKind::Embedded, kPocketMenuEmbeddedClass, x, y, 37, 28, 0, 0, 0};
    return {kPocketMenuButtons[static_cast<std::size_t>(index)],
            ui::ControlKind::Button,
            "",
            x,
            y,
            37,
            28,
            ui::style::kButtonPush,
            0,
            0};
}

template <std::size_t... I>
constexpr std::array<ui::ControlTemplate, 21> Controls(std::index_sequence<I...>) {
    return {ui::ControlTemplate{kPocketMenuClose, ui::ControlKind::Button, "Закрыть"_cp, 3, 1, 50, 14,
                                ui::style::kButtonPush | ui::style::kTabStop, 0, 0},
            Place(I)...};
}
}  // namespace pocket

inline constexpr std::array<ui::ControlTemplate, 21> kPocketMenuControls =
    pocket::Controls(std::make_index_sequence<20>());

inline constexpr ui::DialogTemplate kPocketMenuTemplate{
    kPocketMenuDialog,
    "",
    156,
    163,
    ui::style::kPopup | ui::style::kBorder | ui::style::kSetFont | ui::style::kSetForeground,
    8,
    "MS Sans Serif",
    kPocketMenuControls};

}  // namespace klt::res
