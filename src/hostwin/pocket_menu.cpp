#include "hostwin/pocket_menu.h"

#include "core/context_class.h"

namespace klt::hostwin {

// The window's template and controller arrive with their own piece of work; until then the method
// reports that it is not available rather than pretending to have shown something.
int RunPocketPictureMenu() {
    throw core::MethodNotAvailable();
}

}  // namespace klt::hostwin
