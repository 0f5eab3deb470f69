#include "ui/dialog.h"
#ifndef _WIN32
#include "ui/headless.h"
#endif

namespace klt::ui {

#ifdef _WIN32
namespace win32 {
// The Win32 window system, in ui/win32/.
Windowing& DefaultWindowing();
void FreePictureCache();
}  // namespace win32
#endif

namespace {

Windowing*& Override() {
    static Windowing* windowing = nullptr;
    return windowing;
}

Windowing& BuildDefault() {
#ifdef _WIN32
    return win32::DefaultWindowing();
#else
    // Without a screen every window runs headless; with no script queued it is answered as by Esc.
    static HeadlessWindowing windowing;
    return windowing;
#endif
}

}  // namespace

Windowing& CurrentWindowing() {
    Windowing* w = Override();
    return w ? *w : BuildDefault();
}

Windowing* ReplaceWindowing(Windowing* windowing) {
    Windowing* previous = &CurrentWindowing();
    Override() = windowing;
    return previous == &BuildDefault() ? nullptr : previous;
}

void ReleaseCachedResources() {
#ifdef _WIN32
    win32::FreePictureCache();
#endif
}

int PointsToHeight(int points, int logPixelsY) {
    // As a point font is made: tenths of a point against 720 per inch, truncated.
    return -(logPixelsY * points * 10 / 720);
}

}  // namespace klt::ui
