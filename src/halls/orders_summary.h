#pragma once
// The summary of the user's open orders in one hall or at one bar counter: how many, for what sum,
// for how many guests. Opened from the full hall view, which stays open under it.
#include <cstdint>
#include <string>

#include "halls/plan.h"
#include "halls/table_states.h"
#include "ui/dialog.h"

namespace klt::halls {

// Wide enough that no number of markers can overflow them.
struct OrdersTotals {
    std::int64_t count = 0;
    std::int64_t sum = 0;  // hundredths
    std::int64_t guests = 0;
};

// Over the open orders of the hall or bar that `permission` gives to the user.
OrdersTotals CountOpenOrders(PlanKind kind, int number, const Permission& permission);

class OrdersSummary final : public ui::DialogController {
  public:
    // An empty permission asks the configuration's function.
    OrdersSummary(PlanKind kind, int number, Permission permission, int sumDisplayMode);

    int Run();

    void OnOpen(ui::DialogView& view) override;

  private:
    PlanKind kind_;
    int number_;
    Permission permission_;
    int sumDisplayMode_;
};

}  // namespace klt::halls
