#include "hostwin/pocket_menu.h"

#include "core/state.h"
#include "res/pocket_menu.h"

namespace klt::hostwin {

int RunPocketPictureMenu() {
    PocketMenuDialog dialog;
    return ui::CurrentWindowing().RunModal(res::kPocketMenuTemplate, dialog);
}

void PocketMenuDialog::OnOpen(ui::DialogView& view) {
    // The pocket terminal's screen area, centred over the main window, less a margin on each side.
    const ui::Rect main = ui::CurrentWindowing().ScreenRectOf(core::State().hostMainWindow);
    const int x = main.left + (main.Width() - res::kPocketMenuAreaWidth) / 2 + res::kPocketMenuInset;
    const int y = main.top + (main.Height() - res::kPocketMenuAreaHeight) / 2 + res::kPocketMenuInset;
    view.PlaceWindow({x, y, x + res::kPocketMenuAreaWidth - 2 * res::kPocketMenuInset,
                      y + res::kPocketMenuAreaHeight - 2 * res::kPocketMenuInset});
}

void PocketMenuDialog::OnCommand(ui::DialogView& view, int id) {
    if (id == res::kPocketMenuClose || id == ui::kIdCancel) view.Close(id);
}

}  // namespace klt::hostwin
