#pragma once
// A plan shown in a part of a window (the zone-change window, the compact plan display, the
// monitor): its background picture, its tables kept within reach of that part, and the table
// under a finger.
#include <cstddef>
#include <optional>

#include "halls/plan.h"
#include "ui/bitmap.h"
#include "ui/canvas.h"

namespace klt::halls {

// A window's rectangle as the plan conversions take it.
inline Rect ToPlanRect(const ui::Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// The bold 20-pixel "Times New Roman" of the hall windows' captions and figures.
ui::Font HallTextFont();

// A background picture larger than this is not read: a screen's worth is a few megabytes.
inline constexpr std::size_t kMaxPictureFileBytes = 64u << 20;

// The plan's background picture when the plan asks for one and the file reads as a bitmap.
std::optional<ui::Bitmap> LoadPlanPicture(const HallHeader& header);

// The part of a picture that lies under a plan drawn for `width` x `height` pixels: its top-left
// corner of that size, or less of a smaller picture.
ui::Rect PicturePart(const ui::Bitmap& picture, int width, int height);

// First shown table whose rectangle, with a margin of 2 px for a finger, holds the point. A
// hidden table is not there for the user, so it does not stand in front of one below it.
const TableItem* ShownTableAt(const Plan& plan, ui::Point p);

// Draws the shown tables inside `area` only. A table from a damaged file may lie anywhere: one
// that misses the area is skipped, and the others are drawn with their edges kept within reach of
// it, so the system is never handed coordinates it cannot draw.
void DrawTablesWithin(ui::Canvas& canvas, const Plan& plan, const ui::Rect& area);

}  // namespace klt::halls
