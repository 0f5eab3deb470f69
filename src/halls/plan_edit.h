#pragma once
// The hall editor's work on a plan, apart from its window: new tables, the context-menu commands
// over a selection, and the mouse on the plan area as a small state machine that a window
// controller feeds with its mouse messages.
#include <cstddef>
#include <optional>
#include <vector>

#include "halls/plan.h"
#include "ui/types.h"

namespace klt::halls {

// Drags and copies keep tables within this part of the plan area.
inline constexpr int kEditRight = 795;
inline constexpr int kEditBottom = 485;
// The group centring commands centre within this width and height.
inline constexpr int kCentreWidth = 800;
inline constexpr int kCentreHeight = 487;
// Copies land this far right and down of their originals.
inline constexpr int kCopyOffset = 15;
// A press this close outside a table still hits it.
inline constexpr int kHitMargin = 2;
// The square at each corner of a selected table that resizes it.
inline constexpr int kHandleSize = 5;
inline constexpr Colour kInitialTableColour = 0x00FFFF00;

// The header of the plan the editor starts with, before anything is loaded.
HallHeader EditorHeader(std::int32_t formatWord);

// Where a new table appears: the client rectangle of the editor's "table" group box, inside its
// frame and caption.
Rect NewTableRect(Rect groupBoxClient);
// A table as the add buttons make it, numbered after the plan's tables; not yet appended.
TableItem NewTable(const Plan& plan, Shape shape, Rect rect, Colour fill);

// Indices into plan.tables in the order they were selected; the last is the primary table. Indices
// outside the plan are ignored by every command.
using Selection = std::vector<std::size_t>;

enum class EditCommand {
    Properties = 1,
    Copy,
    Delete,
    AlignLeft,
    AlignRight,
    AlignTop,
    AlignBottom,
    SameHeight,
    SameWidth,
    SameSize,
    CentreHorizontally,
    CentreVertically,
    Centre,
    DistributeHorizontally,
    DistributeVertically,
};

// Commands 2 to 15 over the selection. Copy leaves the copies selected, Delete an empty selection.
// Properties is the window's own (a dialog) and does nothing here. True when the plan may have
// changed.
bool ApplyCommand(Plan& plan, Selection& selection, EditCommand command);

// The table under a point: its rectangle enlarged by kHitMargin, first in list order.
std::optional<std::size_t> TableAt(const Plan& plan, ui::Point p);
// The frame drawn around the selection: the bounding box of the selected tables, enlarged by
// kHitMargin so that every point that hits a selected table lies on it. Empty when nothing is
// selected.
ui::Rect SelectionFrame(const Plan& plan, const Selection& selection);
// The four corner handles of a table (inside its rectangle): top-left, top-right, bottom-left,
// bottom-right.
std::vector<ui::Rect> CornerHandles(const TableItem& table);

enum class MenuKind { None, Single, Multi };

// The mouse on the editor's plan area. Press, Move and Release follow the left button; Cancel is
// the Esc key. Each returns true when the plan area should be repainted.
class PlanEditSession {
  public:
    explicit PlanEditSession(Plan& plan) : plan_(plan) {}

    bool Press(ui::Point p, bool shift);
    bool Move(ui::Point p);
    bool Release(ui::Point p);
    bool Cancel();
    // Cancels a drag or band in progress (and opens no menu); otherwise settles the selection and
    // tells which menu to open. MenuTable() is then the table under the point, if any. The selection
    // may change: repaint after it.
    MenuKind RightPress(ui::Point p);
    // A context-menu command over the current selection.
    bool Command(EditCommand command);

    const Selection& selected() const { return selection_; }
    // After the plan was replaced or tables were added or removed outside the session.
    void ClearSelection();
    std::optional<std::size_t> MenuTable() const { return menuTable_; }
    bool Dragging() const { return mode_ == Mode::Drag; }
    // A drag or a band is under way: the window keeps the mouse until it ends.
    bool Tracking() const { return mode_ != Mode::Idle; }
    // The rubber band being tracked, normalised; nothing when none is.
    std::optional<ui::Rect> Band() const;

  private:
    enum class Mode { Idle, Band, Drag };
    // What a single-table drag moves: the whole table or one corner.
    enum class Grip { Body, TopLeft, TopRight, BottomLeft, BottomRight };

    void Select(std::size_t index);
    void StartDrag(ui::Point p, Selection tables, Grip grip);
    void DragTo(ui::Point p);
    void Restore();

    Plan& plan_;
    Selection selection_;
    std::optional<std::size_t> menuTable_;
    Mode mode_ = Mode::Idle;
    Grip grip_ = Grip::Body;
    ui::Point start_;
    ui::Point current_;
    Selection dragged_;
    std::vector<Rect> before_;
};

}  // namespace klt::halls
