#pragma once
// Style operations on the host's windows, shared by the window-management object and the form-window
// hooks. Each works through the desktop in force and does nothing on a null or stale handle.
#include "platform/platform.h"

namespace klt::hostwin {

// Bits of the frame controls that ToggleFrameControls flips, and of the caption StripCaption clears.
inline constexpr std::uint32_t kFrameControlBits =
    platform::kStyleSysMenu | platform::kStyleThickFrame | platform::kStyleMaximizeBox;
inline constexpr std::uint32_t kCaptionBits =
    platform::kStyleCaption | platform::kStyleSysMenu | platform::kStyleThickFrame;

// Flips the system menu, sizing frame and maximise box: applied twice, the window is as before.
void ToggleFrameControls(platform::WindowHandle window);
// Takes caption, system menu and sizing frame away, then lets the frame be recomputed.
void StripCaption(platform::WindowHandle window);
// Makes the system recompute the non-client area for the present styles: the window is set 9 pixels
// shorter and back, both times with only the frame-changed flag, and ends where it was.
void RefreshFrame(platform::WindowHandle window);

}  // namespace klt::hostwin
