#pragma once
// The halls' part in putting the process back to its load-time state. Their windows, listeners and
// timers live only inside a modal call, so shut-down finds nothing of theirs to stop.

namespace klt::halls {

// The plan format word as it was when the module loaded.
void Reset();

}  // namespace klt::halls
