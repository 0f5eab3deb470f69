#include "halls/hall_view.h"

#include <algorithm>

#include "core/events.h"
#include "core/state.h"
#include "halls/markers.h"
#include "halls/orders_summary.h"
#include "halls/plan_area.h"
#include "halls/table_drawing.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "res/hall_dialogs.h"
#include "text/format.h"
#include "text/literal.h"

namespace klt::halls {

using namespace klt::text::literals;

namespace {

// A command of the full view: its button, the right that shows it, and its result.
struct Command {
    int id;
    int right;  // 0: never offered
    bool hallsOnly;
    std::string_view name;
    std::string_view middle;
};

const Command kCommands[] = {
    {res::kHallReserve, 14, true, "Бронь"_cp, ""},
    {res::kHallMerge, 19, false, "Объединить"_cp, ""},
    {res::kHallReturn, 0, false, "Возврат"_cp, ""},
    {res::kHallSummary, 5, false, "", ""},
    {res::kHallToBar, 99, false, "Смена зала"_cp, "_Бар"_cp},
    {res::kHallToHall, 100, false, "Смена зала"_cp, "_Зал"_cp},
    {res::kHallBatchPayment, 13, false, "Пакетная оплата"_cp, ""},
    {res::kHallService, 6, false, "Сервис"_cp, ""},
};
constexpr int kCompactMergeRight = 19;

// The work area each screen mode lays the view out for.
constexpr ui::Size kMode1{800, 600}, kMode2{1024, 768};
// The compact view's outer size, and its plan area (the turned 797 x 489).
constexpr ui::Size kCompactSize{240, 270};
constexpr int kCompactPlanWidth = 171, kCompactPlanHeight = 265;

ui::Font CompactButtonFont() {
    ui::Font f;
    f.height = 11;
    f.weight = 700;
    f.charset = 204;
    f.face = "MS Sans Serif";
    return f;
}

int ScaleTo(int v, int to, int from) {
    return static_cast<int>(static_cast<long long>(v) * to / from);
}

std::string FlagPath(const std::string& folder) {
    if (folder.empty()) return "flag.fl";
    const char last = folder.back();
    return folder + (last == '\\' || last == '/' ? "" : "\\") + "flag.fl";
}

}  // namespace

HallView::HallView(HallViewParams params, bool compact) : params_(std::move(params)), compact_(compact) {
    refresh_.kind = params_.kind;
    refresh_.number = params_.number;
    refresh_.rights = params_.rights;
    refresh_.visibilityList = params_.visibilityList;
    refresh_.leadMinutes = params_.leadMinutes;
    refresh_.holdMinutes = params_.holdMinutes;
    states_.permission = params_.permission;
}

int HallView::Run() {
    return ui::CurrentWindowing().RunModal(compact_ ? res::kCompactHallTemplate : res::kHallViewTemplate,
                                           *this);
}

void HallView::OnOpen(ui::DialogView& view) {
    view_ = &view;
    const ui::Rect designed = view.ClientRect();
    Place(view);
    if (compact_) {
        view.SetControlFont(res::kCompactMerge, CompactButtonFont());
    } else {
        LayOut(view, designed);
    }
    Load(view);

    ShowClock(view);  // at once, not a second later
    view.StartTimer(kClockTimer, kClockPeriodMs);
    if (compact_) {
        view.ShowControl(res::kCompactMerge, HasRight(params_.rights, kCompactMergeRight));
    } else {
        for (const Command& c : kCommands) view.ShowControl(c.id, Allowed(c.id));
    }
    if (params_.kind == PlanKind::Hall) view.StartTimer(kReservationsTimer, kReservationsPeriodMs);
    if (params_.flagPeriodMs > 0) view.StartTimer(kFlagTimer, static_cast<unsigned>(params_.flagPeriodMs));

    socket_.StartListening(params_.listenPort, [this](const std::string& text) { OnNotice(text); });

    RefreshOrders();
    RefreshReservations();
}

void HallView::Place(ui::DialogView& view) {
    ui::Windowing& windowing = ui::CurrentWindowing();
    const ui::Rect main = windowing.ScreenRectOf(core::State().hostMainWindow);
    if (compact_) {
        const int x = main.left + (main.Width() - kCompactSize.cx) / 2 + 2;
        const int y = main.top + (main.Height() - kCompactSize.cy) / 2 + 2;
        view.PlaceWindow({x, y, x + kCompactSize.cx - 4, y + kCompactSize.cy - 4});
        return;
    }
    // Modes beyond the two known ones cover the main window as it is.
    const int mode = core::State().screenMode;
    const ui::Size size = mode == 1 ? kMode1 : mode == 2 ? kMode2 : ui::Size{main.Width(), main.Height()};
    const int caption = windowing.CaptionHeight();
    const int x = main.left + (main.Width() - size.cx) / 2 + 3;
    const int y = main.top + (main.Height() - size.cy) / 2 + caption + 4;
    view.PlaceWindow({x, y, x + std::max(1, size.cx - 7), y + std::max(1, size.cy - caption - 8)});
}

void HallView::LayOut(ui::DialogView& view, const ui::Rect& designed) {
    const ui::Rect client = view.ClientRect();
    if (designed.Width() > 0 && designed.Height() > 0) {
        for (const ui::ControlTemplate& c : res::kHallViewControls) {
            const ui::Rect r = view.ControlRect(c.id);
            view.MoveControl(c.id, {ScaleTo(r.left, client.Width(), designed.Width()),
                                    ScaleTo(r.top, client.Height(), designed.Height()),
                                    ScaleTo(r.right, client.Width(), designed.Width()),
                                    ScaleTo(r.bottom, client.Height(), designed.Height())});
        }
    }
    for (int id : {res::kHallClock, res::kHallCaptionUpper, res::kHallCaptionLower})
        view.SetControlFont(id, HallTextFont());
    view.SetControlText(res::kHallCaptionRight, params_.caption228);
    view.SetControlText(res::kHallCaptionLower, params_.caption227);
    view.SetControlText(res::kHallCaptionUpper, params_.caption226);
}

void HallView::Load(ui::DialogView& view) {
    const ui::Rect client = view.ClientRect();
    conversion_ =
        compact_ ? Conversion::QuarterTurn() : Conversion::FullView(client.Width(), client.Height());
    const std::string& ib = core::State().ibDirectory;
    std::optional<Plan> loaded = LoadPlan(ib, params_.kind, params_.number, conversion_);
    plan_ = loaded ? std::move(*loaded) : Plan();
    plan_.header->wholeNumberSums = params_.sumDisplayMode;
    if (compact_) plan_.header->showNames = 0;

    picture_ = LoadPlanPicture(*plan_.header);
    if (picture_ && compact_) picture_ = ui::TurnQuarter(*picture_);
}

void HallView::ShowClock(ui::DialogView& view) {
    const platform::DateTime t = platform::Get().clock->LocalNow();
    view.SetControlText(res::kHallClock, text::Format("%02d.%02d.%02d  %02d:%02d", t.day, t.month,
                                                      t.year % 100, t.hour, t.minute));
}

void HallView::RefreshOrders() {
    if (states_.RefreshOrderStates(plan_, refresh_)) InvalidateTables();
}

void HallView::RefreshReservations() {
    if (states_.RefreshReservations(plan_, refresh_)) InvalidateTables();
}

void HallView::InvalidateTables() {
    if (!view_) return;
    // Over a picture, repainting only the tables spares redrawing the whole picture.
    if (!picture_) {
        view_->Invalidate();
        return;
    }
    for (const TableItem& t : plan_.tables) view_->InvalidateArea(TableDrawnArea(t));
}

void HallView::OnNotice(const std::string& text) {
    if (!view_) return;
    if (text == OwnKey(params_.kind == PlanKind::Hall ? ViewKind::Hall : ViewKind::Bar, params_.number))
        RefreshOrders();
}

void HallView::OnTimer(ui::DialogView& view, int timerId) {
    switch (timerId) {
        case kClockTimer:
            ShowClock(view);
            break;
        case kReservationsTimer:
            RefreshReservations();
            break;
        case kFlagTimer:
            // The flag is the configuration's: it decides when the update is done and removes it.
            if (platform::Files().Exists(FlagPath(params_.flagFolder))) core::RaiseRefreshEvent();
            break;
        default:
            break;
    }
}

bool HallView::Allowed(int command) const {
    if (compact_) return command == res::kCompactMerge && HasRight(params_.rights, kCompactMergeRight);
    for (const Command& c : kCommands) {
        if (c.id != command) continue;
        return c.right != 0 && HasRight(params_.rights, c.right) &&
               (!c.hallsOnly || params_.kind == PlanKind::Hall);
    }
    return false;
}

std::string HallView::CommandResult(std::string_view name, std::string_view middle) const {
    return text::Format("%s_%d%s_%s%s", std::string(name).c_str(), params_.number,
                        std::string(middle).c_str(), "Из"_cp.data(),
                        params_.kind == PlanKind::Hall ? "Зала"_cp.data() : "Бара"_cp.data());
}

void HallView::OnCommand(ui::DialogView& view, int id) {
    if (id == ui::kIdCancel) {  // the close button, and Esc
        result_.clear();
        view.Close(ui::kIdCancel);
        return;
    }
    if (!Allowed(id)) return;  // Enter, and buttons the user has no right to
    if (compact_) {
        result_ = CommandResult("Объединить"_cp);
        view.Close(ui::kIdOk);
        return;
    }
    if (id == res::kHallSummary) {
        OrdersSummary(params_.kind, params_.number, params_.permission, params_.sumDisplayMode).Run();
        return;
    }
    for (const Command& c : kCommands) {
        if (c.id != id) continue;
        result_ = CommandResult(c.name, c.middle);
        view.Close(ui::kIdOk);
        return;
    }
}

void HallView::OnClick(ui::DialogView& view, ui::Point p) {
    for (const TableItem& t : plan_.tables) {
        // A table that is not drawn is not there to be touched: it must not hide one under it.
        if (!t.shown) continue;
        const ui::Rect r = TableArea(t);
        if (!ui::Rect{r.left - 2, r.top - 2, r.right + 2, r.bottom + 2}.Contains(p)) continue;
        // Reserved and free: kept for the guests who booked it.
        if (t.state == TableState::Free && t.reserved) return;
        const bool hall = params_.kind == PlanKind::Hall;
        result_ = text::Format("%s_%d_%d_%d_%s_%s%s", "Выбор стола"_cp.data(), params_.number,
                               static_cast<int>(t.record.number), t.record.severalOrders != 0 ? 1 : 0,
                               hall ? "Заказ"_cp.data() : "Чек"_cp.data(), "Из"_cp.data(),
                               hall ? "Зала"_cp.data() : "Бара"_cp.data());
        view.Close(ui::kIdOk);
        return;
    }
}

bool HallView::PictureGeometry(ui::Rect& source, ui::Rect& dest) const {
    if (!picture_ || picture_->width <= 0 || picture_->height <= 0) return false;
    if (!compact_) {
        // The part of the picture under the plan is its top-left 797 x 489, as the editor shows it.
        const float sx = static_cast<float>(conversion_.area.right) / 797.0f;
        const float sy = static_cast<float>(conversion_.area.bottom) / 577.0f;
        source = {0, 0, std::min(picture_->width, kPlanWidth), std::min(picture_->height, kPlanHeight)};
        dest = {0, 0, static_cast<int>(static_cast<float>(source.right) * sx),
                static_cast<int>(static_cast<float>(source.bottom) * sy)};
        return true;
    }
    // Turned, the picture's top-left 797 x 489 lies at its bottom-left; the plan's right edge
    // (x = 797) comes to the top of the window, so a narrower picture ends short of the top.
    const int across = std::min(picture_->width, kPlanHeight);  // the picture's rows, now columns
    const int down = std::min(picture_->height, kPlanWidth);    // its columns, now rows
    source = {0, picture_->height - down, across, picture_->height};
    dest = {0, kCompactPlanHeight - down * kCompactPlanHeight / kPlanWidth,
            across * kCompactPlanWidth / kPlanHeight, kCompactPlanHeight};
    return true;
}

void HallView::OnPaint(ui::DialogView& view, ui::Canvas& canvas) {
    const ui::Rect client = view.ClientRect();
    canvas.BeginBuffer(client);
    // Nothing a plan holds may paint outside the window.
    canvas.Clip(client);
    canvas.FillRect(client, ui::CurrentWindowing().SystemColourOf(ui::SystemColour::ButtonFace));
    ui::Rect source, dest;
    if (PictureGeometry(source, dest)) canvas.DrawBitmap(*picture_, source, dest);
    for (const TableItem& t : plan_.tables) DrawTable(canvas, t);
    canvas.ClearClip();
    canvas.EndBuffer();
}

void HallView::OnClose(ui::DialogView& view) {
    (void)view;
    socket_.Stop();
    view_ = nullptr;
}

std::optional<ui::Point> HallView::PlanToClient(ui::Point plan) const {
    const Rect r = conversion_.Apply({plan.x, plan.y, plan.x, plan.y});
    return ui::Point{r.left, r.top};
}

}  // namespace klt::halls
