#pragma once
// The one process-wide instance of a platform service: the backend's default until a test swaps in
// its own. Each service's accessor and replace function are built on this.
#include <utility>

namespace klt::platform {

template <typename Interface, typename Default>
Interface*& ServiceSlot() {
    static Default instance;
    static Interface* current = &instance;
    return current;
}

// Puts `next` in force and answers the service it replaced.
template <typename Interface, typename Default>
Interface* ReplaceService(Interface* next) {
    return std::exchange(ServiceSlot<Interface, Default>(), next);
}

}  // namespace klt::platform
