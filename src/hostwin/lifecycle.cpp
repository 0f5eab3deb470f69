#include "hostwin/lifecycle.h"

#include "hostwin/interception.h"
#include "hostwin/picture_menu.h"
#include "hostwin/window_state.h"

namespace klt::hostwin {

void Stop() {
    HostWindowState& w = WindowState();
    w.handleWaitTimer.Reset();
    w.formWaitTimer.Reset();
    w.titleTimer.Reset();
    w.shutdownTimer.Reset();
    w.captionRefreshTimer.Reset();
    // The host may free its documents, lists and modules once it has shut us down.
    w.receiptFrame = 0;
    ForgetPictureMenu();
    ForgetFormModules();
}

void Reset() {
    Stop();
    WindowState() = HostWindowState();
    ForgetHostPatches();
}

}  // namespace klt::hostwin
