#include "hostwin/window_ops.h"

namespace klt::hostwin {

void ToggleFrameControls(platform::WindowHandle window) {
    platform::Desktop* desktop = platform::Get().desktop;
    if (!desktop || !desktop->IsWindow(window)) return;
    desktop->SetStyle(window, desktop->Style(window) ^ kFrameControlBits);
}

void StripCaption(platform::WindowHandle window) {
    platform::Desktop* desktop = platform::Get().desktop;
    if (!desktop || !desktop->IsWindow(window)) return;
    desktop->SetStyle(window, desktop->Style(window) & ~kCaptionBits);
    RefreshFrame(window);
}

void RefreshFrame(platform::WindowHandle window) {
    platform::Desktop* desktop = platform::Get().desktop;
    if (!desktop || !desktop->IsWindow(window)) return;
    // Where Move places it, not the screen rectangle: a form frame is a child of the MDI client, and
    // setting its screen position in its parent's coordinates would shift it.
    const platform::WindowBox box = desktop->PlacedBox(window);
    desktop->MoveFrameChanged(window, box.left, box.top, box.Width(), box.Height() - 9);
    desktop->MoveFrameChanged(window, box.left, box.top, box.Width(), box.Height());
}

}  // namespace klt::hostwin
