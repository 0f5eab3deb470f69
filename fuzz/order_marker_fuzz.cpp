// Any file name as an order marker: the fields are the name's pieces between underscores, in order.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "halls/markers.h"

using namespace klt::halls;

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view name(reinterpret_cast<const char*>(data), size);
    const OrderMarker m = OrderMarker::Parse(name);
    const int underscores =
        static_cast<int>(std::min<std::ptrdiff_t>(std::count(name.begin(), name.end(), '_'), 11));
    std::string joined;
    for (int f = 1; f <= 11; ++f) {
        if (f > underscores) {
            Check(m.Field(f).empty());
            continue;
        }
        Check(m.Field(f).find('_') == std::string::npos);
        joined += m.Field(f);
        joined += '_';
    }
    Check(name.substr(0, joined.size()) == joined);
    if (underscores == 11 && joined.size() < name.size())
        Check(m.Field(12) == std::string(1, name[joined.size()]));
    else
        Check(m.Field(12).empty());
    (void)m.Kind();
    (void)m.Table();
    (void)m.Sum();
    (void)m.Guests();
    (void)m.CountedAsClosed();
    return 0;
}
