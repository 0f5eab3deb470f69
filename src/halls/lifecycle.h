#pragma once
// The halls' part in shut-down and in putting the process back to its load-time state. Their
// windows and timers live only inside a modal call; a listener may outlive a window that was never
// closed properly, and shut-down closes it.

namespace klt::halls {

// Closes every notice socket.
void Stop();
// Stop, then the plan format word as it was when the module loaded.
void Reset();

}  // namespace klt::halls
