#include "hostwin/lifecycle.h"

#include "hostwin/window_state.h"

namespace klt::hostwin {

void Stop() {
    HostWindowState& w = WindowState();
    w.handleWaitTimer.Reset();
    w.formWaitTimer.Reset();
    w.titleTimer.Reset();
    w.shutdownTimer.Reset();
}

void Reset() {
    Stop();
    WindowState() = HostWindowState();
}

}  // namespace klt::hostwin
