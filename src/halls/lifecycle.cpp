#include "halls/lifecycle.h"

#include "halls/plan.h"

namespace klt::halls {

void Reset() {
    SetCurrentFormatWord(kInitialFormatWord);
}

}  // namespace klt::halls
