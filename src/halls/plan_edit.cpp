#include "halls/plan_edit.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "halls/table_drawing.h"
#include "text/format.h"

namespace klt::halls {

namespace {

using Side = std::int32_t Rect::*;

// Plans loaded from elsewhere may hold any coordinates: the arithmetic runs wide and lands back
// within int32 rather than overflowing.
std::int32_t Saturate(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

std::int64_t Extent(const Rect& r, Side lo, Side hi) {
    return std::int64_t{r.*hi} - r.*lo;
}

// Moves one side to `to`, keeping the extent.
void Place(Rect& r, Side lo, Side hi, std::int64_t to) {
    const std::int64_t extent = Extent(r, lo, hi);
    r.*lo = Saturate(to);
    r.*hi = Saturate(to + extent);
}

void Shift(Rect& r, Side lo, Side hi, std::int64_t by) {
    Place(r, lo, hi, r.*lo + by);
}

Rect Normalised(Rect r) {
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
}

ui::Rect Inflated(ui::Rect r, int by) {
    return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}

// The selection as the commands use it: tables of the plan, each once, in selection order.
Selection Valid(const Plan& plan, const Selection& selection) {
    Selection out;
    for (std::size_t i : selection)
        if (i < plan.tables.size() && std::find(out.begin(), out.end(), i) == out.end()) out.push_back(i);
    return out;
}

Rect& RectOf(Plan& plan, std::size_t index) {
    return plan.tables[index].record.rect;
}

void Copy(Plan& plan, Selection& selection) {
    Selection copies;
    for (std::size_t i : selection) {
        TableItem copy;
        copy.record = plan.tables[i].record;
        copy.record.marker = kRecordMarker;
        copy.record.number = NextFreeTableNumber(plan);
        copy.record.name = text::Format("\xB9 %d", copy.record.number);  // "№ %d"
        Rect& r = copy.record.rect;
        Shift(r, &Rect::left, &Rect::right, kCopyOffset);
        Shift(r, &Rect::top, &Rect::bottom, kCopyOffset);
        if (r.bottom > kEditBottom) Shift(r, &Rect::top, &Rect::bottom, std::int64_t{kEditBottom} - r.bottom);
        if (r.right > kEditRight) Shift(r, &Rect::left, &Rect::right, std::int64_t{kEditRight} - r.right);
        copy.header = plan.header;
        copy.shown = true;
        copy.editMode = true;
        plan.tables.push_back(std::move(copy));
        copies.push_back(plan.tables.size() - 1);
    }
    selection = std::move(copies);
}

void Delete(Plan& plan, Selection& selection) {
    Selection doomed = selection;
    std::sort(doomed.rbegin(), doomed.rend());
    for (std::size_t i : doomed) plan.tables.erase(plan.tables.begin() + static_cast<std::ptrdiff_t>(i));
    selection.clear();
}

// The selection's bounding box along one axis is moved so that it starts at (area - extent) / 2.
void CentreAlong(Plan& plan, const Selection& selection, Side lo, Side hi, int area) {
    if (selection.empty()) return;
    std::int64_t first = std::numeric_limits<std::int64_t>::max();
    std::int64_t last = std::numeric_limits<std::int64_t>::min();
    for (std::size_t i : selection) {
        first = std::min<std::int64_t>(first, RectOf(plan, i).*lo);
        last = std::max<std::int64_t>(last, RectOf(plan, i).*hi);
    }
    const std::int64_t to = (area - (last - first)) / 2;
    for (std::size_t i : selection) Shift(RectOf(plan, i), lo, hi, to - first);
}

// Spreads the tables between the one starting first and the one starting last (which stays) with
// equal gaps, placing them in the order they start.
void DistributeAlong(Plan& plan, const Selection& selection, Side lo, Side hi) {
    const std::size_t n = selection.size();
    if (n < 2) return;
    std::int64_t first = std::numeric_limits<std::int64_t>::max();
    std::int64_t last = std::numeric_limits<std::int64_t>::min();
    std::int64_t lastExtent = 0, total = 0;
    for (std::size_t i : selection) {
        const Rect& r = RectOf(plan, i);
        first = std::min<std::int64_t>(first, r.*lo);
        if (r.*lo >= last) {
            last = r.*lo;
            lastExtent = Extent(r, lo, hi);
        }
        total += Extent(r, lo, hi);
    }
    const std::int64_t free = (last - first) - (total - lastExtent);
    if (free <= 0) return;
    const std::int64_t gap = free / static_cast<std::int64_t>(n - 1);
    std::vector<bool> placed(n, false);
    std::int64_t at = first;
    for (std::size_t k = 0; k + 1 < n; ++k) {
        std::size_t pick = n;
        for (std::size_t j = 0; j < n; ++j)
            if (!placed[j] &&
                (pick == n || RectOf(plan, selection[j]).*lo <= RectOf(plan, selection[pick]).*lo))
                pick = j;
        placed[pick] = true;
        Rect& r = RectOf(plan, selection[pick]);
        Place(r, lo, hi, at);
        at = std::int64_t{r.*hi} + gap;
    }
}

}  // namespace

HallHeader EditorHeader(std::int32_t formatWord) {
    HallHeader h;
    h.formatCopy = formatWord;
    h.occupiedFill = 0x000080FF;
    h.reservedFill = 0x00C0C0C0;
    h.occupiedSumText = h.occupiedNameText = h.reservedTimeText = h.reservedNameText = 0;
    h.showSums = h.showNames = h.usePicture = 1;
    h.pictureName.clear();
    h.wholeNumberSums = 0;
    return h;
}

Rect NewTableRect(Rect groupBoxClient) {
    return {groupBoxClient.left + 5, groupBoxClient.top + 30, groupBoxClient.right - 5,
            groupBoxClient.bottom - 5};
}

TableItem NewTable(const Plan& plan, Shape shape, Rect rect, Colour fill) {
    TableItem t;
    t.record = NewTableRecord(NextFreeTableNumber(plan), fill, shape, rect);
    t.header = plan.header;
    t.shown = true;
    t.editMode = true;
    return t;
}

bool ApplyCommand(Plan& plan, Selection& selection, EditCommand command) {
    selection = Valid(plan, selection);
    if (selection.empty()) return false;
    const Rect primary = RectOf(plan, selection.back());
    auto each = [&](auto&& f) {
        for (std::size_t i : selection) f(RectOf(plan, i));
    };
    switch (command) {
        case EditCommand::Properties:
            return false;
        case EditCommand::Copy:
            Copy(plan, selection);
            break;
        case EditCommand::Delete:
            Delete(plan, selection);
            break;
        case EditCommand::AlignLeft:
            each([&](Rect& r) { Place(r, &Rect::left, &Rect::right, primary.left); });
            break;
        case EditCommand::AlignRight:
            each([&](Rect& r) { Place(r, &Rect::right, &Rect::left, primary.right); });
            break;
        case EditCommand::AlignTop:
            each([&](Rect& r) { Place(r, &Rect::top, &Rect::bottom, primary.top); });
            break;
        case EditCommand::AlignBottom:
            each([&](Rect& r) { Place(r, &Rect::bottom, &Rect::top, primary.bottom); });
            break;
        case EditCommand::SameHeight:
        case EditCommand::SameWidth:
        case EditCommand::SameSize: {
            const bool height = command != EditCommand::SameWidth, width = command != EditCommand::SameHeight;
            each([&](Rect& r) {
                if (height) r.bottom = Saturate(r.top + Extent(primary, &Rect::top, &Rect::bottom));
                if (width) r.right = Saturate(r.left + Extent(primary, &Rect::left, &Rect::right));
            });
            break;
        }
        case EditCommand::CentreHorizontally:
        case EditCommand::CentreVertically:
        case EditCommand::Centre:
            if (command != EditCommand::CentreVertically)
                CentreAlong(plan, selection, &Rect::left, &Rect::right, kCentreWidth);
            if (command != EditCommand::CentreHorizontally)
                CentreAlong(plan, selection, &Rect::top, &Rect::bottom, kCentreHeight);
            break;
        case EditCommand::DistributeHorizontally:
            DistributeAlong(plan, selection, &Rect::left, &Rect::right);
            break;
        case EditCommand::DistributeVertically:
            DistributeAlong(plan, selection, &Rect::top, &Rect::bottom);
            break;
        default:
            return false;
    }
    return true;
}

std::optional<std::size_t> TableAt(const Plan& plan, ui::Point p) {
    for (std::size_t i = 0; i < plan.tables.size(); ++i)
        if (Inflated(TableArea(plan.tables[i]), kHitMargin).Contains(p)) return i;
    return std::nullopt;
}

ui::Rect SelectionFrame(const Plan& plan, const Selection& selection) {
    std::optional<ui::Rect> box;
    for (std::size_t i : selection) {
        if (i >= plan.tables.size()) continue;
        const ui::Rect r = TableArea(plan.tables[i]);
        box = box ? ui::Rect{std::min(box->left, r.left), std::min(box->top, r.top),
                             std::max(box->right, r.right), std::max(box->bottom, r.bottom)}
                  : r;
    }
    return box ? Inflated(*box, kHitMargin) : ui::Rect{};
}

std::vector<ui::Rect> CornerHandles(const TableItem& table) {
    const ui::Rect r = TableArea(table);
    const int h = kHandleSize;
    return {{r.left, r.top, r.left + h, r.top + h},
            {r.right - h, r.top, r.right, r.top + h},
            {r.left, r.bottom - h, r.left + h, r.bottom},
            {r.right - h, r.bottom - h, r.right, r.bottom}};
}

// ---- the mouse ----

namespace {

// Which corner handle a press grabs, 1 to 4 in CornerHandles' order (with the hit margin around
// each); 0 for none, when the table itself is grabbed.
int CornerAt(const TableItem& table, ui::Point p) {
    const std::vector<ui::Rect> handles = CornerHandles(table);
    for (std::size_t c = 0; c < handles.size(); ++c)
        if (Inflated(handles[c], kHitMargin).Contains(p)) return static_cast<int>(c) + 1;
    return 0;
}

}  // namespace

bool PlanEditSession::Press(ui::Point p, bool shift) {
    if (mode_ != Mode::Idle) return false;  // the left button is already down
    selection_ = Valid(plan_, selection_);
    const bool onFrame = SelectionFrame(plan_, selection_).Contains(p);
    const std::optional<std::size_t> hit = TableAt(plan_, p);
    if (!onFrame) {
        if (!shift) selection_.clear();
        if (!hit) {
            mode_ = Mode::Band;
            start_ = current_ = p;
            return true;
        }
        Select(*hit);
        if (selection_.size() == 1)
            StartDrag(p, selection_, static_cast<Grip>(CornerAt(plan_.tables[*hit], p)));
        return true;
    }
    if (shift) {
        // Toggles, so that a table lying inside the frame without being selected can still be added.
        if (hit) {
            const auto at = std::find(selection_.begin(), selection_.end(), *hit);
            if (at != selection_.end())
                selection_.erase(at);
            else
                Select(*hit);
        }
        return true;
    }
    if (selection_.size() == 1) {
        const std::size_t only = selection_.front();
        if (!Inflated(TableArea(plan_.tables[only]), kHitMargin).Contains(p)) return true;
        StartDrag(p, selection_, static_cast<Grip>(CornerAt(plan_.tables[only], p)));
        return true;
    }
    StartDrag(p, selection_, Grip::Body);
    return true;
}

bool PlanEditSession::Move(ui::Point p) {
    if (mode_ == Mode::Band) {
        current_ = p;
        return true;
    }
    if (mode_ == Mode::Drag) {
        DragTo(p);
        return true;
    }
    return false;
}

bool PlanEditSession::Release(ui::Point p) {
    if (mode_ == Mode::Band) {
        current_ = p;
        const ui::Rect band = *Band();
        for (std::size_t i = 0; i < plan_.tables.size(); ++i) {
            const ui::Rect r = TableArea(plan_.tables[i]);
            const bool meets = std::max(r.left, band.left) < std::min(r.right, band.right) &&
                               std::max(r.top, band.top) < std::min(r.bottom, band.bottom);
            if (meets) Select(i);
        }
    } else if (mode_ == Mode::Drag) {
        DragTo(p);
        // A corner pulled across the opposite one leaves the table the right way round.
        for (std::size_t i : dragged_) RectOf(plan_, i) = Normalised(RectOf(plan_, i));
    } else {
        return false;
    }
    mode_ = Mode::Idle;
    return true;
}

bool PlanEditSession::Cancel() {
    if (mode_ == Mode::Idle) return false;
    if (mode_ == Mode::Drag) Restore();
    mode_ = Mode::Idle;
    return true;
}

MenuKind PlanEditSession::RightPress(ui::Point p) {
    menuTable_.reset();
    if (mode_ != Mode::Idle) {
        Cancel();
        return MenuKind::None;
    }
    selection_ = Valid(plan_, selection_);
    menuTable_ = TableAt(plan_, p);
    if (!SelectionFrame(plan_, selection_).Contains(p)) {
        if (!menuTable_) return MenuKind::None;
        selection_ = {*menuTable_};
        return MenuKind::Single;
    }
    return selection_.size() == 1 && menuTable_ ? MenuKind::Single : MenuKind::Multi;
}

bool PlanEditSession::Command(EditCommand command) {
    if (command == EditCommand::Delete) menuTable_.reset();
    return ApplyCommand(plan_, selection_, command);
}

void PlanEditSession::ClearSelection() {
    selection_.clear();
    menuTable_.reset();
    dragged_.clear();
    before_.clear();
    mode_ = Mode::Idle;
}

std::optional<ui::Rect> PlanEditSession::Band() const {
    if (mode_ != Mode::Band) return std::nullopt;
    return ui::Rect{std::min(start_.x, current_.x), std::min(start_.y, current_.y),
                    std::max(start_.x, current_.x), std::max(start_.y, current_.y)};
}

void PlanEditSession::Select(std::size_t index) {
    if (std::find(selection_.begin(), selection_.end(), index) == selection_.end())
        selection_.push_back(index);
}

void PlanEditSession::StartDrag(ui::Point p, Selection tables, Grip grip) {
    mode_ = Mode::Drag;
    grip_ = grip;
    start_ = current_ = p;
    dragged_ = std::move(tables);
    before_.clear();
    for (std::size_t i : dragged_) before_.push_back(RectOf(plan_, i));
}

void PlanEditSession::DragTo(ui::Point p) {
    current_ = p;
    const std::int64_t dx = std::int64_t{p.x} - start_.x, dy = std::int64_t{p.y} - start_.y;
    if (grip_ != Grip::Body) {
        // The grabbed corner follows the mouse within the area; the opposite one stays.
        Rect r = Normalised(before_.front());
        const bool left = grip_ == Grip::TopLeft || grip_ == Grip::BottomLeft;
        const bool top = grip_ == Grip::TopLeft || grip_ == Grip::TopRight;
        std::int32_t& x = left ? r.left : r.right;
        std::int32_t& y = top ? r.top : r.bottom;
        x = static_cast<std::int32_t>(std::clamp<std::int64_t>(x + dx, 0, kEditRight));
        y = static_cast<std::int32_t>(std::clamp<std::int64_t>(y + dy, 0, kEditBottom));
        RectOf(plan_, dragged_.front()) = r;
        return;
    }
    // The tables move together and stop at the area's border; ones already outside it (from a
    // plan drawn elsewhere) may still be brought back in.
    std::int64_t left = std::numeric_limits<std::int64_t>::max(), top = left;
    std::int64_t right = std::numeric_limits<std::int64_t>::min(), bottom = right;
    for (const Rect& b : before_) {
        const Rect r = Normalised(b);
        left = std::min<std::int64_t>(left, r.left);
        top = std::min<std::int64_t>(top, r.top);
        right = std::max<std::int64_t>(right, r.right);
        bottom = std::max<std::int64_t>(bottom, r.bottom);
    }
    const std::int64_t mx =
        std::clamp(dx, std::min<std::int64_t>(0, -left), std::max<std::int64_t>(0, kEditRight - right));
    const std::int64_t my =
        std::clamp(dy, std::min<std::int64_t>(0, -top), std::max<std::int64_t>(0, kEditBottom - bottom));
    for (std::size_t k = 0; k < dragged_.size(); ++k) {
        Rect r = before_[k];
        Shift(r, &Rect::left, &Rect::right, mx);
        Shift(r, &Rect::top, &Rect::bottom, my);
        RectOf(plan_, dragged_[k]) = r;
    }
}

void PlanEditSession::Restore() {
    for (std::size_t k = 0; k < dragged_.size(); ++k) RectOf(plan_, dragged_[k]) = before_[k];
}

}  // namespace klt::halls
