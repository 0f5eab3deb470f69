// Any file name as a reservation marker: parsing stays inside the name and the time text fits the
// table's 8-byte field.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "halls/markers.h"

using namespace klt::halls;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view name(reinterpret_cast<const char*>(data), size);
    const ReservationMarker r = ReservationMarker::Parse(name);
    if (r.timeText.size() > 7) std::abort();
    if (r.day < -9 || r.day > 99 || r.hours < -9 || r.hours > 99) std::abort();  // two characters at most
    (void)r.CalendarMinutes();
    return 0;
}
