#include "halls/orders_summary.h"

#include "core/state.h"
#include "halls/markers.h"
#include "platform/files.h"
#include "res/hall_dialogs.h"
#include "text/format.h"
#include "text/literal.h"

namespace klt::halls {

using namespace klt::text::literals;

OrdersTotals CountOpenOrders(PlanKind kind, int number, const Permission& permission) {
    const Permission permitted = permission ? permission : ConfigurationPermission();
    OrdersTotals totals;
    const std::string folder = OpenOrdersFolder(core::State().ibDirectory);
    for (const std::string& name :
         platform::Files().List(folder, OpenOrdersPattern(kind, number), kMaxMarkers)) {
        if (!permitted(name)) continue;
        const OrderMarker marker = OrderMarker::Parse(name);
        ++totals.count;
        totals.sum += marker.Sum();
        totals.guests += marker.Guests();
    }
    return totals;
}

OrdersSummary::OrdersSummary(PlanKind kind, int number, Permission permission, int sumDisplayMode)
    : kind_(kind), number_(number), permission_(std::move(permission)), sumDisplayMode_(sumDisplayMode) {}

int OrdersSummary::Run() {
    return ui::CurrentWindowing().RunModal(res::kOrdersSummaryTemplate, *this);
}

void OrdersSummary::OnOpen(ui::DialogView& view) {
    view.SetCaption(std::string(kind_ == PlanKind::Hall ? "СОСТОЯНИЕ ЗАЛА"_cp : "СОСТОЯНИЕ БАРА"_cp));
    const OrdersTotals totals = CountOpenOrders(kind_, number_, permission_);
    view.SetControlText(res::kSummaryCount, text::Format("%lld", static_cast<long long>(totals.count)));
    view.SetControlText(res::kSummarySum, text::Format(sumDisplayMode_ != 0 ? "%.0f" : "%.2f",
                                                       static_cast<double>(totals.sum) / 100.0));
    view.SetControlText(res::kSummaryGuests, text::Format("%lld", static_cast<long long>(totals.guests)));
}

}  // namespace klt::halls
