#pragma once
// Process-wide state of the add-in: set at start-up and read everywhere, written only on the UI
// thread. Plain globals, as the host's own extensions keep them.
#include <array>
#include <string>

#include "core/host.h"
#include "platform/platform.h"

namespace klt::core {

inline constexpr int kClassCount = 6;

struct AddInState {
    host::Host* host = nullptr;
    host::MetaData* metaData = nullptr;
    host::EventSink* eventSink = nullptr;
    std::array<host::ObjectId, kClassCount> classObjectIds{};
    std::string rightsSetName;
    std::string ibDirectory;  // every backslash doubled, see DoubleBackslashes
    std::int32_t showPrice = 0;
    std::int32_t showPictures = 0;
    std::int32_t showText = 0;
    int pocketMode = 0;
    platform::WindowHandle hostMainWindow = 0;
    platform::HookHandle callWndRetHook = 0;
    platform::HookHandle workplaceKeyboardHook = 0;
    bool initialised = false;
};

AddInState& State();

}  // namespace klt::core
