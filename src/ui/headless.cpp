#include "ui/headless.h"

#include <algorithm>
#include <cstdlib>

#include "text/cp1251.h"

namespace klt::ui {

// ---- recording canvas ----

CanvasOp& RecordingCanvas::Add(CanvasOp::Kind kind) {
    ops_.push_back(state_);
    ops_.back().kind = kind;
    return ops_.back();
}

void RecordingCanvas::SetPen(Colour colour, int width) {
    state_.pen = true;
    state_.penColour = colour;
    state_.penWidth = width;
    state_.penInsideFrame = false;
}

void RecordingCanvas::SetInsideFramePen(Colour colour, int width) {
    SetPen(colour, width);
    state_.penInsideFrame = true;
}

void RecordingCanvas::SetBrush(Colour colour) {
    state_.brush = true;
    state_.brushColour = colour;
}

void RecordingCanvas::Rectangle(const Rect& r) {
    Add(CanvasOp::Kind::Rectangle).rect = r;
}

void RecordingCanvas::RoundRect(const Rect& r, Size corner) {
    CanvasOp& op = Add(CanvasOp::Kind::RoundRect);
    op.rect = r;
    op.corner = corner;
}

void RecordingCanvas::Ellipse(const Rect& r) {
    Add(CanvasOp::Kind::Ellipse).rect = r;
}

void RecordingCanvas::Polygon(const std::vector<Point>& points) {
    Add(CanvasOp::Kind::Polygon).points = points;
}

void RecordingCanvas::FillRect(const Rect& r, Colour colour) {
    CanvasOp& op = Add(CanvasOp::Kind::FillRect);
    op.rect = r;
    op.fill = colour;
}

void RecordingCanvas::DrawText(const std::string& cp1251, const Rect& r, unsigned format) {
    CanvasOp& op = Add(CanvasOp::Kind::Text);
    op.text = cp1251;
    op.rect = r;
    op.format = format;
}

void RecordingCanvas::TextAt(Point p, const std::string& cp1251, TextAnchor anchor) {
    CanvasOp& op = Add(CanvasOp::Kind::TextAt);
    op.points = {p};
    op.text = cp1251;
    op.anchor = anchor;
}

void RecordingCanvas::DrawPicture(int picture, const Rect& r) {
    CanvasOp& op = Add(CanvasOp::Kind::Picture);
    op.picture = picture;
    op.rect = r;
}

void RecordingCanvas::DrawBitmap(const Bitmap& bitmap, const Rect& source, const Rect& r) {
    CanvasOp& op = Add(CanvasOp::Kind::Bitmap);
    op.bitmap = &bitmap;
    op.source = source;
    op.rect = r;
}

void RecordingCanvas::Clip(const Rect& r) {
    Add(CanvasOp::Kind::Clip).rect = r;
}

void RecordingCanvas::ClearClip() {
    Add(CanvasOp::Kind::ClearClip);
}

void RecordingCanvas::BeginBuffer(const Rect& area) {
    Add(CanvasOp::Kind::BeginBuffer).rect = area;
}

void RecordingCanvas::EndBuffer() {
    Add(CanvasOp::Kind::EndBuffer);
}

std::vector<CanvasOp> RecordingCanvas::Of(CanvasOp::Kind kind) const {
    std::vector<CanvasOp> out;
    for (const CanvasOp& op : ops_)
        if (op.kind == kind) out.push_back(op);
    return out;
}

bool RecordingCanvas::BuffersBalanced() const {
    int depth = 0;
    for (const CanvasOp& op : ops_) {
        if (op.kind == CanvasOp::Kind::BeginBuffer) ++depth;
        if (op.kind == CanvasOp::Kind::EndBuffer && --depth < 0) return false;
    }
    return depth == 0;
}

// ---- user actions ----

UserAction UserAction::Press(int controlId) {
    UserAction a;
    a.kind = Kind::Press;
    a.id = controlId;
    return a;
}

UserAction UserAction::Click(Point p) {
    UserAction a;
    a.kind = Kind::Click;
    a.point = p;
    return a;
}

UserAction UserAction::ClickPlan(Point plan) {
    UserAction a;
    a.kind = Kind::ClickPlan;
    a.point = plan;
    return a;
}

UserAction UserAction::MousePlan(MouseAction action, Point plan, bool shift) {
    UserAction a;
    a.kind = Kind::MousePlan;
    a.mouse = action;
    a.point = plan;
    a.shift = shift;
    return a;
}

UserAction UserAction::ChooseTab(int controlId, int index) {
    UserAction a;
    a.kind = Kind::ChooseTab;
    a.id = controlId;
    a.key = index;
    return a;
}

UserAction UserAction::DoubleClick(int controlId, std::string cp1251) {
    UserAction a;
    a.kind = Kind::DoubleClick;
    a.id = controlId;
    a.text = std::move(cp1251);
    return a;
}

UserAction UserAction::Key(int virtualKey) {
    UserAction a;
    a.kind = Kind::Key;
    a.key = virtualKey;
    return a;
}

UserAction UserAction::Type(int controlId, std::string cp1251) {
    UserAction a;
    a.kind = Kind::Type;
    a.id = controlId;
    a.text = std::move(cp1251);
    return a;
}

UserAction UserAction::Wait(std::int64_t ms) {
    UserAction a;
    a.kind = Kind::Wait;
    a.ms = ms;
    return a;
}

UserAction UserAction::Look(std::function<void(HeadlessDialog&)> look) {
    UserAction a;
    a.kind = Kind::Look;
    a.look = std::move(look);
    return a;
}

// ---- dialog ----

namespace {

// MulDiv as the dialog manager uses it: rounded to nearest.
int Scale(int value, int mul, int div) {
    const long long p = static_cast<long long>(value) * mul;
    return static_cast<int>(p >= 0 ? (p + div / 2) / div : -((-p + div / 2) / div));
}

}  // namespace

Rect DialogUnitsToPixels(int x, int y, int cx, int cy, Size baseUnits) {
    const int left = Scale(x, baseUnits.cx, 4);
    const int top = Scale(y, baseUnits.cy, 8);
    return {left, top, left + Scale(cx, baseUnits.cx, 4), top + Scale(cy, baseUnits.cy, 8)};
}

HeadlessDialog::HeadlessDialog(const DialogTemplate& dialog, DialogController& controller, Size baseUnits)
    : dialog_(dialog), controller_(controller), caption_(dialog.caption) {
    client_ = DialogUnitsToPixels(0, 0, dialog.cx, dialog.cy, baseUnits);
    const Rect frame = Frame();
    window_ = {0, 0, client_.right + frame.left + frame.right, client_.bottom + frame.top + frame.bottom};
    const int points = dialog.fontPoints;
    Font font;
    font.height = PointsToHeight(points, 96);
    font.face = std::string(dialog.fontFace);
    for (const ControlTemplate& t : dialog.controls) {
        if (t.kind == ControlKind::Embedded) continue;  // no window: its place stays empty
        HeadlessControl c;
        c.id = t.id;
        c.kind = t.kind;
        c.rect = DialogUnitsToPixels(t.x, t.y, t.cx, t.cy, baseUnits);
        c.text = std::string(t.text);
        c.picture = t.picture;
        c.font = font;
        c.style = t.style | style::kChild | style::kVisible;
        c.exStyle = t.exStyle;
        c.enabled = (t.style & style::kDisabled) == 0;
        controls_.push_back(c);
    }
}

HeadlessDialog::~HeadlessDialog() {
    // A window destroyed without a close still lets its controller and controls go first.
    if (!closed_) controller_.OnClose(*this);
    StopAllTimers();
    const auto attached = custom_;
    custom_.clear();
    for (const auto& [id, control] : attached) control->OnViewGone();
}

void HeadlessDialog::Open() {
    controller_.OnOpen(*this);
}

HeadlessControl* HeadlessDialog::Get(int id) {
    for (HeadlessControl& c : controls_)
        if (c.id == id && id != kIdStatic) return &c;
    return nullptr;
}

const HeadlessControl* HeadlessDialog::Get(int id) const {
    return const_cast<HeadlessDialog*>(this)->Get(id);
}

const HeadlessControl* HeadlessDialog::Find(int id) const {
    return Get(id);
}

bool HeadlessDialog::Press(int id) {
    if (closed_) return false;
    const HeadlessControl* c = Get(id);
    if (!c || !c->visible || !c->enabled || c->kind != ControlKind::Button) return false;
    controller_.OnCommand(*this, id);
    return true;
}

TabLayout LayOutTabs(const HeadlessControl& c) {
    const int height = c.font.height < 0 ? -c.font.height : c.font.height > 0 ? c.font.height : 11;
    const int charWidth = std::max(1, height / 2), rowHeight = height + 9;
    TabLayout layout;
    int left = c.rect.left + 2;
    for (std::size_t i = 0; i < c.tabs.size(); ++i) {
        const int width = static_cast<int>(c.tabs[i].size()) * charWidth + 12;
        Rect r{left, c.rect.top + 2, left + width, c.rect.top + rowHeight};
        if (static_cast<int>(i) == c.selectedTab) r = {r.left - 2, c.rect.top, r.right + 2, r.bottom + 1};
        layout.tabs.push_back(r);
        left += width;
    }
    layout.page = {c.rect.left, c.tabs.empty() ? c.rect.top : c.rect.top + rowHeight, c.rect.right,
                   c.rect.bottom};
    return layout;
}

bool HeadlessDialog::Click(Point p) {
    if (closed_) return false;
    for (const HeadlessControl& c : controls_) {
        if (!c.visible || !c.rect.Contains(p)) continue;
        if (c.kind == ControlKind::Button) {
            // A group box is a frame: the click goes to what it groups.
            if ((c.style & style::kButtonTypeMask) == style::kButtonGroupBox) continue;
            return Press(c.id);
        }
        if (c.kind == ControlKind::Tab) {
            // A tab takes the click and is chosen; the page and the strip beside the tabs let it
            // through, and so does a disabled control.
            if (!c.enabled) continue;
            const TabLayout layout = LayOutTabs(c);
            const auto at = [&](int i) {
                return i >= 0 && i < static_cast<int>(layout.tabs.size()) &&
                       layout.tabs[static_cast<std::size_t>(i)].Contains(p);
            };
            if (at(c.selectedTab)) return true;  // the raised tab lies over its neighbours
            for (int i = 0; i < static_cast<int>(layout.tabs.size()); ++i)
                if (at(i)) return ChooseTab(c.id, i);
            continue;
        }
        // A static without the notify style lets the click through to what is under it.
        if ((c.style & style::kStaticNotify) == 0 || !c.enabled) continue;
        // With the notify style it tells: its own control when it has one, else the dialog, as a
        // static's STN_CLICKED.
        auto it = custom_.find(c.id);
        if (it != custom_.end())
            it->second->OnClick();
        else
            controller_.OnCommand(*this, c.id);
        return true;
    }
    controller_.OnClick(*this, p);
    return true;
}

bool HeadlessDialog::ClickPlan(Point plan) {
    if (closed_) return false;
    const std::optional<Point> p = controller_.PlanToClient(plan);
    return p && Click(*p);
}

bool HeadlessDialog::Mouse(const MouseEvent& event) {
    if (closed_) return false;
    controller_.OnMouse(*this, event);
    if (event.action == MouseAction::LeftUp && !closed_) controller_.OnClick(*this, event.p);
    return true;
}

bool HeadlessDialog::MousePlan(MouseAction action, Point plan, bool shift) {
    if (closed_) return false;
    const std::optional<Point> p = controller_.PlanToClient(plan);
    return p && Mouse({action, *p, shift});
}

bool HeadlessDialog::ChooseTab(int id, int index) {
    if (closed_) return false;
    HeadlessControl* c = Get(id);
    if (!c || !c->visible || !c->enabled || c->kind != ControlKind::Tab) return false;
    if (index < 0 || index >= static_cast<int>(c->tabs.size())) return false;
    // The system notifies only a change of tab.
    if (c->selectedTab == index) return true;
    c->selectedTab = index;
    ++c->invalidations;
    NotifyParent(id, kTabSelectionChanged);
    return true;
}

bool HeadlessDialog::DoubleClick(int id, const std::string& cp1251) {
    if (closed_) return false;
    HeadlessControl* c = Get(id);
    if (!c || !c->visible || !c->enabled) return false;
    if (c->kind == ControlKind::List) {
        const auto it = std::find(c->items.begin(), c->items.end(), cp1251);
        c->doubleClickedItem = it == c->items.end() ? -1 : static_cast<int>(it - c->items.begin());
        NotifyParent(id, kItemDoubleClicked);
        if (HeadlessControl* still = Get(id)) still->doubleClickedItem = -1;
        return true;
    }
    if (c->kind != ControlKind::Tree) return false;
    // Depth first, as the tree shows its items: children follow their parent in the order added.
    const std::function<TreeItem(TreeItem)> find = [&](TreeItem parent) -> TreeItem {
        for (std::size_t i = 0; i < c->nodes.size(); ++i) {
            if (c->nodes[i].parent != parent) continue;
            const TreeItem item = i + 1;
            if (c->nodes[i].text == cp1251) return item;
            if (const TreeItem below = find(item)) return below;
        }
        return 0;
    };
    // A click on an item selects it; one on the empty part leaves the selection as it was.
    if (const TreeItem hit = find(0)) c->selectedNode = hit;
    NotifyParent(id, kItemDoubleClicked);
    return true;
}

void HeadlessDialog::AddListColumn(int id, const std::string& cp1251Header, int width, bool centred) {
    (void)width;
    (void)centred;
    if (HeadlessControl* c = Get(id); c && c->kind == ControlKind::List) c->columns.push_back(cp1251Header);
}

void HeadlessDialog::ClearList(int id) {
    if (HeadlessControl* c = Get(id); c && c->kind == ControlKind::List) c->items.clear();
}

int HeadlessDialog::AddListItem(int id, const std::string& cp1251) {
    HeadlessControl* c = Get(id);
    if (!c || c->kind != ControlKind::List) return -1;
    auto at = c->items.end();
    // A sorted list puts a new item after its equals, comparing without regard to case.
    if (c->style & style::kListSortAscending)
        at = std::upper_bound(
            c->items.begin(), c->items.end(), cp1251,
            [](const std::string& a, const std::string& b) { return text::CompareNoCase(a, b) < 0; });
    const auto index = at - c->items.begin();
    c->items.insert(at, cp1251);
    ++c->invalidations;
    return static_cast<int>(index);
}

int HeadlessDialog::ListItemCount(int id) const {
    const HeadlessControl* c = Get(id);
    return c ? static_cast<int>(c->items.size()) : 0;
}

std::string HeadlessDialog::ListItemText(int id, int index) const {
    const HeadlessControl* c = Get(id);
    if (!c || index < 0 || index >= static_cast<int>(c->items.size())) return {};
    return c->items[static_cast<std::size_t>(index)];
}

int HeadlessDialog::DoubleClickedListItem(int id) const {
    const HeadlessControl* c = Get(id);
    return c ? c->doubleClickedItem : -1;
}

void HeadlessDialog::SetTreeImages(int id, const std::vector<int>& pictures, int size) {
    (void)size;
    if (HeadlessControl* c = Get(id); c && c->kind == ControlKind::Tree) c->images = pictures;
}

TreeItem HeadlessDialog::AddTreeItem(int id, TreeItem parent, const std::string& cp1251, int image,
                                     std::intptr_t data) {
    HeadlessControl* c = Get(id);
    if (!c || c->kind != ControlKind::Tree || parent > c->nodes.size()) return 0;
    c->nodes.push_back({parent, cp1251, image, data});
    ++c->invalidations;
    return c->nodes.size();
}

std::string HeadlessDialog::TreeItemText(int id, TreeItem item) const {
    const HeadlessControl* c = Get(id);
    if (!c || item == 0 || item > c->nodes.size()) return {};
    return c->nodes[item - 1].text;
}

std::intptr_t HeadlessDialog::TreeItemData(int id, TreeItem item) const {
    const HeadlessControl* c = Get(id);
    if (!c || item == 0 || item > c->nodes.size()) return 0;
    return c->nodes[item - 1].data;
}

TreeItem HeadlessDialog::SelectedTreeItem(int id) const {
    const HeadlessControl* c = Get(id);
    return c ? c->selectedNode : 0;
}

void HeadlessDialog::SetTabs(int id, const std::vector<std::string>& cp1251Texts) {
    HeadlessControl* c = Get(id);
    if (!c) return;
    c->tabs = cp1251Texts;
    c->selectedTab = c->tabs.empty() ? -1 : 0;
    ++c->invalidations;
}

void HeadlessDialog::SelectTab(int id, int index) {
    HeadlessControl* c = Get(id);
    if (!c || index < 0 || index >= static_cast<int>(c->tabs.size())) return;
    c->selectedTab = index;
    ++c->invalidations;
}

int HeadlessDialog::SelectedTab(int id) const {
    const HeadlessControl* c = Get(id);
    return c ? c->selectedTab : -1;
}

Rect HeadlessDialog::Frame() const {
    // Thicknesses as the classic scheme draws them: a dialog frame of 3, a thin border of 1.
    const int border = (dialog_.style & style::kModalFrame) ? 3 : (dialog_.style & style::kBorder) ? 1 : 0;
    const int caption =
        (dialog_.style & style::kCaption) == style::kCaption ? HeadlessWindowing::kCaptionHeight : 0;
    return {border, border + caption, border, border};
}

void HeadlessDialog::PlaceWindow(const Rect& screen) {
    window_ = screen;
    const Rect frame = Frame();
    client_ = {0, 0, std::max(0, screen.Width() - frame.left - frame.right),
               std::max(0, screen.Height() - frame.top - frame.bottom)};
}

void HeadlessDialog::MoveControl(int id, const Rect& r) {
    if (HeadlessControl* c = Get(id)) {
        c->rect = r;
        ++c->invalidations;
    }
}

bool HeadlessDialog::Key(int key) {
    if (closed_) return false;
    if (key == kKeyEscape) {
        controller_.OnCommand(*this, kIdCancel);
        return true;
    }
    if (key == kKeyReturn) {
        // The template's default push button, or IDOK when there is none: a pressed button does
        // not become the default (the Win32 view sees to that too).
        int id = kIdOk;
        for (const HeadlessControl& c : controls_)
            if (c.kind == ControlKind::Button && (c.style & 0xF) == style::kButtonDefault) id = c.id;
        controller_.OnCommand(*this, id);
        return true;
    }
    return controller_.OnKey(*this, key);
}

RecordingCanvas HeadlessDialog::Paint(int id) {
    RecordingCanvas canvas;
    if (id == 0) {
        controller_.OnPaint(*this, canvas);
        return canvas;
    }
    const HeadlessControl* c = Get(id);
    auto it = custom_.find(id);
    if (c && c->visible && it != custom_.end())
        it->second->Paint(canvas, Rect{0, 0, c->rect.Width(), c->rect.Height()});
    return canvas;
}

std::vector<std::pair<int, int>> HeadlessDialog::RunningTimers() const {
    std::vector<std::pair<int, int>> out;
    for (const auto& [key, id] : timers_) out.push_back(key);
    return out;
}

void HeadlessDialog::ShowControl(int id, bool show) {
    if (HeadlessControl* c = Get(id)) c->visible = show;
}

void HeadlessDialog::EnableControl(int id, bool enable) {
    if (HeadlessControl* c = Get(id)) c->enabled = enable;
}

void HeadlessDialog::SetControlText(int id, const std::string& cp1251) {
    if (HeadlessControl* c = Get(id)) {
        c->text = cp1251;
        ++c->invalidations;
    }
}

std::string HeadlessDialog::ControlText(int id) const {
    const HeadlessControl* c = Get(id);
    return c ? c->text : std::string();
}

void HeadlessDialog::SetControlPicture(int id, int picture) {
    if (HeadlessControl* c = Get(id)) c->picture = picture;
}

void HeadlessDialog::SetControlFont(int id, const Font& font) {
    if (HeadlessControl* c = Get(id)) c->font = font;
}

Font HeadlessDialog::ControlFont(int id) const {
    const HeadlessControl* c = Get(id);
    return c ? c->font : Font{};
}

std::uint32_t HeadlessDialog::ControlStyle(int id) const {
    const HeadlessControl* c = Get(id);
    return c ? c->style : 0;
}

std::uint32_t HeadlessDialog::ControlExStyle(int id) const {
    const HeadlessControl* c = Get(id);
    return c ? c->exStyle : 0;
}

void HeadlessDialog::ModifyControlStyle(int id, std::uint32_t remove, std::uint32_t add, bool extended) {
    HeadlessControl* c = Get(id);
    if (!c) return;
    std::uint32_t& bits = extended ? c->exStyle : c->style;
    bits = (bits & ~remove) | add;
    ++c->invalidations;
}

void HeadlessDialog::SetControlCursor(int id, Cursor cursor) {
    if (HeadlessControl* c = Get(id)) c->cursor = cursor;
}

void HeadlessDialog::SetCheck(int id, bool checked) {
    if (HeadlessControl* c = Get(id)) c->checked = checked;
}

bool HeadlessDialog::IsChecked(int id) const {
    const HeadlessControl* c = Get(id);
    return c && c->checked;
}

void HeadlessDialog::SetSpinRange(int id, int low, int high) {
    if (HeadlessControl* c = Get(id)) {
        c->spinLow = std::min(low, high);
        c->spinHigh = std::max(low, high);
    }
}

bool HeadlessDialog::Type(int id, const std::string& cp1251) {
    if (closed_) return false;
    HeadlessControl* c = Get(id);
    if (!c || !c->visible || !c->enabled || c->kind != ControlKind::Edit) return false;
    c->text = cp1251;
    controller_.OnEditChanged(*this, id);
    return true;
}

bool HeadlessDialog::Spin(int id, int steps) {
    if (closed_) return false;
    const auto spin = std::find_if(controls_.begin(), controls_.end(),
                                   [&](const HeadlessControl& c) { return c.id == id && id != kIdStatic; });
    // Its edit field is the control made just before it, as the system's spin takes it.
    if (spin == controls_.end() || spin == controls_.begin() || spin->kind != ControlKind::Spin ||
        !spin->visible || !spin->enabled)
        return false;
    HeadlessControl& edit = *(spin - 1);
    if (edit.kind != ControlKind::Edit) return false;
    const long long now = std::strtoll(edit.text.c_str(), nullptr, 10);
    const long long next = std::clamp(now + steps, static_cast<long long>(spin->spinLow),
                                      static_cast<long long>(spin->spinHigh));
    edit.text = std::to_string(next);
    controller_.OnEditChanged(*this, edit.id);
    return true;
}

Rect HeadlessDialog::ControlRect(int id) const {
    const HeadlessControl* c = Get(id);
    return c ? c->rect : Rect{};
}

void HeadlessDialog::InvalidateControl(int id, bool parentToo) {
    HeadlessControl* c = Get(id);
    if (!c) return;
    ++c->invalidations;
    if (parentToo) ++c->parentInvalidations;
}

void HeadlessDialog::AttachCustomControl(int id, CustomControl* control) {
    if (!Get(id)) return;
    if (control)
        custom_[id] = control;
    else
        custom_.erase(id);
}

bool HeadlessDialog::StartControlTimer(int id, int timerId, unsigned periodMs) {
    if (closed_ || (id != 0 && !Get(id))) return false;
    StopControlTimer(id, timerId);
    platform::Loop* loop = platform::Get().loop;
    if (!loop) return false;
    const platform::TimerId t = loop->StartTimer(periodMs, [this, id, timerId](platform::TimerId) {
        if (id == 0) {
            controller_.OnTimer(*this, timerId);
            return;
        }
        auto it = custom_.find(id);
        if (it != custom_.end()) it->second->OnTimer(timerId);
    });
    if (t == 0) return false;
    timers_[{id, timerId}] = t;
    return true;
}

void HeadlessDialog::StopControlTimer(int id, int timerId) {
    auto it = timers_.find({id, timerId});
    if (it == timers_.end()) return;
    if (platform::Loop* loop = platform::Get().loop) loop->StopTimer(it->second);
    timers_.erase(it);
}

void HeadlessDialog::StopAllTimers() {
    platform::Loop* loop = platform::Get().loop;
    for (const auto& [key, t] : timers_)
        if (loop) loop->StopTimer(t);
    timers_.clear();
}

void HeadlessDialog::NotifyParent(int id, unsigned code) {
    notifications_.emplace_back(id, code);
    controller_.OnNotify(*this, id, code);
}

void HeadlessDialog::Close(int code) {
    if (closed_) return;
    controller_.OnClose(*this);
    closed_ = true;
    closeCode_ = code;
    // As the system destroys a window's timers with it.
    StopAllTimers();
}

// ---- window system ----

const HeadlessControl* DialogRecord::Find(int id) const {
    for (const HeadlessControl& c : controls)
        if (c.id == id && id != kIdStatic) return &c;
    return nullptr;
}

int HeadlessWindowing::RunModal(const DialogTemplate& dialog, DialogController& controller) {
    std::vector<UserAction> script;
    if (!scripts_.empty()) {
        script = std::move(scripts_.front());
        scripts_.pop_front();
    }
    HeadlessDialog window(dialog, controller);
    window.Open();
    platform::Loop* loop = platform::Get().loop;
    for (UserAction& a : script) {
        if (window.closed()) break;
        switch (a.kind) {
            case UserAction::Kind::Press:
                window.Press(a.id);
                break;
            case UserAction::Kind::Click:
                window.Click(a.point);
                break;
            case UserAction::Kind::ClickPlan:
                window.ClickPlan(a.point);
                break;
            case UserAction::Kind::ChooseTab:
                window.ChooseTab(a.id, a.key);
                break;
            case UserAction::Kind::DoubleClick:
                window.DoubleClick(a.id, a.text);
                break;
            case UserAction::Kind::Key:
                window.Key(a.key);
                break;
            case UserAction::Kind::Wait:
                if (loop) loop->RunUntil([&] { return window.closed(); }, a.ms);
                break;
            case UserAction::Kind::Look:
                if (a.look) a.look(window);
                break;
            case UserAction::Kind::Type:
                window.Type(a.id, a.text);
                break;
            case UserAction::Kind::MousePlan:
                window.MousePlan(a.mouse, a.point, a.shift);
                break;
        }
        // Work that the step made due (timers at zero delay) runs before the next step.
        if (loop && !window.closed()) loop->Poll();
    }
    DialogRecord record;
    if (!window.closed()) {
        record.abandoned = true;
        window.Key(kKeyEscape);
        if (!window.closed()) window.Close(kIdCancel);
    }
    record.templateId = dialog.id;
    record.caption = window.Caption();
    record.controls = window.controls();
    record.closeCode = window.closeCode();
    history_.push_back(std::move(record));
    return window.closeCode();
}

int HeadlessWindowing::PopupMenu(const std::vector<MenuItem>& items) {
    menus_.push_back(items);
    if (menuChoices_.empty()) return 0;
    const int command = menuChoices_.front();
    menuChoices_.pop_front();
    return command;
}

Colour HeadlessWindowing::SystemColourOf(SystemColour which) {
    // The classic Windows scheme.
    switch (which) {
        case SystemColour::WindowText:
            return Rgb(0, 0, 0);
        case SystemColour::ButtonFace:
            return Rgb(192, 192, 192);
        case SystemColour::Window:
            return Rgb(255, 255, 255);
    }
    return 0;
}

namespace {

std::string Describe(const Font& font) {
    return font.face + " " + std::to_string(font.height);
}

template <typename T>
std::optional<T> Next(std::deque<std::optional<T>>& answers) {
    if (answers.empty()) return std::nullopt;
    std::optional<T> answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

}  // namespace

std::optional<Colour> HeadlessWindowing::ChooseColour(Colour initial) {
    asked_.push_back("colour " + std::to_string(initial));
    return Next(colours_);
}

bool HeadlessWindowing::ChooseFont(Font& font, Colour& colour) {
    asked_.push_back("font " + Describe(font));
    std::optional<FontAnswer> answer = Next(fonts_);
    if (!answer) return false;
    font = answer->font;
    colour = answer->colour;
    return true;
}

std::optional<std::string> HeadlessWindowing::ChooseOpenFile(const std::string& defaultExtension,
                                                             const std::string& filter) {
    asked_.push_back("file " + defaultExtension + " " + filter);
    return Next(files_);
}

}  // namespace klt::ui
