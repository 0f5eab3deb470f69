#pragma once
// The host-facing half of start-up (Init) and shut-down (Done): class registration, the user's form
// hook, host patches, IBDirectory, the front-office constants and the event sink. The composition
// root (src/assembly) gives it the class list and starts the subsystems around it.
#include <span>
#include <string>
#include <string_view>

#include "core/host.h"
#include "core/state.h"
#include "text/literal.h"

namespace klt::core {

inline constexpr int kAddInVersion = 2000;
inline constexpr const char* kExtensionName = "KLT DRV";

// How many external events the host may hold for the configuration at once. The host's own default
// is one, so a card swipe followed at once by a special-keyboard code would lose the code; sixteen
// holds a swipe, a key code and the watch, timer and refresh events together, with room to spare.
inline constexpr long kEventBufferDepth = 16;

// The rights set of the front-office workplace, compared exactly.
inline constexpr std::string_view kWorkplaceRights = [] {
    using namespace text::literals;
    return "РабочееМесто"_cp;
}();

// Start-up: registers the classes in the given order, picks the form-window hook by the rights set,
// patches the host, builds IBDirectory, reads the front-office constants, records the main window
// and keeps the event sink. Never fails: a missing host or name leaves the defaults.
// The window management's part in start-up: the form-window hook for each kind of user and the
// patching of the host's library functions.
struct HostInterception {
    platform::HookProc workplaceHook = nullptr;
    platform::HookProc pocketHook = nullptr;
    platform::HookProc adminHook = nullptr;
    void (*installPatches)() = nullptr;
};

void Init(host::Host* host, host::EventSink* sink, std::span<const ClassEntry, kClassCount> classes,
          const HostInterception& interception);
// Shut-down: unregisters the classes, removes the form hook and forgets the host and the event sink.
void Done();

// The information-base directory with every backslash doubled; a leading pair (a network path)
// stays one pair.
std::string DoubleBackslashes(std::string_view directory);

// The value of a configuration constant, or the number 0 when it cannot be found.
host::Value GetHostConstant(const std::string& name);

}  // namespace klt::core
