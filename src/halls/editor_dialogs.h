#pragma once
// The hall editor's two dialogs: the properties of one table, edited on a preview copy drawn as
// a waiter will see it, and the plan's colour scheme with a sample table.
#include <cstddef>

#include "halls/plan.h"
#include "ui/dialog.h"

namespace klt::halls {

// The limits of the table's fields as the dialog enforces them.
inline constexpr int kMinTableNumber = 1, kMaxTableNumber = 200;
inline constexpr std::size_t kMaxTableName = 20;
inline constexpr int kMaxRounding = 500;
inline constexpr int kMinThickness = 1, kMaxThickness = 50;
inline constexpr int kMaxTextOffset = 100;  // either way

// The preview stands this far down, centred in the client area left of the fields' 300 pixels.
inline constexpr int kPreviewTop = 100;
inline constexpr int kPreviewFieldsWidth = 300;
inline constexpr std::int32_t kPreviewSum = 10000;

// Table `table` of the plan in the properties dialog. "Применить" copies every field but the
// rectangle into the table and answers true; "Отмена" leaves the plan as it was.
bool RunTableProperties(Plan& plan, std::size_t table, PlanKind kind);

// The six colours of the plan's tables when occupied or reserved; true when they were applied.
bool RunColourScheme(HallHeader& header);

// Windows' LOGFONT from a font the font dialog chose, over the record's previous one: what the
// dialog does not choose is kept, the face is cut to what the field holds.
LogFont FromFont(const ui::Font& font, LogFont previous);

}  // namespace klt::halls
