// Any bytes as a plan file: reading must not crash, must stay bounded, and what it reads must
// write and read back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "halls/plan.h"

using namespace klt::halls;

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Conversion conversions[] = {Conversion::Editor(), Conversion::FullView(1017, 729),
                                      Conversion::ZoneChange({12, 40, 700, 420}),
                                      Conversion::Monitor({-5, -5, 1200, 900}), Conversion::QuarterTurn()};
    for (const Conversion& c : conversions) {
        const Plan plan = ParsePlan(bytes, c);
        Check(plan.tables.size() <= kMaxTables);
        for (const TableItem& t : plan.tables) {
            Check(t.header == plan.header);
            Check(t.record.name.size() <= kTableNameField);
            const DrawingValues d = ForDrawing(t.record);
            Check(d.rect.left <= d.rect.right && d.rect.top <= d.rect.bottom);
            Check(d.thickness >= 1 && d.thickness <= 50);
            Check(d.rounding >= 0 && d.rounding <= 500);
            Check(d.sumHAlign >= 0 && d.sumHAlign <= 2 && d.nameVAlign >= 0 && d.nameVAlign <= 2);
            Check(d.sumOffsetX >= -100 && d.sumOffsetX <= 100);
        }
        (void)NextFreeTableNumber(plan);
    }
    // Writing normalises (names keep a NUL inside their field); after that the bytes are stable.
    const Plan plan = ParsePlan(bytes);
    const std::string once = SerializePlan(plan, plan.formatWord);
    const Plan again = ParsePlan(once);
    Check(again.tables.size() == plan.tables.size());
    Check(SerializePlan(again, again.formatWord) == once);
    return 0;
}
