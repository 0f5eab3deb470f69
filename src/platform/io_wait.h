#pragma once
// Waiting for readable sockets without a window system: the headless loop's only contact with the
// socket layer. The backend of the build provides it (poll on POSIX, select on Windows).
#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace klt::platform {

// Waits at most `timeoutMs` until one of the sockets is readable; answers the readable ones.
std::vector<IoHandle> WaitReadable(const std::vector<IoHandle>& sockets, std::int64_t timeoutMs);

}  // namespace klt::platform
