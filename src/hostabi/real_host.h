#pragma once
// The host interface over the 1C:Enterprise host's own exported classes, for the add-in inside a
// real host process. Where a function of the host cannot be found, its feature answers empty.
#include "core/host.h"

namespace klt::hostabi {

// The real host when its modules are loaded in this process (one of them exporting CBLContext's
// constructor), else null. It stays until StopRealHost.
host::Host* StartRealHost();
void StopRealHost();

}  // namespace klt::hostabi
