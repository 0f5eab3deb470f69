#pragma once
// Table states of a loaded plan, derived from the marker folders: which tables are occupied, by
// whose orders and for what sum, and which are reserved. Recomputed on every refresh; nothing is
// written back except the removal of expired reservations.
#include <cstdint>
#include <functional>
#include <string>

#include "halls/plan.h"

namespace klt::halls {

// Folders hold at most this many markers that a refresh will look at.
inline constexpr std::size_t kMaxMarkers = 100000;

// What a hall window knows when it refreshes.
struct RefreshParams {
    PlanKind kind = PlanKind::Hall;
    int number = 0;
    std::string rights;          // the rights string of the view
    std::string visibilityList;  // the front desk's "|З%dС%d|" list
    int leadMinutes = 0;         // a reservation shows this long before its time
    int holdMinutes = 0;         // and this long after it
};

// Asks the configuration whether an order (its marker's file name) belongs to the current user.
using Permission = std::function<bool(const std::string& markerName)>;

// "глРазрешитьВнестиЗаказ" of the host's first loaded module, looked up now. A configuration
// without the function keeps no per-user orders, so every order counts as the user's own; a call
// the host refuses counts as not permitted.
Permission ConfigurationPermission();

// One window's refreshes, each guarded against running inside itself: the permission call runs
// 1C code, during which a notice from another workstation may ask for another refresh.
class TableStates {
  public:
    // When unset, the configuration's function is used.
    Permission permission;

    // False (and nothing touched) when called while the same refresh is running.
    bool RefreshOrderStates(Plan& plan, const RefreshParams& params);
    // Halls only; on a bar plan it just clears the reservations.
    bool RefreshReservations(Plan& plan, const RefreshParams& params);

  private:
    bool inOrders_ = false;
    bool inReservations_ = false;
};

// Whether an open order exists for one table (the zone-change window hides such tables).
bool HasOpenOrder(PlanKind kind, int number, int table);

}  // namespace klt::halls
