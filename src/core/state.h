#pragma once
// Process-wide state of the host connection: set at start-up and read everywhere, written only on
// the UI thread. The composition root puts it back to its load-time state with the subsystems'.
#include <array>
#include <string>

#include "core/host.h"
#include "platform/platform.h"
#include "platform/scoped.h"

namespace klt::core {

inline constexpr int kClassCount = 6;

// A context class as the host registers it.
struct ClassEntry {
    const char* name;
    const host::RuntimeClass* runtimeClass;
};

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
    // The work area the hall view is laid out for: 1 is 800 x 600, 2 is 1024 x 768. Part of the
    // window management's state, kept here because the hall view reads it too.
    std::int32_t screenMode = 1;
    platform::ScopedHook formHook;        // the window-procedure return hook chosen by the rights set
    const ClassEntry* classes = nullptr;  // as registered, for unregistering at Done
    bool initialised = false;
};

AddInState& State();

}  // namespace klt::core
