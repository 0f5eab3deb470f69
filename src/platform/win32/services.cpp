#include "platform/platform.h"
#include "platform/win32/backend.h"

namespace klt::platform {

Services& Get() {
    static Services services{&win32::DefaultClock(), &win32::DefaultLoop(), &win32::DefaultHooks(),
                             &win32::DefaultDesktop(), &win32::DefaultHostPatcher()};
    return services;
}

Services Replace(const Services& services) {
    Services previous = Get();
    Get() = services;
    return previous;
}

}  // namespace klt::platform
