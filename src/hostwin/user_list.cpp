#include "hostwin/user_list.h"

#include <algorithm>

namespace klt::hostwin {

std::string UserListPath(const std::string& ibDirectory) {
    return ibDirectory + "\\usrdef\\users.usr";
}

// The host keeps its users in a container whose text part is a brace list with one record per
// user: {"Users",{"Page.1","Иванов",...},{"Page.2","Петров",...}}. Zero bytes read as 0xFF so the
// container's binary parts do not end the text; the list runs from the first "{" to the first "}}"
// after it (to the end of what was read when there is none); a user's name is the quoted field
// after the "Page." one. An incomplete record at the end gives no name.
std::vector<std::string> ParseUserList(std::string_view bytes) {
    std::string text(bytes);
    std::replace(text.begin(), text.end(), '\0', '\xFF');
    std::vector<std::string> names;
    const std::size_t open = text.find('{');
    if (open == std::string::npos) return names;
    const std::size_t close = text.find("}}", open);
    const std::string_view list = std::string_view(text).substr(
        open, close == std::string::npos ? std::string::npos : close + 2 - open);
    constexpr std::string_view kPage = "Page.";
    std::size_t from = 0;
    for (;;) {
        const std::size_t page = list.find(kPage, from);
        if (page == std::string_view::npos) break;
        const std::size_t comma = list.find(',', page + kPage.size());
        if (comma == std::string_view::npos || comma + 2 > list.size()) break;
        const std::size_t start = comma + 2;  // past the comma and the opening quote
        const std::size_t end = list.find(',', start);
        if (end == std::string_view::npos) break;
        if (end - start > 1)
            names.emplace_back(list.substr(start, end - start - 1));  // less the closing quote
        from = start;
    }
    return names;
}

}  // namespace klt::hostwin
