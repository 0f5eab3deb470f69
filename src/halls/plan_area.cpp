#include "halls/plan_area.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/state.h"
#include "halls/table_drawing.h"
#include "platform/files.h"

namespace klt::halls {

ui::Font HallTextFont() {
    ui::Font f;
    f.height = 20;
    f.weight = 700;
    f.charset = 204;  // RUSSIAN_CHARSET
    f.face = "Times New Roman";
    return f;
}

std::optional<ui::Bitmap> LoadPlanPicture(const HallHeader& header) {
    if (!header.usePicture || header.pictureName.empty()) return std::nullopt;
    std::string bytes;
    if (!platform::Files().ReadAll(PicturePath(core::State().ibDirectory, header.pictureName), bytes,
                                   kMaxPictureFileBytes))
        return std::nullopt;
    return ui::DecodeBmp(bytes);
}

ui::Rect PicturePart(const ui::Bitmap& picture, int width, int height) {
    return {0, 0, std::clamp(picture.width, 0, width), std::clamp(picture.height, 0, height)};
}

const TableItem* ShownTableAt(const Plan& plan, ui::Point p) {
    for (const TableItem& t : plan.tables) {
        if (!t.shown) continue;
        const Rect r = ForDrawing(t.record).rect;
        if (p.x >= std::int64_t{r.left} - 2 && p.x < std::int64_t{r.right} + 2 &&
            p.y >= std::int64_t{r.top} - 2 && p.y < std::int64_t{r.bottom} + 2)
            return &t;
    }
    return nullptr;
}

void DrawTablesWithin(ui::Canvas& canvas, const Plan& plan, const ui::Rect& area) {
    const std::int64_t reachX = std::max(area.Width(), 1), reachY = std::max(area.Height(), 1);
    auto keep = [](std::int32_t v, std::int64_t low, std::int64_t high) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, low, high));
    };
    for (const TableItem& t : plan.tables) {
        if (!t.shown) continue;
        const Rect r = ForDrawing(t.record).rect;
        if (r.right < area.left || r.left > area.right || r.bottom < area.top || r.top > area.bottom)
            continue;
        TableItem drawn = t;
        drawn.record.rect = {keep(r.left, area.left - reachX, area.right + reachX),
                             keep(r.top, area.top - reachY, area.bottom + reachY),
                             keep(r.right, area.left - reachX, area.right + reachX),
                             keep(r.bottom, area.top - reachY, area.bottom + reachY)};
        DrawTable(canvas, drawn);
    }
}

}  // namespace klt::halls
