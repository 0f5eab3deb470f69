#pragma once
// Window-management state shared by the window-management object, the form-window hooks and the
// hall view; one per process.
#include <array>
#include <string>

#include "core/host.h"
#include "klt_version.h"
#include "platform/platform.h"
#include "platform/scoped.h"

namespace klt::hostwin {

struct HostWindowState {
    platform::WindowHandle currentWindow = 0;
    platform::WindowHandle watchedWindow = 0;
    platform::WindowHandle receiptWindowP = 0;
    platform::WindowHandle receiptWindowL = 0;
    platform::WindowHandle settingsWindow = 0;
    // The frame of the receipt form shown last. Its document is asked of the host afresh at each
    // use (ReceiptForm), never kept: the host frees a closed form's document unseen.
    platform::WindowHandle receiptFrame = 0;
    std::int32_t developerMode = 0;
    std::array<std::string, 3> titleLines;
    std::int32_t titleIndex = 0;
    std::int32_t hallTableLimit = 40;
    std::int32_t hallSkipCount = 3;
    platform::ScopedTimer handleWaitTimer;
    platform::ScopedTimer formWaitTimer;
    platform::WindowHandle formWaitWindow = 0;
    std::string formWaitEvent;
    platform::ScopedTimer titleTimer;     // the caption rotation, from the takeover of the main window
    platform::ScopedTimer shutdownTimer;  // repeats the orderly shut-down until the host has ended
    // The picture menu's caption refresh: runs while a receipt form is shown; the tick skips its work
    // while the flag says the previous one is still busy.
    platform::ScopedTimer captionRefreshTimer;
    bool captionRefreshBusy = false;
};

// Prefix of every caption line.
inline constexpr const char* kVersionText = KLT_VERSION_TEXT;
inline constexpr std::int32_t kVersionNumber = 1;

HostWindowState& WindowState();

}  // namespace klt::hostwin
