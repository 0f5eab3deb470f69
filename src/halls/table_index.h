#pragma once
// The plan's tables by number, for the refreshes that apply thousands of markers to a plan.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "halls/plan.h"

namespace klt::halls {

// Finds a marker's tables without walking the whole plan for each of thousands of markers.
// Several tables may carry one number; each keeps its place.
class TablesByNumber {
  public:
    explicit TablesByNumber(Plan& plan) {
        index_.reserve(plan.tables.size());
        for (TableItem& t : plan.tables) index_.push_back({t.record.number, &t});
        std::stable_sort(index_.begin(), index_.end(),
                         [](const Entry& a, const Entry& b) { return a.number < b.number; });
    }
    template <class F>
    void ForEach(std::int32_t number, F&& f) const {
        auto it = std::lower_bound(index_.begin(), index_.end(), number,
                                   [](const Entry& e, std::int32_t n) { return e.number < n; });
        for (; it != index_.end() && it->number == number; ++it) f(*it->table);
    }

  private:
    struct Entry {
        std::int32_t number;
        TableItem* table;
    };
    std::vector<Entry> index_;
};

// A table's sum is what the plan model keeps: many or huge orders stop at its limits.
inline std::int32_t AddSaturated(std::int32_t a, std::int32_t b) {
    const std::int64_t s = std::int64_t{a} + b;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(s, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

}  // namespace klt::halls
