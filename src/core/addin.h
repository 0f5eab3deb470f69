#pragma once
// The add-in object's portable half: start-up (Init) and shut-down (Done). The COM object in
// src/com and the native emulated host both drive it.
#include <string>
#include <string_view>

#include "core/host.h"

namespace klt::core {

inline constexpr int kAddInVersion = 2000;
inline constexpr const char* kExtensionName = "KLT DRV";

// Start-up: registers the six context classes, picks the form-window hook by the rights set,
// patches the host, builds IBDirectory, reads the front-office constants, records the main window
// and keeps the event sink. Never fails: a missing host or name leaves the defaults.
void Init(host::Host* host, host::EventSink* sink);
// Shut-down: unregisters the classes, removes the hooks and forgets the event sink.
void Done();

// The information-base directory with every backslash doubled; a leading pair (a network path)
// stays one pair.
std::string DoubleBackslashes(std::string_view directory);

// The value of a configuration constant, or the number 0 when it cannot be found.
host::Value GetHostConstant(const std::string& name);

}  // namespace klt::core
