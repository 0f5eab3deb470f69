#include "halls/table_drawing.h"

#include <algorithm>
#include <cstring>

#include "text/format.h"
#include "text/literal.h"

namespace klt::halls {

using namespace klt::text::literals;

namespace {

// Far beyond any screen, yet small enough that widths, midpoints and offsets stay within int.
constexpr std::int32_t kCoordinateLimit = 1 << 24;
// A table's text is a line or two on a screen: larger fonts are a damaged record.
constexpr std::int32_t kFontSizeLimit = 1000;

int Coordinate(std::int32_t v) {
    return std::clamp(v, -kCoordinateLimit, kCoordinateLimit);
}

// One line, aligned as the record says; '&' is shown as typed, not as a mnemonic.
unsigned LineFormat(int horizontal, int vertical) {
    namespace tf = ui::text_format;
    unsigned format = tf::kSingleLine | tf::kNoPrefix;
    format |= horizontal == 1 ? tf::kCentre : horizontal == 2 ? tf::kRight : tf::kLeft;
    if (vertical == 1) format |= tf::kVCentre;
    if (vertical == 2) format |= tf::kBottom;
    return format;
}

const HallHeader& HeaderOf(const TableItem& table) {
    static const HallHeader defaults;
    return table.header ? *table.header : defaults;
}

ui::Rect Union(const ui::Rect& a, const ui::Rect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

}  // namespace

ui::Font ToFont(const LogFont& f) {
    ui::Font font;
    font.height = std::clamp(f.height, -kFontSizeLimit, kFontSizeLimit);
    font.width = std::clamp(f.width, 0, kFontSizeLimit);
    font.escapement = f.escapement % 3600;
    font.orientation = f.orientation % 3600;
    font.weight = std::clamp(f.weight, 0, 1000);
    font.italic = f.italic != 0;
    font.underline = f.underline != 0;
    font.charset = f.charSet;
    // The system reads at most 31 characters of a face; a field without its NUL is cut there.
    const void* nul = std::memchr(f.faceName.data(), 0, f.faceName.size());
    const std::size_t n = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - f.faceName.data())
                              : f.faceName.size() - 1;
    font.face.assign(f.faceName.data(), n);
    return font;
}

ui::Rect TableArea(const TableItem& table) {
    const Rect r = ForDrawing(table.record).rect;
    return {Coordinate(r.left), Coordinate(r.top), Coordinate(r.right), Coordinate(r.bottom)};
}

ui::Rect TableDrawnArea(const TableItem& table) {
    const DrawingValues d = ForDrawing(table.record);
    const ui::Rect r = TableArea(table);
    return Union(Union(r, r.Offset(d.sumOffsetX, d.sumOffsetY)), r.Offset(d.nameOffsetX, d.nameOffsetY));
}

void DrawTable(ui::Canvas& canvas, const TableItem& table) {
    if (!table.shown) return;
    const TableRecord& record = table.record;
    const HallHeader& header = HeaderOf(table);
    const DrawingValues d = ForDrawing(record);
    const ui::Rect r = TableArea(table);
    const bool occupied = table.state == TableState::Occupied;

    // A thick outline stays inside the table, so neighbours placed edge to edge do not overlap.
    canvas.SetInsideFramePen(record.outline, d.thickness);
    canvas.SetBrush(occupied ? header.occupiedFill : !table.reserved ? record.freeFill : header.reservedFill);
    if (d.plainRectangle) {
        canvas.Rectangle(r);
    } else if (d.shape == Shape::Ellipse) {
        canvas.Ellipse(r);
    } else if (d.shape == Shape::Rhombus) {
        const ui::Point c = r.Centre();
        canvas.Polygon({{r.left, c.y}, {c.x, r.top}, {r.right, c.y}, {c.x, r.bottom}});
    } else {
        canvas.RoundRect(r, {d.rounding, d.rounding});
    }

    canvas.SetTransparentText(true);
    if (table.editMode) {
        canvas.SetFont(ToFont(record.nameFont));
        canvas.SetTextColour(record.freeNameText);
        canvas.DrawText(text::Format("%d", static_cast<int>(record.number)), r, LineFormat(1, 1));
        return;
    }

    if (occupied || table.sample) {
        if (header.showSums == 1 && record.showSum == 1) {
            canvas.SetFont(ToFont(record.sumFont));
            // The editor's sample shows the sum as an occupied table will.
            canvas.SetTextColour(header.occupiedSumText);
            canvas.DrawText(SumText(table.sum, header.wholeNumberSums != 0),
                            r.Offset(d.sumOffsetX, d.sumOffsetY), LineFormat(d.sumHAlign, d.sumVAlign));
        }
    } else if (table.reserved) {
        // In the sum's place and font: the time the guests are expected.
        canvas.SetFont(ToFont(record.sumFont));
        canvas.SetTextColour(header.reservedTimeText);
        canvas.DrawText(std::string("БРОНЬ\n"_cp) + table.reservationText, r,
                        ui::text_format::kCentre | ui::text_format::kNoPrefix);
    }

    if (header.showNames == 1 && record.showName == 1) {
        canvas.SetFont(ToFont(record.nameFont));
        canvas.SetTextColour(occupied          ? header.occupiedNameText
                             : !table.reserved ? record.freeNameText
                                               : header.reservedNameText);
        canvas.DrawText(record.name, r.Offset(d.nameOffsetX, d.nameOffsetY),
                        LineFormat(d.nameHAlign, d.nameVAlign));
    }
}

}  // namespace klt::halls
