#pragma once
// The pocket terminal's picture-menu window (dialog template 317): nineteen picture buttons and
// the embedded picture control, closed by its button 1 or Esc. "ПодборМЕНЮ_КПК" of the window
// management object opens it.
#include "ui/dialog.h"

namespace klt::hostwin {

// Opens the window modally, placed over the host's main window, and answers when it has closed:
// its close code, or ui::kRunFailed when the window could not be made.
int RunPocketPictureMenu();

// The window's controller. Its buttons do nothing; button 1 (and Enter, which the dialog manager
// turns into it) and Esc close it. The embedded control's place stays empty: this system hosts no
// other component's controls, and the window opens whether or not that component is installed.
class PocketMenuDialog final : public ui::DialogController {
  public:
    void OnOpen(ui::DialogView& view) override;
    void OnCommand(ui::DialogView& view, int id) override;
};

}  // namespace klt::hostwin
