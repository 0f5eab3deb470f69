#include <winsock2.h>

#include <algorithm>

#include "platform/io_wait.h"

namespace klt::platform {

// The headless loop on Windows (tests) waits on sockets with select; the real UI loop is told of
// readable sockets through window messages instead.
std::vector<IoHandle> WaitReadable(const std::vector<IoHandle>& sockets, std::int64_t timeoutMs) {
    std::vector<IoHandle> ready;
    fd_set set;
    FD_ZERO(&set);
    for (IoHandle s : sockets) {
        if (set.fd_count >= FD_SETSIZE) break;
        FD_SET(static_cast<SOCKET>(s), &set);
    }
    if (set.fd_count == 0) return ready;
    timeval tv{};
    tv.tv_sec = static_cast<long>(std::max<std::int64_t>(timeoutMs, 0) / 1000);
    tv.tv_usec = static_cast<long>(std::max<std::int64_t>(timeoutMs, 0) % 1000 * 1000);
    if (select(0, &set, nullptr, nullptr, timeoutMs < 0 ? nullptr : &tv) <= 0) return ready;
    for (IoHandle s : sockets)
        if (FD_ISSET(static_cast<SOCKET>(s), &set)) ready.push_back(s);
    return ready;
}

}  // namespace klt::platform
