#include "halls/hall_editor.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "core/state.h"
#include "halls/editor_dialogs.h"
#include "halls/plan_area.h"
#include "halls/table_drawing.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "res/hall_editor.h"
#include "text/format.h"
#include "text/literal.h"

namespace klt::halls {

using namespace klt::text::literals;

namespace {

constexpr unsigned kBoxExclamation = 0x30;  // MB_ICONEXCLAMATION
constexpr char kBoxCaption[] = "KLT DRV";
constexpr int kMinNumber = 1, kMaxNumber = 50;
constexpr std::size_t kMaxPathText = 200;
constexpr ui::Colour kFrameColour = 0x00000000;
constexpr ui::Colour kHandleColour = 0x00FF0000;

// A colour of the editor: painted in it; a click lets the user choose another.
class Swatch final : public ui::CustomControl {
  public:
    Swatch(Colour& colour, std::function<void()> changed) : colour_(colour), changed_(std::move(changed)) {}
    void Paint(ui::Canvas& canvas, const ui::Rect& client) override { canvas.FillRect(client, colour_); }
    void OnClick() override {
        const std::optional<ui::Colour> chosen = ui::CurrentWindowing().ChooseColour(colour_);
        if (!chosen) return;
        colour_ = *chosen;
        changed_();
    }

  private:
    Colour& colour_;
    std::function<void()> changed_;
};

std::string Trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

struct MenuRow {
    EditCommand command;
    std::string_view single, multi;  // empty: not in that menu
    bool separatorAfter;             // in the multi-table menu; copy and delete have one in both
};

const MenuRow kMenuRows[] = {
    {EditCommand::Properties, " Свойство стола"_cp, "", false},
    {EditCommand::Copy, " Копировать стол"_cp, " Копировать столы"_cp, true},
    {EditCommand::Delete, " Удалить стол"_cp, " Удалить столы"_cp, true},
    {EditCommand::AlignLeft, "", " Выровнять влево"_cp, false},
    {EditCommand::AlignRight, "", " Выровнять вправо"_cp, false},
    {EditCommand::AlignTop, "", " Выровнять по верху"_cp, false},
    {EditCommand::AlignBottom, "", " Выровнять по низу"_cp, true},
    {EditCommand::SameHeight, "", " Установить одну высоту"_cp, false},
    {EditCommand::SameWidth, "", " Установить одну ширину"_cp, false},
    {EditCommand::SameSize, "", " Установить один размер"_cp, true},
    {EditCommand::CentreHorizontally, " Центровка по горизонтели"_cp, " Центровка по горизонтели"_cp, false},
    {EditCommand::CentreVertically, " Центровка по вертикали"_cp, " Центровка по вертикали"_cp, false},
    {EditCommand::Centre, " В центр"_cp, " В центр"_cp, true},
    {EditCommand::DistributeHorizontally, "", " Равномерно по горизонтели"_cp, false},
    {EditCommand::DistributeVertically, "", " Равномерно по вертикали"_cp, false},
};

}  // namespace

std::vector<ui::MenuItem> EditMenu(MenuKind kind) {
    std::vector<ui::MenuItem> items;
    if (kind == MenuKind::None) return items;
    const bool single = kind == MenuKind::Single;
    for (const MenuRow& row : kMenuRows) {
        const std::string_view text = single ? row.single : row.multi;
        if (text.empty()) continue;
        const int command = static_cast<int>(row.command);
        items.push_back({command, std::string(text), res::kPictureEditCommandBase + command});
        const bool copyOrDelete = row.command == EditCommand::Copy || row.command == EditCommand::Delete;
        if (row.separatorAfter && (!single || copyOrDelete)) items.push_back({});
    }
    return items;
}

std::string PictureFileName(const std::string& path) {
    const std::string trimmed = Trimmed(path);
    const auto slash = trimmed.find_last_of("\\/:");
    std::string name = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
    // "." and ".." name folders, not pictures.
    if (name.find_first_not_of('.') == std::string::npos) name.clear();
    return name;
}

HallEditor::HallEditor() {
    *plan_.header = EditorHeader(CurrentFormatWord());
}

int HallEditor::Run() {
    return ui::CurrentWindowing().RunModal(res::kHallEditorTemplate, *this);
}

void HallEditor::Message(const char* cp1251) const {
    if (platform::Desktop* desktop = platform::Get().desktop)
        desktop->MessageBox(cp1251, kBoxCaption, kBoxExclamation);
}

ui::Rect HallEditor::PlanArea() const {
    return planArea_;
}

void HallEditor::OnOpen(ui::DialogView& view) {
    view_ = &view;
    const ui::Rect client = view.ClientRect();
    planArea_ = {0, 0, client.right, std::max(0, view.ControlRect(res::kEdSeparator).top)};
    filling_ = true;
    view.SetCheck(res::kEdHall, true);
    view.SetSpinRange(res::kEdNumberSpin, kMinNumber, kMaxNumber);
    view.SetControlText(res::kEdNumber, "1");
    filling_ = false;
    HallHeader& h = *plan_.header;

    for (auto [id, colour] :
         {std::pair{res::kEdTableColour, &tableColour_}, std::pair{res::kEdOccupiedFill, &h.occupiedFill},
          std::pair{res::kEdReservedFill, &h.reservedFill},
          std::pair{res::kEdOccupiedSum, &h.occupiedSumText},
          std::pair{res::kEdOccupiedName, &h.occupiedNameText},
          std::pair{res::kEdReservedTime, &h.reservedTimeText},
          std::pair{res::kEdReservedName, &h.reservedNameText}}) {
        swatches_.push_back(std::make_unique<Swatch>(*colour, [this, id = id] {
            if (!view_) return;
            view_->InvalidateControl(id, false);
            view_->Invalidate();  // the tables show the plan's colours
        }));
        view.AttachCustomControl(id, swatches_.back().get());
    }
    ShowChecks(view);
    Changed(view);
}

int HallEditor::Number(const ui::DialogView& view) const {
    const long long typed = std::strtoll(view.ControlText(res::kEdNumber).c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long long>(typed, kMinNumber, kMaxNumber));
}

void HallEditor::ShowChecks(ui::DialogView& view) {
    const HallHeader& h = *plan_.header;
    view.SetCheck(res::kEdUsePicture, h.usePicture == 1);
    view.SetCheck(res::kEdShowSums, h.showSums == 1);
    view.SetCheck(res::kEdShowNames, h.showNames == 1);
    ShowVisibility(view);
}

void HallEditor::ShowVisibility(ui::DialogView& view) {
    const HallHeader& h = *plan_.header;
    for (int id : {res::kEdPicturePath, res::kEdBrowse, res::kEdLoadPicture})
        view.ShowControl(id, h.usePicture == 1);
    for (int id : {res::kEdOccupiedSum, res::kEdOccupiedSumLabel}) view.ShowControl(id, h.showSums == 1);
    for (int id :
         {res::kEdOccupiedName, res::kEdReservedName, res::kEdOccupiedNameLabel, res::kEdReservedNameLabel})
        view.ShowControl(id, h.showNames == 1);
}

void HallEditor::ReadChecks(ui::DialogView& view) {
    HallHeader& h = *plan_.header;
    h.usePicture = view.IsChecked(res::kEdUsePicture) ? 1 : 0;
    h.showSums = view.IsChecked(res::kEdShowSums) ? 1 : 0;
    h.showNames = view.IsChecked(res::kEdShowNames) ? 1 : 0;
}

void HallEditor::Changed(ui::DialogView& view) {
    view.SetControlText(res::kEdTableCount, text::Format("%d", static_cast<int>(plan_.tables.size())));
    view.Invalidate();
}

void HallEditor::OnCommand(ui::DialogView& view, int id) {
    switch (id) {
        case ui::kIdCancel:  // "ВЫХОД", and Esc, which first puts back what a drag moved
            if (session_.Tracking()) {
                if (session_.Cancel()) view.Invalidate();
                return;
            }
            view.Close(ui::kIdCancel);
            return;
        case res::kEdHall:
        case res::kEdBar:
            hall_ = id == res::kEdHall;
            view.SetCheck(res::kEdHall, hall_);
            view.SetCheck(res::kEdBar, !hall_);
            return;
        case res::kEdLoad:
            Load(view);
            return;
        case res::kEdSave:
            Save(view);
            return;
        case res::kEdAddRectangle:
            AddTable(view, Shape::Rectangle);
            return;
        case res::kEdAddRhombus:
            AddTable(view, Shape::Rhombus);
            return;
        case res::kEdAddEllipse:
            AddTable(view, Shape::Ellipse);
            return;
        case res::kEdUsePicture:
        case res::kEdShowSums:
        case res::kEdShowNames:
            view.SetCheck(id, !view.IsChecked(id));
            ReadChecks(view);
            if (id == res::kEdUsePicture) {
                plan_.header->pictureName = PictureFileName(view.ControlText(res::kEdPicturePath));
                picture_.reset();
            }
            ShowVisibility(view);
            view.Invalidate();
            return;
        case res::kEdBrowse:
            Browse(view);
            return;
        case res::kEdLoadPicture:
            LoadPicture(view);
            return;
        case res::kEdColourScheme:
            if (!RunColourScheme(*plan_.header)) return;
            for (int swatch : {res::kEdOccupiedFill, res::kEdReservedFill, res::kEdOccupiedSum,
                               res::kEdOccupiedName, res::kEdReservedTime, res::kEdReservedName})
                view.InvalidateControl(swatch, false);
            view.Invalidate();
            return;
        default:
            return;
    }
}

void HallEditor::OnEditChanged(ui::DialogView& view, int id) {
    if (filling_ || id != res::kEdPicturePath) return;
    std::string text = view.ControlText(res::kEdPicturePath);
    if (text.size() > kMaxPathText) {
        text.resize(kMaxPathText);
        filling_ = true;
        view.SetControlText(res::kEdPicturePath, text);
        filling_ = false;
    }
    plan_.header->pictureName = PictureFileName(text);
}

void HallEditor::AddTable(ui::DialogView& view, Shape shape) {
    const ui::Rect group = view.ControlRect(res::kEdTableGroup);
    const ui::Rect client{0, 0, group.Width(), group.Height()};
    plan_.tables.push_back(NewTable(plan_, shape, NewTableRect(ToPlanRect(client)), tableColour_));
    Changed(view);
}

void HallEditor::Load(ui::DialogView& view) {
    const std::string& ib = core::State().ibDirectory;
    picture_.reset();
    plan_.tables.clear();
    session_.ClearSelection();
    std::optional<Plan> loaded = LoadPlan(ib, Kind(), Number(view));
    if (!loaded) {
        Message(hall_ ? "Ошибка открытия файла с настройками для данного зала."_cp.data()
                      : "Ошибка открытия файла с настройками для данного бара."_cp.data());
        Changed(view);
        return;
    }
    // The session and the swatches keep the plan's header: fill it in, do not replace it.
    *plan_.header = *loaded->header;
    // Whatever the file says, the picture is looked for inside ZALY only.
    plan_.header->pictureName = PictureFileName(plan_.header->pictureName);
    plan_.formatWord = loaded->formatWord;
    plan_.tables = std::move(loaded->tables);
    for (TableItem& t : plan_.tables) {
        t.header = plan_.header;
        t.shown = true;
        t.editMode = true;
    }
    filling_ = true;
    const std::string& name = plan_.header->pictureName;
    view.SetControlText(res::kEdPicturePath, name.empty() ? std::string() : PicturePath(ib, name));
    filling_ = false;
    ShowChecks(view);
    Changed(view);
}

void HallEditor::Save(ui::DialogView& view) {
    const std::string& ib = core::State().ibDirectory;
    ReadChecks(view);
    if (!SavePlan(ib, Kind(), Number(view), plan_)) {
        Message("Ошибка записи настроек для зала."_cp.data());
        return;
    }
    // The picture goes beside the plan under its bare name; a failed copy leaves the plan saved.
    const std::string source = Trimmed(view.ControlText(res::kEdPicturePath));
    const std::string& name = plan_.header->pictureName;
    if (source.empty() || name.empty()) return;
    const std::string target = PicturePath(ib, name);
    if (source != target) platform::Files().Copy(source, target, true);
}

void HallEditor::Browse(ui::DialogView& view) {
    const std::optional<std::string> chosen =
        ui::CurrentWindowing().ChooseOpenFile("*.bmp", "File  (*.bmp)|*.bmp|");
    if (!chosen) return;
    filling_ = true;
    view.SetControlText(res::kEdPicturePath, chosen->substr(0, kMaxPathText));
    filling_ = false;
    plan_.header->pictureName = PictureFileName(*chosen);
}

void HallEditor::LoadPicture(ui::DialogView& view) {
    const std::string path = Trimmed(view.ControlText(res::kEdPicturePath));
    if (path.empty()) {
        Message("Не выбран файл картинки!"_cp.data());
        return;
    }
    platform::FileSystem& files = platform::Files();
    if (!files.Exists(path) || files.IsDirectory(path)) {
        Message("Ошибка открытия файла картинки!"_cp.data());
        return;
    }
    std::string bytes;
    std::optional<ui::Bitmap> bitmap;
    if (files.ReadAll(path, bytes, kMaxPictureFileBytes)) bitmap = ui::DecodeBmp(bytes);
    if (!bitmap) {
        Message("Неудачная попытка загрузки фоновой картинки! "_cp.data());
        return;
    }
    picture_ = std::move(bitmap);
    view.Invalidate();
}

void HallEditor::ContextMenu(ui::DialogView& view, ui::Point p) {
    const MenuKind kind = session_.RightPress(p);
    view.Invalidate();
    if (kind == MenuKind::None) return;
    const int command = ui::CurrentWindowing().PopupMenu(EditMenu(kind));
    if (command < static_cast<int>(EditCommand::Properties) ||
        command > static_cast<int>(EditCommand::DistributeVertically))
        return;
    if (command == static_cast<int>(EditCommand::Properties)) {
        if (session_.MenuTable()) RunTableProperties(plan_, *session_.MenuTable(), Kind());
    } else {
        session_.Command(static_cast<EditCommand>(command));
    }
    Changed(view);
}

bool HallEditor::OnMouse(ui::DialogView& view, const ui::MouseEvent& event) {
    const bool inside = PlanArea().Contains(event.p);
    bool repaint = false;
    switch (event.action) {
        case ui::MouseAction::LeftDown:
            if (!inside) return false;
            repaint = session_.Press(event.p, event.shift);
            break;
        case ui::MouseAction::Move:
            repaint = session_.Move(event.p);
            break;
        case ui::MouseAction::LeftUp:
            repaint = session_.Release(event.p);
            break;
        case ui::MouseAction::RightDown:
            if (session_.Tracking()) {
                session_.RightPress(event.p);  // puts back what the drag moved
                repaint = true;
            } else if (inside) {
                ContextMenu(view, event.p);
            }
            break;
    }
    if (repaint) view.Invalidate();
    return session_.Tracking();
}

void HallEditor::OnPaint(ui::DialogView& view, ui::Canvas& canvas) {
    const ui::Rect area = PlanArea();
    canvas.BeginBuffer(area);
    canvas.Clip(area);
    canvas.FillRect(area, ui::CurrentWindowing().SystemColourOf(ui::SystemColour::ButtonFace));
    if (picture_ && plan_.header->usePicture == 1) {
        const ui::Rect source = PicturePart(*picture_, kPlanWidth, kPlanHeight);
        const ui::Rect dest{area.left, area.top, area.left + source.right * area.Width() / kPlanWidth,
                            area.top + source.bottom * area.Height() / kPlanHeight};
        canvas.DrawBitmap(*picture_, source, dest);
    }
    DrawTablesWithin(canvas, plan_, area);
    const Selection& selected = session_.selected();
    if (!selected.empty()) {
        canvas.SetPen(kFrameColour, 1);
        canvas.SetNoBrush();
        canvas.Rectangle(SelectionFrame(plan_, selected));
        for (std::size_t i : selected) {
            if (i >= plan_.tables.size()) continue;
            for (const ui::Rect& h : CornerHandles(plan_.tables[i])) canvas.FillRect(h, kHandleColour);
        }
    }
    if (const std::optional<ui::Rect> band = session_.Band()) {
        canvas.SetPen(kFrameColour, 1);
        canvas.SetNoBrush();
        canvas.Rectangle(*band);
    }
    canvas.ClearClip();
    canvas.EndBuffer();
    (void)view;
}

void HallEditor::OnClose(ui::DialogView& view) {
    (void)view;
    view_ = nullptr;
}

std::optional<ui::Point> HallEditor::PlanToClient(ui::Point plan) const {
    // The plan's coordinates are the plan area's own.
    return ui::Point{planArea_.left + plan.x, planArea_.top + plan.y};
}

}  // namespace klt::halls
