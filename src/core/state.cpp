#include "core/state.h"

namespace klt::core {

AddInState& State() {
    static AddInState state;
    return state;
}

}  // namespace klt::core
