#pragma once
// How a table looks on every hall window: the hall views, the monitor and the editor all draw
// their tables through this one function.
#include "halls/plan.h"
#include "ui/canvas.h"

namespace klt::halls {

// Draws one table in its window's coordinates (the rectangle as the window converted it); a table
// that is not shown draws nothing. Values from the file are used through ForDrawing's clamps.
void DrawTable(ui::Canvas& canvas, const TableItem& table);

}  // namespace klt::halls
