#include "halls/table_states.h"

#include "core/state.h"
#include "halls/markers.h"
#include "halls/table_index.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "text/literal.h"

namespace klt::halls {

using namespace klt::text::literals;

namespace {

// Clears its flag however the refresh ends.
class Guard {
  public:
    explicit Guard(bool& flag) : flag_(flag) { flag_ = true; }
    ~Guard() { flag_ = false; }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

  private:
    bool& flag_;
};

}  // namespace

Permission ConfigurationPermission() {
    host::Host* host = core::State().host;
    if (!host) return [](const std::string&) { return true; };
    host::Module* module = host->GetLoadedModule(host->GetFirstLoadedModuleID());
    const int index = module ? module->FindFunc("глРазрешитьВнестиЗаказ"_cp.data()) : -1;
    if (index < 0) return [](const std::string&) { return true; };
    return [module, index](const std::string& markerName) {
        host::Value argument(markerName);
        host::Value* arguments[1] = {&argument};
        host::Value result;
        if (!module->CallAsFunc(index, result, 1, arguments)) return false;
        return result.GetInt32() != 0;
    };
}

bool TableStates::RefreshOrderStates(Plan& plan, const RefreshParams& params) {
    if (inOrders_) return false;
    Guard guard(inOrders_);

    const bool hall = params.kind == PlanKind::Hall;
    const bool barRight = HasRight(params.rights, 65);
    for (TableItem& t : plan.tables) {
        t.sum = 0;
        // Every table starts free: a hall table outside the visibility list would otherwise keep
        // "occupied" from an order closed since, and a reservation showing it later would offer it
        // for a click as occupied with a sum of 0.
        t.state = TableState::Free;
        t.shown = hall ? InVisibilityList(params.visibilityList, params.number, t.record.number) : barRight;
    }

    const Permission permitted = permission ? permission : ConfigurationPermission();
    platform::FileSystem& files = platform::Files();
    // Listed by full path: the process's current directory belongs to the host and to the printers.
    const std::string folder = OpenOrdersFolder(core::State().ibDirectory);
    const TablesByNumber tables(plan);
    for (const std::string& name :
         files.List(folder, OpenOrdersPattern(params.kind, params.number), kMaxMarkers)) {
        const OrderMarker marker = OrderMarker::Parse(name);
        const bool mine = permitted(name);
        const std::int32_t sum = mine ? marker.Sum() : 0;
        tables.ForEach(marker.Table(), [&](TableItem& t) {
            if (mine) {
                t.sum = AddSaturated(t.sum, sum);
                t.shown = true;
                t.state = TableState::Occupied;
            } else if (t.record.severalOrders == 0) {
                t.shown = false;
            }
        });
    }
    // The configuration sees these too (it may act on them); the tables do not change.
    for (const std::string& name : files.List(folder, OtherOrdersPattern(params.number), kMaxMarkers))
        permitted(name);
    return true;
}

bool TableStates::RefreshReservations(Plan& plan, const RefreshParams& params) {
    if (inReservations_) return false;
    Guard guard(inReservations_);

    for (TableItem& t : plan.tables) t.reserved = false;
    if (params.kind != PlanKind::Hall) return true;

    const platform::DateTime local = platform::Get().clock->LocalNow();
    const std::int64_t now = CalendarMinutes(local.year, local.month, local.day, local.hour, local.minute);
    platform::FileSystem& files = platform::Files();
    const std::string folder = ReservationsFolder(core::State().ibDirectory);
    const TablesByNumber tables(plan);
    for (const std::string& name : files.List(folder, ReservationsPattern(params.number), kMaxMarkers)) {
        const ReservationMarker r = ReservationMarker::Parse(name);
        // A name whose date cannot be read is nobody's reservation to expire: leave the file alone
        // rather than delete it on a guess.
        if (r.month < 1 || r.month > 12 || r.day < 1 || r.day > 31) continue;
        const std::int64_t d = r.CalendarMinutes() - now;
        bool active = false;
        if (d >= 1) {
            active = d < params.leadMinutes;
        } else if (-d < params.holdMinutes) {
            active = true;
        } else {
            files.Remove(folder + "\\" + name);
        }
        if (!active) continue;
        tables.ForEach(r.table, [&](TableItem& t) {
            t.reserved = true;
            t.shown = true;
            t.reservationText = r.timeText.substr(0, 7);
        });
    }
    return true;
}

bool HasOpenOrder(PlanKind kind, int number, int table) {
    return !platform::Files()
                .List(OpenOrdersFolder(core::State().ibDirectory), TableOrdersPattern(kind, number, table), 1)
                .empty();
}

}  // namespace klt::halls
