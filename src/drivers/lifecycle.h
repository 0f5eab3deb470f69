#pragma once
// The drivers' part in shut-down and in putting the process back to its load-time state.
#include <cstddef>

namespace klt::drivers {

// Closes every open port: the Nippon objects' shared one and each Aura's and Tablo's own.
void Stop();
// Stop, then the Nippon job and the display texts as they were when the module loaded.
void Reset();

}  // namespace klt::drivers
