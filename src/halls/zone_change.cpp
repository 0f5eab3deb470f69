#include "halls/zone_change.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "core/state.h"
#include "halls/markers.h"
#include "halls/plan_area.h"
#include "halls/table_states.h"
#include "res/zone_dialogs.h"
#include "text/format.h"
#include "text/literal.h"

namespace klt::halls {

using namespace klt::text::literals;

namespace {

// The compact windows draw the turned plan over 171 x 265 px from the client's corner.
constexpr int kTurnedWidth = 171;
constexpr int kTurnedHeight = 265;

ui::Point TopLeft(const Rect& r) {
    return {r.left, r.top};
}

Plan LoadOrEmpty(PlanKind kind, int number, const Conversion& conversion) {
    std::optional<Plan> plan = LoadPlan(core::State().ibDirectory, kind, number, conversion);
    return plan ? std::move(*plan) : Plan{};
}

// The part of a picture that lies under the plan (its top-left 797 x 489 pixels, or less of a
// smaller picture).
ui::Rect PlanPart(const ui::Bitmap& picture) {
    return PicturePart(picture, kPlanWidth, kPlanHeight);
}

ui::Bitmap Crop(const ui::Bitmap& picture, const ui::Rect& part) {
    ui::Bitmap out;
    out.width = part.Width();
    out.height = part.Height();
    out.pixels.reserve(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
    for (int y = 0; y < out.height; ++y) {
        const auto row = picture.pixels.begin() + static_cast<std::ptrdiff_t>(y) * picture.width;
        out.pixels.insert(out.pixels.end(), row, row + out.width);
    }
    return out;
}

}  // namespace

// ---- zone-change window ----

ZoneChange::ZoneChange(ZoneChangeParams params) : params_(std::move(params)) {}

int ZoneChange::Run() {
    return ui::CurrentWindowing().RunModal(res::kZoneChangeTemplate, *this);
}

void ZoneChange::OnOpen(ui::DialogView& view) {
    const bool hall = params_.kind == PlanKind::Hall;
    view.SetCaption(std::string(hall ? "ЗАЛ:    "_cp : "БАРНАЯ СТОЙКА:    "_cp) + params_.name);

    const ui::Font captionFont = HallTextFont();
    view.SetControlText(res::kZoneCaptionLower, params_.caption227);
    view.SetControlText(res::kZoneCaptionUpper, params_.caption226);
    view.SetControlFont(res::kZoneCaptionLower, captionFont);
    view.SetControlFont(res::kZoneCaptionUpper, captionFont);

    const std::string_view rights = params_.rights;
    changeHall_ = hall && HasRight(rights, 100) && HasRight(rights, 48);
    changeUser_ = HasRight(rights, hall ? 61 : 62);
    moveToHall_ = !hall && HasRight(rights, 69);
    view.ShowControl(res::kZoneChangeHall, changeHall_);
    view.ShowControl(res::kZoneChangeUser, changeUser_);
    view.ShowControl(res::kZoneMoveToHall, moveToHall_);

    area_ = view.ControlRect(res::kZonePlanArea);
    plan_ = LoadOrEmpty(params_.kind, params_.number, Conversion::ZoneChange(ToPlanRect(area_)));
    picture_ = LoadPlanPicture(*plan_.header);
    for (TableItem& t : plan_.tables) {
        const int table = t.record.number;
        t.editMode = true;
        t.state = TableState::Free;
        t.reserved = false;
        t.sum = 0;
        t.shown = InVisibilityList(params_.visibilityList, params_.number, table);
        // Another order already sits at a table that takes one only.
        if (t.shown && t.record.severalOrders == 0 && HasOpenOrder(params_.kind, params_.number, table))
            t.shown = false;
        if (InVisibilityList(params_.extraTables, params_.number, table)) t.shown = true;
    }
    opened_ = true;
}

void ZoneChange::Choose(ui::DialogView& view, std::string result) {
    result_ = std::move(result);
    view.Close(ui::kIdOk);
}

void ZoneChange::OnCommand(ui::DialogView& view, int id) {
    const int n = params_.number;
    // A hidden button cannot be pressed; its command is refused all the same should it arrive.
    switch (id) {
        case res::kZoneChangeHall:
            if (changeHall_) Choose(view, text::Format("Смена зала_%d_ИзСменыЗала"_cp.data(), n));
            break;
        case res::kZoneChangeUser:
            if (changeUser_) Choose(view, text::Format("Смена пользователя_%d__ИзСменыЗала"_cp.data(), n));
            break;
        case res::kZoneMoveToHall:
            if (moveToHall_) Choose(view, text::Format("Перевести в ЗАЛ_%d"_cp.data(), n));
            break;
        case res::kZoneCancel:
            result_ = text::Format("Отмена_%d_ИзСменыЗала"_cp.data(), n);
            view.Close(ui::kIdCancel);
            break;
        default:
            // Enter has no default button to press here.
            break;
    }
}

void ZoneChange::OnClick(ui::DialogView& view, ui::Point p) {
    // Only the plan area (and the finger's margin around it) holds tables.
    if (p.x < area_.left - 2 || p.x >= area_.right + 2 || p.y < area_.top - 2 || p.y >= area_.bottom + 2)
        return;
    const TableItem* t = ShownTableAt(plan_, p);
    if (!t) return;
    Choose(view, text::Format("Выбор стола_%d_%d_ИзЗала"_cp.data(), params_.number, t->record.number));
}

void ZoneChange::OnPaint(ui::DialogView& view, ui::Canvas& canvas) {
    (void)view;
    if (!opened_ || area_.Empty()) return;
    canvas.Clip(area_);
    if (picture_) {
        const ui::Rect part = PlanPart(*picture_);
        const ui::Rect to{area_.left, area_.top, area_.left + area_.Width() * part.Width() / kPlanWidth,
                          area_.top + area_.Height() * part.Height() / kPlanHeight};
        canvas.DrawBitmap(*picture_, part, to);
    }
    DrawTablesWithin(canvas, plan_, area_);
    canvas.ClearClip();
}

std::optional<ui::Point> ZoneChange::PlanToClient(ui::Point plan) const {
    if (!opened_) return std::nullopt;
    return TopLeft(Conversion::ZoneChange(ToPlanRect(area_)).Apply({plan.x, plan.y, plan.x, plan.y}));
}

// ---- compact plan display ----

CompactPlanDisplay::CompactPlanDisplay(PlanKind kind, int number, int sumDisplayMode)
    : kind_(kind), number_(number), sumDisplayMode_(sumDisplayMode) {}

int CompactPlanDisplay::Run() {
    return ui::CurrentWindowing().RunModal(res::kCompactPlanTemplate, *this);
}

void CompactPlanDisplay::OnOpen(ui::DialogView& view) {
    (void)view;
    plan_ = LoadOrEmpty(kind_, number_, Conversion::QuarterTurn());
    plan_.header->wholeNumberSums = sumDisplayMode_;
    plan_.header->showNames = 0;  // no room for names on a pocket screen
    if (std::optional<ui::Bitmap> picture = LoadPlanPicture(*plan_.header)) {
        // Turned as the plan is; only the part under the plan is kept.
        picture_ = ui::TurnQuarter(Crop(*picture, PlanPart(*picture)));
    }
    for (TableItem& t : plan_.tables) {
        t.shown = true;
        t.state = TableState::Free;
        t.reserved = false;
        t.sum = 0;
    }
    opened_ = true;
}

void CompactPlanDisplay::OnCommand(ui::DialogView& view, int id) {
    if (id == res::kCompactPlanOk) view.Close(ui::kIdOk);
    if (id == ui::kIdCancel) view.Close(ui::kIdCancel);
}

void CompactPlanDisplay::OnPaint(ui::DialogView& view, ui::Canvas& canvas) {
    const ui::Rect client = view.ClientRect();
    if (!opened_ || client.Empty()) return;
    canvas.Clip(client);
    if (picture_) {
        // The turned picture is as wide as the plan part was high; its last row lies under the
        // plan's left edge, at the bottom of the drawing.
        const int planRows = picture_->height, planColumns = picture_->width;
        const ui::Rect to{0, kTurnedHeight - kTurnedHeight * planRows / kPlanWidth,
                          kTurnedWidth * planColumns / kPlanHeight, kTurnedHeight};
        canvas.DrawBitmap(*picture_, {0, 0, picture_->width, picture_->height}, to);
    }
    DrawTablesWithin(canvas, plan_, client);
    canvas.ClearClip();
}

std::optional<ui::Point> CompactPlanDisplay::PlanToClient(ui::Point plan) const {
    if (!opened_) return std::nullopt;
    return TopLeft(Conversion::QuarterTurn().Apply({plan.x, plan.y, plan.x, plan.y}));
}

}  // namespace klt::halls
