#include <poll.h>

#include <cerrno>
#include <climits>

#include "platform/io_wait.h"

namespace klt::platform {

std::vector<IoHandle> WaitReadable(const std::vector<IoHandle>& sockets, std::int64_t timeoutMs) {
    std::vector<pollfd> fds;
    fds.reserve(sockets.size());
    for (IoHandle s : sockets) fds.push_back({static_cast<int>(s), POLLIN, 0});
    int timeout = timeoutMs < 0 ? -1 : static_cast<int>(std::min<std::int64_t>(timeoutMs, INT_MAX));
    std::vector<IoHandle> ready;
    if (::poll(fds.data(), fds.size(), timeout) <= 0) return ready;
    for (const pollfd& p : fds)
        if (p.revents & (POLLIN | POLLERR | POLLHUP)) ready.push_back(p.fd);
    return ready;
}

}  // namespace klt::platform
