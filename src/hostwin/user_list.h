#pragma once
// The host's list of the users of an information base, read only: where it lies and the names in it.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace klt::hostwin {

// The list of an information base (its directory as IBDirectory keeps it).
std::string UserListPath(const std::string& ibDirectory);
// No more of the file is read.
inline constexpr std::size_t kUserListReadLimit = 50000;
// The user names in a user list's bytes, in file order (see the definition for the layout read).
std::vector<std::string> ParseUserList(std::string_view bytes);

}  // namespace klt::hostwin
