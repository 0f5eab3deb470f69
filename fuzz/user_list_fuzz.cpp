// Any bytes as the host's user list: every name is a non-empty piece of the text between the
// markers, and no more names come out than records begin.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "hostwin/user_list.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    const auto names = klt::hostwin::ParseUserList(text);
    std::replace(text.begin(), text.end(), '\0', '\xFF');
    std::size_t records = 0;
    for (std::size_t at = text.find("Page."); at != std::string::npos; at = text.find("Page.", at + 1))
        ++records;
    Check(names.size() <= records);
    for (const std::string& name : names) {
        Check(!name.empty());
        Check(name.find(',') == std::string::npos);
        Check(name.find('\0') == std::string::npos);
        Check(text.find(name) != std::string::npos);
    }
    return 0;
}
