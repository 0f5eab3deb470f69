#pragma once
// Window management's part in shut-down and in putting the process back to its load-time state.

namespace klt::hostwin {

// Stops the window waits' timers.
void Stop();
// Stop, then the window-management state as it was when the module loaded.
void Reset();

}  // namespace klt::hostwin
