#pragma once
// Window management's part in shut-down and in putting the process back to its load-time state.

namespace klt::hostwin {

// Stops every timer of the window management (the waits, the caption rotation and refresh, the
// shut-down) and forgets what it knew of the host's documents and modules.
void Stop();
// Stop, then the window-management state as it was when the module loaded.
void Reset();

}  // namespace klt::hostwin
