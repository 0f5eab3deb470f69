#pragma once
// The pocket terminal's picture-menu window (dialog template 317): nineteen picture buttons and
// the embedded picture control, closed by its button 1 or Esc. "ПодборМЕНЮ_КПК" of the window
// management object opens it.
namespace klt::hostwin {

// Opens the window modally, placed over the host's main window, and answers when it has closed:
// its close code, or ui::kRunFailed when the window could not be made.
int RunPocketPictureMenu();

}  // namespace klt::hostwin
