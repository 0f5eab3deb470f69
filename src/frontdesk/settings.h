#pragma once
// Front-desk settings written by the "Vkusnica" methods and read by the hall windows, the picture
// menu and the keyboard filters when they open. Kept for as long as the add-in stays loaded.
#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "platform/scoped.h"

namespace klt::frontdesk {

struct FrontDeskSettings {
    std::int32_t listenPort = 0;
    std::int32_t sumDisplayMode = 0;
    std::string visibilityList;
    std::string specialKeyboardText;
    platform::ScopedHook cardHook;
    platform::ScopedHook specialKeyboardHook;
    platform::ScopedHook keyLock;  // the workplace key lock, from start-up
};

FrontDeskSettings& Settings();

}  // namespace klt::frontdesk
