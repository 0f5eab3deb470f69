#include "halls/monitor.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "core/state.h"
#include "halls/markers.h"
#include "halls/plan_area.h"
#include "halls/table_index.h"
#include "halls/table_states.h"
#include "platform/files.h"
#include "res/monitor_dialogs.h"
#include "text/cp1251.h"
#include "text/format.h"
#include "text/literal.h"

namespace klt::halls {

using namespace klt::text::literals;

namespace {

// The plan size the monitor's conversion and picture are drawn for.
constexpr int kMonitorPlanWidth = 795;
constexpr int kMonitorPlanHeight = 485;

constexpr int kFigures[] = {
    res::kMonitorPlanActiveCount, res::kMonitorPlanActiveSum, res::kMonitorPlanActiveGuests,
    res::kMonitorPlanClosedCount, res::kMonitorPlanClosedSum, res::kMonitorPlanClosedGuests,
    res::kMonitorAllActiveCount,  res::kMonitorAllActiveSum,  res::kMonitorAllActiveGuests,
    res::kMonitorAllClosedCount,  res::kMonitorAllClosedSum,  res::kMonitorAllClosedGuests,
};

using HallName = std::function<std::string(const std::string& numberText)>;

// "ПолЗал" of the host's first loaded module, looked up once. A configuration without it, or a
// call the host refuses, names the plan by its number.
HallName ConfigurationHallName() {
    host::Host* host = core::State().host;
    host::Module* module = host ? host->GetLoadedModule(host->GetFirstLoadedModuleID()) : nullptr;
    const int index = module ? module->FindFunc("ПолЗал"_cp.data()) : -1;
    if (index < 0) return [](const std::string& numberText) { return numberText; };
    return [module, index](const std::string& numberText) {
        host::Value number(numberText);
        host::Value always(1);  // the configuration's second argument is always 1
        host::Value* arguments[2] = {&number, &always};
        host::Value result;
        if (!module->CallAsFunc(index, result, 2, arguments)) return numberText;
        return result.GetString();
    };
}

bool LessNoCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return text::ToLower(static_cast<unsigned char>(x)) < text::ToLower(static_cast<unsigned char>(y));
    });
}

void Count(OrdersTotals& totals, std::int32_t sum, std::int32_t guests) {
    ++totals.count;
    totals.sum += sum;
    totals.guests += guests;
}

bool IsOtherKind(const OrderMarkerFields& marker) {
    return marker.Field(1) == "03";
}

std::string SumFigure(std::int64_t hundredths, bool wholeNumbers) {
    return text::Format(wholeNumbers ? "%.0f" : "%.2f", static_cast<double>(hundredths) / 100.0);
}

std::string CountFigure(std::int64_t n) {
    return text::Format("%lld", static_cast<long long>(n));
}

}  // namespace

std::vector<MonitorTab> FindMonitorTabs() {
    struct Kind {
        PlanKind kind;
        std::string_view prefix;
        std::string_view caption;
    };
    const Kind kinds[] = {{PlanKind::Hall, "fileZal", "ЗАЛ: %s"_cp},
                          {PlanKind::Bar, "fileBar", "БАР: %s"_cp}};
    const std::string folder = PlanFolder(core::State().ibDirectory);
    const HallName name = ConfigurationHallName();
    std::vector<MonitorTab> tabs;
    for (const Kind& k : kinds) {
        std::vector<std::string> files =
            platform::Files().List(folder, std::string(k.prefix) + "*", kMaxMonitorTabs);
        // Listings come in any order; the tab a configuration asks for must be the same plan on
        // every workstation.
        std::sort(files.begin(), files.end(), LessNoCase);
        const std::size_t firstOfKind = tabs.size();
        for (const std::string& file : files) {
            if (tabs.size() >= kMaxMonitorTabs) break;
            const std::size_t dot = file.find('.', k.prefix.size());
            MonitorTab tab;
            tab.kind = k.kind;
            tab.numberText =
                file.substr(k.prefix.size(), dot == std::string::npos ? dot : dot - k.prefix.size());
            tab.key = std::string(k.prefix) + tab.numberText;
            // A copy such as fileZal2.bak names the plan fileZal2.ini once more: one tab is enough.
            if (std::any_of(tabs.begin() + static_cast<std::ptrdiff_t>(firstOfKind), tabs.end(),
                            [&](const MonitorTab& t) { return t.key == tab.key; }))
                continue;
            tab.caption = text::Format(std::string(k.caption).c_str(), name(tab.numberText).c_str());
            tabs.push_back(std::move(tab));
        }
    }
    return tabs;
}

MonitorStatistics ComputeMonitorStatistics(const std::optional<std::pair<PlanKind, int>>& selected,
                                           Plan& plan) {
    for (TableItem& t : plan.tables) {
        t.sum = 0;
        t.state = TableState::Free;
    }
    // The selected plan's orders begin with its kind and number, and open ones with the open status
    // after them; a mere mention elsewhere in a name (a table or a field of the configuration's
    // that happens to read "02_05") is another plan's order.
    std::string openPrefix, closedPrefix;
    if (selected) {
        const char* kind = selected->first == PlanKind::Hall ? "02" : "01";
        openPrefix = text::Format("%s_%02d_1_", kind, selected->second);
        closedPrefix = text::Format("%s_%02d_", kind, selected->second);
    }

    MonitorStatistics s;
    platform::FileSystem& files = platform::Files();
    const std::string& ib = core::State().ibDirectory;
    const TablesByNumber tables(plan);
    for (const std::string& name : files.List(OpenOrdersFolder(ib), "0*", kMaxMarkers)) {
        const OrderMarkerFields marker = OrderMarkerFields::Split(name);
        if (IsOtherKind(marker)) continue;
        const std::int32_t sum = marker.Number(9), guests = marker.Number(10);
        Count(s.allActive, sum, guests);
        if (openPrefix.empty() || !name.starts_with(openPrefix)) continue;
        Count(s.planActive, sum, guests);
        tables.ForEach(marker.Number(4), [sum](TableItem& t) {
            t.sum = AddSaturated(t.sum, sum);
            t.state = TableState::Occupied;
        });
    }
    for (const std::string& name : files.List(ClosedOrdersFolder(ib), "0*", kMaxMarkers)) {
        const OrderMarkerFields marker = OrderMarkerFields::Split(name);
        if (marker.Number(12) != 0 || IsOtherKind(marker)) continue;
        const std::int32_t sum = marker.Number(9), guests = marker.Number(10);
        Count(s.allClosed, sum, guests);
        if (!closedPrefix.empty() && name.starts_with(closedPrefix)) Count(s.planClosed, sum, guests);
    }
    return s;
}

HallMonitor::HallMonitor(int port, int wholeNumberSums, int firstTab)
    : port_(port), wholeNumberSums_(wholeNumberSums), firstTab_(firstTab) {}

int HallMonitor::Run() {
    return ui::CurrentWindowing().RunModal(res::kMonitorTemplate, *this);
}

const MonitorTab* HallMonitor::SelectedTab() const {
    if (selected_ < 0 || static_cast<std::size_t>(selected_) >= tabs_.size()) return nullptr;
    return &tabs_[static_cast<std::size_t>(selected_)];
}

void HallMonitor::OnOpen(ui::DialogView& view) {
    view_ = &view;
    area_ = view.ControlRect(res::kMonitorPlanArea);
    for (int id : kFigures) view.SetControlFont(id, HallTextFont());

    tabs_ = FindMonitorTabs();
    std::vector<std::string> captions;
    captions.reserve(tabs_.size());
    for (const MonitorTab& t : tabs_) captions.push_back(t.caption);
    view.SetTabs(res::kMonitorTabs, captions);
    const int count = static_cast<int>(tabs_.size());
    selected_ = count == 0 ? -1 : firstTab_ >= 0 && firstTab_ < count ? firstTab_ : 0;
    if (selected_ >= 0) view.SelectTab(res::kMonitorTabs, selected_);

    socket_.StartListening(port_, [this](const std::string&) { OnNotice(); });
    LoadSelected(view);
}

void HallMonitor::LoadSelected(ui::DialogView& view) {
    const MonitorTab* tab = SelectedTab();
    std::optional<Plan> loaded;
    if (tab) {
        loaded = LoadPlanFile(PlanFolder(core::State().ibDirectory) + "\\" + tab->key + ".ini",
                              Conversion::Monitor(ToPlanRect(area_)));
    }
    plan_ = loaded ? std::move(*loaded) : Plan();
    number_ = tab ? LeadingNumber(tab->numberText) : 0;
    HallHeader& header = *plan_.header;
    header.showSums = 1;
    header.showNames = 0;
    header.wholeNumberSums = wholeNumberSums_;
    for (TableItem& t : plan_.tables) {
        t.shown = true;
        t.editMode = false;
        t.sample = false;
        t.state = TableState::Free;
        t.reserved = false;  // the monitor shows no reservations
        t.sum = 0;
        t.record.sumHAlign = 1;
        t.record.sumVAlign = 1;
        t.record.showSum = 1;
    }
    picture_ = LoadPlanPicture(header);
    Recompute(view);
}

void HallMonitor::Recompute(ui::DialogView& view) {
    const MonitorTab* tab = SelectedTab();
    std::optional<std::pair<PlanKind, int>> selected;
    if (tab) selected = std::pair{tab->kind, number_};
    statistics_ = ComputeMonitorStatistics(selected, plan_);

    const bool whole = wholeNumberSums_ != 0;
    auto show = [&](const OrdersTotals& t, int count, int sum, int guests) {
        view.SetControlText(count, CountFigure(t.count));
        view.SetControlText(sum, SumFigure(t.sum, whole));
        view.SetControlText(guests, CountFigure(t.guests));
    };
    show(statistics_.planActive, res::kMonitorPlanActiveCount, res::kMonitorPlanActiveSum,
         res::kMonitorPlanActiveGuests);
    show(statistics_.planClosed, res::kMonitorPlanClosedCount, res::kMonitorPlanClosedSum,
         res::kMonitorPlanClosedGuests);
    show(statistics_.allActive, res::kMonitorAllActiveCount, res::kMonitorAllActiveSum,
         res::kMonitorAllActiveGuests);
    show(statistics_.allClosed, res::kMonitorAllClosedCount, res::kMonitorAllClosedSum,
         res::kMonitorAllClosedGuests);
    // The plan and its frame, which stands over it.
    view.InvalidateControl(res::kMonitorPlanArea, true);
}

void HallMonitor::OnNotice() {
    if (view_) Recompute(*view_);
}

void HallMonitor::OnNotify(ui::DialogView& view, int id, unsigned code) {
    if (id != res::kMonitorTabs || code != ui::kTabSelectionChanged) return;
    selected_ = view.SelectedTab(res::kMonitorTabs);
    LoadSelected(view);
}

void HallMonitor::OnCommand(ui::DialogView& view, int id) {
    // The close button and Esc; Enter has no default button to press here.
    if (id != ui::kIdCancel) return;
    result_.clear();
    view.Close(ui::kIdCancel);
}

void HallMonitor::OnClick(ui::DialogView& view, ui::Point p) {
    // Only the plan area (and the finger's margin around it) holds tables.
    if (p.x < area_.left - 2 || p.x >= area_.right + 2 || p.y < area_.top - 2 || p.y >= area_.bottom + 2)
        return;
    const MonitorTab* tab = SelectedTab();
    const TableItem* t = ShownTableAt(plan_, p);
    if (!tab || !t || t->state != TableState::Occupied) return;
    const bool hall = tab->kind == PlanKind::Hall;
    result_ = text::Format("%s_%d_%d_%s_%s%s_%d", "Выбор стола"_cp.data(), number_,
                           static_cast<int>(t->record.number), hall ? "Заказ"_cp.data() : "Чек"_cp.data(),
                           "Из"_cp.data(), hall ? "Зала"_cp.data() : "Бара"_cp.data(), selected_);
    view.Close(ui::kIdOk);
}

void HallMonitor::OnPaint(ui::DialogView& view, ui::Canvas& canvas) {
    (void)view;
    if (!view_ || area_.Empty()) return;
    canvas.BeginBuffer(area_);
    canvas.Clip(area_);
    canvas.FillRect(area_, ui::CurrentWindowing().SystemColourOf(ui::SystemColour::ButtonFace));
    if (picture_) {
        // The picture's top-left 795 x 485 pixels fill the area; a smaller one fills its share.
        const ui::Rect part = PicturePart(*picture_, kMonitorPlanWidth, kMonitorPlanHeight);
        const ui::Rect to{area_.left, area_.top,
                          area_.left + area_.Width() * part.Width() / kMonitorPlanWidth,
                          area_.top + area_.Height() * part.Height() / kMonitorPlanHeight};
        if (!part.Empty()) canvas.DrawBitmap(*picture_, part, to);
    }
    DrawTablesWithin(canvas, plan_, area_);
    canvas.ClearClip();
    canvas.EndBuffer();
}

void HallMonitor::OnClose(ui::DialogView& view) {
    (void)view;
    socket_.Stop();
    view_ = nullptr;
}

std::optional<ui::Point> HallMonitor::PlanToClient(ui::Point plan) const {
    if (!view_) return std::nullopt;
    const Rect r = Conversion::Monitor(ToPlanRect(area_)).Apply({plan.x, plan.y, plan.x, plan.y});
    return ui::Point{r.left, r.top};
}

}  // namespace klt::halls
