#pragma once
// A picture of a headless window as an SVG document, so a run without a screen can still be
// looked at: what the controller paints, then every visible control over it.
#include <string>

#include "ui/headless.h"

namespace klt::ui {

// The dialog's client area as a UTF-8 SVG document: the dialog face, the controller's own
// painting, then the visible controls in template order (buttons with their picture or text,
// statics and frames, tab controls as their row of tabs over the frame of their page, custom
// controls as they paint themselves). Pictures are embedded as PNG.
// The window's caption is the document's title.
std::string DialogSvg(HeadlessDialog& dialog);

}  // namespace klt::ui
