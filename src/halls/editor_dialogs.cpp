#include "halls/editor_dialogs.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "halls/table_drawing.h"
#include "platform/platform.h"
#include "res/editor_dialogs.h"
#include "text/format.h"
#include "text/literal.h"

namespace klt::halls {

using namespace klt::text::literals;

namespace {

constexpr unsigned kBoxExclamation = 0x30;  // MB_ICONEXCLAMATION
constexpr char kBoxCaption[] = "KLT DRV";

// A colour field: painted in its colour; a click, when it takes one, lets the user choose another.
class Swatch final : public ui::CustomControl {
  public:
    Swatch(std::function<Colour()> colour, std::function<void()> click)
        : colour_(std::move(colour)), click_(std::move(click)) {}
    void Paint(ui::Canvas& canvas, const ui::Rect& client) override { canvas.FillRect(client, colour_()); }
    void OnClick() override {
        if (click_) click_();
    }

  private:
    std::function<Colour()> colour_;
    std::function<void()> click_;
};

// The number typed in a field within its limits; what is not a number counts as 0.
int FieldNumber(const ui::DialogView& view, int id, int low, int high) {
    const long long typed = std::strtoll(view.ControlText(id).c_str(), nullptr, 10);
    return static_cast<int>(std::clamp(typed, static_cast<long long>(low), static_cast<long long>(high)));
}

// Asks the system for a colour in place of `colour`; true when the user chose one.
bool ChooseInto(Colour& colour) {
    const std::optional<ui::Colour> chosen = ui::CurrentWindowing().ChooseColour(colour);
    if (chosen) colour = *chosen;
    return chosen.has_value();
}

// Groups of three radio buttons that set a field to 0, 1 or 2.
struct Choice3 {
    int ids[3];
    std::int32_t TableRecord::*field;
};
constexpr Choice3 kAlignments[] = {
    {{res::kPropSumTop, res::kPropSumVCentre, res::kPropSumBottom}, &TableRecord::sumVAlign},
    {{res::kPropSumLeft, res::kPropSumCentre, res::kPropSumRight}, &TableRecord::sumHAlign},
    {{res::kPropNameTop, res::kPropNameVCentre, res::kPropNameBottom}, &TableRecord::nameVAlign},
    {{res::kPropNameLeft, res::kPropNameCentre, res::kPropNameRight}, &TableRecord::nameHAlign},
};
constexpr Choice3 kShapes{{res::kPropShapeRectangle, res::kPropShapeRhombus, res::kPropShapeEllipse},
                          &TableRecord::shape};

// Check boxes of 0/1 fields.
struct Flag {
    int id;
    std::int32_t TableRecord::*field;
};
constexpr Flag kFlags[] = {
    {res::kPropShowSum, &TableRecord::showSum},
    {res::kPropShowName, &TableRecord::showName},
    {res::kPropSumOffset, &TableRecord::sumOffsetInUse},
    {res::kPropNameOffset, &TableRecord::nameOffsetInUse},
    {res::kPropSeveralOrders, &TableRecord::severalOrders},
};

// Number fields with their limits.
struct NumberField {
    int id;
    std::int32_t TableRecord::*field;
    int low, high;
};
constexpr NumberField kNumbers[] = {
    {res::kPropNumber, &TableRecord::number, kMinTableNumber, kMaxTableNumber},
    {res::kPropRounding, &TableRecord::rounding, 0, kMaxRounding},
    {res::kPropThickness, &TableRecord::thickness, kMinThickness, kMaxThickness},
    {res::kPropSumX, &TableRecord::sumOffsetX, -kMaxTextOffset, kMaxTextOffset},
    {res::kPropSumY, &TableRecord::sumOffsetY, -kMaxTextOffset, kMaxTextOffset},
    {res::kPropNameX, &TableRecord::nameOffsetX, -kMaxTextOffset, kMaxTextOffset},
    {res::kPropNameY, &TableRecord::nameOffsetY, -kMaxTextOffset, kMaxTextOffset},
};

constexpr int kSumControls[] = {
    res::kPropSumTop,    res::kPropSumVCentre, res::kPropSumBottom, res::kPropSumLeft,
    res::kPropSumCentre, res::kPropSumRight,   res::kPropSumFont,   res::kPropSumOffset,
    res::kPropSumX,      res::kPropSumXSpin,   res::kPropSumY,      res::kPropSumYSpin,
    res::kPropSumVLabel, res::kPropSumHLabel,  res::kPropSumXLabel, res::kPropSumYLabel};
constexpr int kNameControls[] = {res::kPropNameTop,    res::kPropNameVCentre, res::kPropNameBottom,
                                 res::kPropNameLeft,   res::kPropNameCentre,  res::kPropNameRight,
                                 res::kPropNameFont,   res::kPropNameColour,  res::kPropNameOffset,
                                 res::kPropNameX,      res::kPropNameXSpin,   res::kPropNameY,
                                 res::kPropNameYSpin,  res::kPropNameVLabel,  res::kPropNameHLabel,
                                 res::kPropNameXLabel, res::kPropNameYLabel};

class TableProperties final : public ui::DialogController {
  public:
    TableProperties(const Plan& plan, std::size_t index, PlanKind kind)
        : plan_(plan), index_(index), kind_(kind) {
        const TableItem& table = plan.tables[index];
        preview_.record = table.record;
        // The plan's flags decide what the dialog offers; a plan without a header has the defaults.
        preview_.header = plan.header ? plan.header : std::make_shared<HallHeader>();
        preview_.shown = true;
        preview_.sample = true;
        preview_.sum = kPreviewSum;
    }

    const TableRecord& edited() const { return preview_.record; }

    void OnOpen(ui::DialogView& view) override {
        view_ = &view;
        // The table keeps its size; it stands where the preview is.
        const ui::Rect area = TableArea(preview_);
        const int x = (view.ClientRect().Width() - area.Width() - kPreviewFieldsWidth) / 2;
        preview_.record.rect = {x, kPreviewTop, x + area.Width(), kPreviewTop + area.Height()};

        TableRecord& r = preview_.record;
        filling_ = true;  // setting the fields tells of changes the user did not make
        for (const NumberField& n : kNumbers)
            view.SetControlText(n.id, std::to_string(std::clamp<std::int32_t>(r.*n.field, n.low, n.high)));
        view.SetControlText(res::kPropName, r.name.substr(0, kMaxTableName));
        for (int spin : {res::kPropSumXSpin, res::kPropSumYSpin, res::kPropNameXSpin, res::kPropNameYSpin})
            view.SetSpinRange(spin, -kMaxTextOffset, kMaxTextOffset);
        filling_ = false;

        swatches_.emplace_back(
            res::kPropOutlineColour,
            Swatch([this] { return preview_.record.outline; },
                   [this] { ChooseColour(res::kPropOutlineColour, preview_.record.outline); }));
        swatches_.emplace_back(
            res::kPropFreeColour,
            Swatch([this] { return preview_.record.freeFill; },
                   [this] { ChooseColour(res::kPropFreeColour, preview_.record.freeFill); }));
        swatches_.emplace_back(res::kPropNameColour,
                               Swatch([this] { return preview_.record.freeNameText; }, {}));
        for (auto& [id, swatch] : swatches_) view.AttachCustomControl(id, &swatch);
        ShowChoices(view);
    }

    void OnCommand(ui::DialogView& view, int id) override {
        TableRecord& r = preview_.record;
        if (id == res::kPropApply) {
            ReadFields(view);
            for (std::size_t i = 0; i < plan_.tables.size(); ++i) {
                if (i != index_ && plan_.tables[i].record.number == r.number) {
                    if (platform::Desktop* desktop = platform::Get().desktop)
                        desktop->MessageBox(std::string("Данный номер стола уже присутствует!"_cp),
                                            kBoxCaption, kBoxExclamation);
                    return;
                }
            }
            view.Close(res::kPropApply);
            return;
        }
        if (id == res::kPropCancel) {
            view.Close(res::kPropCancel);
            return;
        }
        if (id == res::kPropSumFont || id == res::kPropNameFont) {
            const bool sum = id == res::kPropSumFont;
            LogFont& stored = sum ? r.sumFont : r.nameFont;
            ui::Font font = ToFont(stored);
            // The sum's colour belongs to the plan; only the name's is the table's.
            Colour colour = sum ? preview_.header->occupiedSumText : r.freeNameText;
            if (!ui::CurrentWindowing().ChooseFont(font, colour)) return;
            stored = FromFont(font, stored);
            if (!sum) {
                r.freeNameText = colour;
                view.InvalidateControl(res::kPropNameColour, false);
            }
        } else if (!Pick(id)) {
            return;
        }
        ShowChoices(view);
    }

    void OnEditChanged(ui::DialogView& view, int id) override {
        (void)id;
        if (filling_) return;
        ReadFields(view);
        RefreshPreview(view);
    }

    void OnPaint(ui::DialogView& view, ui::Canvas& canvas) override {
        const ui::Rect area = PreviewArea(view);
        canvas.FillRect(area, ui::CurrentWindowing().SystemColourOf(ui::SystemColour::ButtonFace));
        canvas.Clip(area);
        DrawTable(canvas, preview_);
        canvas.ClearClip();
    }

    void OnClose(ui::DialogView& view) override {
        (void)view;
        view_ = nullptr;
    }

  private:
    // A radio button or check box: answers whether it was one.
    bool Pick(int id) {
        TableRecord& r = preview_.record;
        for (const Flag& f : kFlags)
            if (f.id == id) {
                r.*f.field = r.*f.field == 1 ? 0 : 1;
                return true;
            }
        for (const Choice3& c : kAlignments)
            for (int i = 0; i < 3; ++i)
                if (c.ids[i] == id) {
                    r.*c.field = i;
                    return true;
                }
        for (int i = 0; i < 3; ++i)
            if (kShapes.ids[i] == id) {
                r.shape = i + 1;
                return true;
            }
        return false;
    }

    void ChooseColour(int swatch, Colour& colour) {
        if (!ChooseInto(colour) || !view_) return;
        view_->InvalidateControl(swatch, false);
        RefreshPreview(*view_);
    }

    void ReadFields(ui::DialogView& view) {
        TableRecord& r = preview_.record;
        for (const NumberField& n : kNumbers) r.*n.field = FieldNumber(view, n.id, n.low, n.high);
        r.name = view.ControlText(res::kPropName).substr(0, kMaxTableName);
    }

    // Checks and radio buttons as the table is now, what its flags let be seen, and the preview.
    void ShowChoices(ui::DialogView& view) {
        const TableRecord& r = preview_.record;
        for (const Flag& f : kFlags) view.SetCheck(f.id, r.*f.field == 1);
        for (const Choice3& c : kAlignments)
            for (int i = 0; i < 3; ++i) view.SetCheck(c.ids[i], r.*c.field == i);
        for (int i = 0; i < 3; ++i) view.SetCheck(kShapes.ids[i], r.shape == i + 1);

        const HallHeader& header = *preview_.header;
        view.ShowControl(res::kPropShowSum, header.showSums == 1);
        for (int id : kSumControls) view.ShowControl(id, header.showSums == 1 && r.showSum == 1);
        view.ShowControl(res::kPropShowName, header.showNames == 1);
        for (int id : kNameControls) view.ShowControl(id, header.showNames == 1 && r.showName == 1);
        view.ShowControl(res::kPropRounding, r.shape == 1);
        view.ShowControl(res::kPropRoundingLabel, r.shape == 1);
        view.ShowControl(res::kPropSeveralOrders, kind_ == PlanKind::Hall);
        RefreshPreview(view);
    }

    void RefreshPreview(ui::DialogView& view) { view.InvalidateArea(PreviewArea(view)); }

    // The dialog's part left of the fields, between the shape's fields and the colours.
    static ui::Rect PreviewArea(const ui::DialogView& view) {
        const ui::Rect client = view.ClientRect();
        return {0, view.ControlRect(res::kPropThickness).bottom + 4, client.right - kPreviewFieldsWidth,
                view.ControlRect(res::kPropOutlineColour).top - 4};
    }

    const Plan& plan_;
    std::size_t index_;
    PlanKind kind_;
    TableItem preview_;
    ui::DialogView* view_ = nullptr;
    bool filling_ = false;
    std::vector<std::pair<int, Swatch>> swatches_;
};

class ColourScheme final : public ui::DialogController {
  public:
    explicit ColourScheme(const HallHeader& header) : header_(std::make_shared<HallHeader>(header)) {
        sample_.record = NewTableRecord(1, TableRecord{}.freeFill, Shape::Rectangle, {});
        sample_.record.name = "№ 1"_cp;
        sample_.header = header_;
        sample_.shown = true;
        sample_.sum = kPreviewSum;
        sample_.reservationText = "00:00";
        ShowState(TableState::Occupied);
    }

    const HallHeader& edited() const { return *header_; }

    void OnOpen(ui::DialogView& view) override {
        view_ = &view;
        const ui::Rect occupied = view.ControlRect(res::kSchemeShowOccupied);
        const ui::Rect reserved = view.ControlRect(res::kSchemeShowReserved);
        sample_.record.rect = {occupied.left, 20, reserved.right, occupied.top - 12};
        HallHeader& h = *header_;
        for (auto [id, colour] : {std::pair{res::kSchemeOccupiedFill, &h.occupiedFill},
                                  std::pair{res::kSchemeReservedFill, &h.reservedFill},
                                  std::pair{res::kSchemeOccupiedSum, &h.occupiedSumText},
                                  std::pair{res::kSchemeOccupiedName, &h.occupiedNameText},
                                  std::pair{res::kSchemeReservedTime, &h.reservedTimeText},
                                  std::pair{res::kSchemeReservedName, &h.reservedNameText}}) {
            swatches_.emplace_back(id, Swatch([colour] { return *colour; },
                                              [this, id, colour] {
                                                  if (!ChooseInto(*colour) || !view_) return;
                                                  view_->InvalidateControl(id, false);
                                                  view_->InvalidateArea(SampleArea());
                                              }));
        }
        for (auto& [id, swatch] : swatches_) view.AttachCustomControl(id, &swatch);
        view.SetCheck(res::kSchemeShowOccupied, true);
    }

    void OnCommand(ui::DialogView& view, int id) override {
        if (id == res::kSchemeApply || id == res::kSchemeCancel) {
            view.Close(id);
            return;
        }
        if (id != res::kSchemeShowOccupied && id != res::kSchemeShowReserved) return;
        ShowState(id == res::kSchemeShowOccupied ? TableState::Occupied : TableState::Free);
        view.SetCheck(res::kSchemeShowOccupied, id == res::kSchemeShowOccupied);
        view.SetCheck(res::kSchemeShowReserved, id == res::kSchemeShowReserved);
        view.InvalidateArea(SampleArea());
    }

    void OnPaint(ui::DialogView& view, ui::Canvas& canvas) override {
        (void)view;
        canvas.FillRect(SampleArea(), ui::CurrentWindowing().SystemColourOf(ui::SystemColour::ButtonFace));
        DrawTable(canvas, sample_);
    }

    void OnClose(ui::DialogView& view) override {
        (void)view;
        view_ = nullptr;
    }

  private:
    // Occupied with a sum, or free and reserved with the time under "БРОНЬ".
    void ShowState(TableState state) {
        sample_.state = state;
        sample_.reserved = state != TableState::Occupied;
    }
    ui::Rect SampleArea() const { return TableArea(sample_); }

    std::shared_ptr<HallHeader> header_;
    TableItem sample_;
    ui::DialogView* view_ = nullptr;
    std::vector<std::pair<int, Swatch>> swatches_;
};

}  // namespace

LogFont FromFont(const ui::Font& font, LogFont previous) {
    LogFont f = previous;
    f.height = font.height;
    f.width = font.width;
    f.escapement = font.escapement;
    f.orientation = font.orientation;
    f.weight = font.weight;
    f.italic = font.italic ? 1 : 0;
    f.underline = font.underline ? 1 : 0;
    f.charSet = static_cast<std::uint8_t>(font.charset);
    f.faceName.fill('\0');
    std::memcpy(f.faceName.data(), font.face.data(), std::min(font.face.size(), f.faceName.size() - 1));
    return f;
}

bool RunTableProperties(Plan& plan, std::size_t table, PlanKind kind) {
    if (table >= plan.tables.size()) return false;
    TableProperties dialog(plan, table, kind);
    if (ui::CurrentWindowing().RunModal(res::kTablePropertiesTemplate, dialog) != res::kPropApply)
        return false;
    TableRecord& record = plan.tables[table].record;
    const Rect rect = record.rect;
    record = dialog.edited();
    record.rect = rect;
    return true;
}

bool RunColourScheme(HallHeader& header) {
    ColourScheme dialog(header);
    if (ui::CurrentWindowing().RunModal(res::kColourSchemeTemplate, dialog) != res::kSchemeApply)
        return false;
    const HallHeader& edited = dialog.edited();
    header.occupiedFill = edited.occupiedFill;
    header.reservedFill = edited.reservedFill;
    header.occupiedSumText = edited.occupiedSumText;
    header.occupiedNameText = edited.occupiedNameText;
    header.reservedTimeText = edited.reservedTimeText;
    header.reservedNameText = edited.reservedNameText;
    return true;
}

}  // namespace klt::halls
