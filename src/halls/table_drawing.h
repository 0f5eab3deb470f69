#pragma once
// How a table looks on every hall window: the hall views, the monitor and the editor all draw
// their tables through this one function.
#include "halls/plan.h"
#include "ui/canvas.h"

namespace klt::halls {

// Draws one table in its window's coordinates (the rectangle as the window converted it); a table
// that is not shown draws nothing. Values from the file are used through ForDrawing's clamps.
void DrawTable(ui::Canvas& canvas, const TableItem& table);

// The table's rectangle as drawn and clicked: corners in order, coordinates kept within a range
// where sums and midpoints cannot overflow.
ui::Rect TableArea(const TableItem& table);
// Everything DrawTable may touch: the rectangle and the texts moved out of it by their offsets.
ui::Rect TableDrawnArea(const TableItem& table);

// A font of the plan file as the canvas takes it: the face up to its NUL, sizes and weight within
// what a screen can show.
ui::Font ToFont(const LogFont& font);

}  // namespace klt::halls
