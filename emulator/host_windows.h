#pragma once
// The windows of the emulated host itself (main frame, bars, status bar, MDI client, form frames
// and dialog forms): real Win32 windows in klthost.exe, the fake desktop's windows natively, so
// the add-in sees the same tree either way.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace klt::emu {

struct HostWindowDesc {
    platform::WindowHandle parent = 0;
    std::string className;  // the system's window class ("MDIClient", "msctls_statusbar32", ...)
    std::string text;       // CP1251
    std::uint32_t style = platform::kStyleVisible;
    int id = 0;
    platform::WindowBox box;  // in the parent's client area for a child
    int menuItems = -1;       // a menu bar with this many items; -1 none
};

class HostWindows {
  public:
    virtual ~HostWindows() = default;
    // 0 when it cannot be made.
    virtual platform::WindowHandle Create(const HostWindowDesc& desc) = 0;
    virtual void Destroy(platform::WindowHandle window) = 0;

    // Called when a window made here is destroyed, whoever destroyed it (Destroy, the user closing
    // a form's frame or dialog), so the host can close its document; windows of the system's own
    // classes (status bar, MDI client) are not told of. Only klthost.exe's real windows tell.
    std::function<void(platform::WindowHandle window)> destroyed;
    // Called when the user clicks a push button that is a child of a window made here (a form's
    // frame or dialog), with that window and the button's identifier. Only klthost.exe's real
    // windows tell; natively the scripted user presses buttons through the forms.
    std::function<void(platform::WindowHandle window, int control)> commanded;
};

// The build's window factory for the emulated host.
std::unique_ptr<HostWindows> CreateHostWindows();

}  // namespace klt::emu
