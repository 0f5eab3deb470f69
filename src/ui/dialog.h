#pragma once
// Passive views. A window is a portable controller that owns its state and reacts to commands;
// it reaches its window only through DialogView and paints only through Canvas. The backend in
// force (Windowing) builds the window from template data and runs it modally.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "ui/canvas.h"
#include "ui/types.h"

namespace klt::ui {

enum class ControlKind {
    Button,  // push button; with the bitmap style the picture replaces the text
    Static,  // text or frame, by its style
    Label,   // a static text that a CustomControl paints (the colour label)
    Tab,     // a row of tabs; choosing one notifies the dialog with kTabSelectionChanged
    Edit,    // a one-line text field
    List,    // a list view of texts; a double click notifies the dialog with kItemDoubleClicked
    Tree,    // a tree view of texts with pictures; a double click notifies kItemDoubleClicked
    Spin,    // up and down arrows that step the number in the edit field just before it
    // A control of another component, named by its class identifier ("{…}") in the text. This
    // system hosts no such controls: the views make no window for it and its place stays empty,
    // whether or not the component is installed.
    Embedded,
};

// What a tab control tells its dialog (OnNotify) when the user chose another tab.
inline constexpr unsigned kTabSelectionChanged = static_cast<unsigned>(-551);
// What a list or tree view tells its dialog when the user double-clicked in it.
inline constexpr unsigned kItemDoubleClicked = static_cast<unsigned>(-3);

// An item of a tree view; 0 is none, and as a parent the root of the tree.
using TreeItem = std::uintptr_t;

// Positions and sizes in dialog units: a quarter of the dialog font's average character width
// horizontally, an eighth of its height vertically.
struct ControlTemplate {
    int id = kIdStatic;
    ControlKind kind = ControlKind::Static;
    std::string_view text;  // CP1251
    int x = 0, y = 0, cx = 0, cy = 0;
    std::uint32_t style = 0;  // besides child and visible, which every control has
    std::uint32_t exStyle = 0;
    int picture = 0;  // resource number of the picture of a bitmap button, 0 for none
};

struct DialogTemplate {
    int id = 0;  // the template's resource number
    std::string_view caption;
    int cx = 0, cy = 0;
    std::uint32_t style = 0;
    int fontPoints = 8;
    std::string_view fontFace = "MS Sans Serif";
    std::span<const ControlTemplate> controls;

    const ControlTemplate* Find(int controlId) const {
        for (const ControlTemplate& c : controls)
            if (c.id == controlId) return &c;
        return nullptr;
    }
};

// A control with drawing and behaviour of its own, attached to a control of a view. The backend
// calls it when the control must be painted, is clicked (only with the notify style), gets one of
// its own timers, or when the system colours change.
class CustomControl {
  public:
    virtual ~CustomControl() = default;
    virtual void Paint(Canvas& canvas, const Rect& client) = 0;
    virtual void OnClick() {}
    virtual void OnTimer(int timerId) { (void)timerId; }
    virtual void OnSystemColoursChanged() {}
    // The window goes while the control is still attached: it must not use the view any more.
    virtual void OnViewGone() {}
};

class DialogView {
  public:
    virtual ~DialogView() = default;

    virtual const DialogTemplate& Template() const = 0;
    virtual void SetCaption(const std::string& cp1251) = 0;
    virtual std::string Caption() const = 0;

    virtual void ShowControl(int id, bool show) = 0;
    virtual void EnableControl(int id, bool enable) = 0;
    virtual void SetControlText(int id, const std::string& cp1251) = 0;
    virtual std::string ControlText(int id) const = 0;
    // A picture of the module's resources on a bitmap button; 0 takes it off.
    virtual void SetControlPicture(int id, int picture) = 0;
    virtual void SetControlFont(int id, const Font& font) = 0;
    virtual Font ControlFont(int id) const = 0;
    virtual std::uint32_t ControlStyle(int id) const = 0;
    virtual std::uint32_t ControlExStyle(int id) const = 0;
    // Adds and removes style bits; the frame is redrawn to match.
    virtual void ModifyControlStyle(int id, std::uint32_t remove, std::uint32_t add, bool extended) = 0;
    virtual void SetControlCursor(int id, Cursor cursor) = 0;

    // Check boxes and radio buttons (the plain styles: the controller decides what a press means).
    virtual void SetCheck(int id, bool checked) = 0;
    virtual bool IsChecked(int id) const = 0;
    // The numbers a spin steps its edit field through.
    virtual void SetSpinRange(int id, int low, int high) = 0;

    // Tab controls: the tabs' texts in order, and the selected one (-1 for none). Selecting from
    // the program notifies nobody, as the system's own control does.
    virtual void SetTabs(int id, const std::vector<std::string>& cp1251Texts) = 0;
    virtual void SelectTab(int id, int index) = 0;
    virtual int SelectedTab(int id) const = 0;

    // List views in report view: a column of the given width in pixels, texts as items. An item
    // goes where the control's sort style puts it; answers its index, -1 when it was refused.
    virtual void AddListColumn(int id, const std::string& cp1251Header, int width, bool centred) = 0;
    virtual void ClearList(int id) = 0;
    virtual int AddListItem(int id, const std::string& cp1251) = 0;
    virtual int ListItemCount(int id) const = 0;
    virtual std::string ListItemText(int id, int index) const = 0;
    // The item the double click being told of now hit; -1 when it hit none.
    virtual int DoubleClickedListItem(int id) const = 0;

    // Tree views: the module's pictures (drawn by our own code) as the images of the items, in
    // order; items with an image index into them and a number of the dialog's own.
    virtual void SetTreeImages(int id, const std::vector<int>& pictures, int size) = 0;
    virtual TreeItem AddTreeItem(int id, TreeItem parent, const std::string& cp1251, int image,
                                 std::intptr_t data) = 0;
    virtual std::string TreeItemText(int id, TreeItem item) const = 0;
    virtual std::intptr_t TreeItemData(int id, TreeItem item) const = 0;
    virtual TreeItem SelectedTreeItem(int id) const = 0;

    // The control's rectangle in the dialog's client pixels, and the dialog's client area.
    virtual Rect ControlRect(int id) const = 0;
    virtual Rect ClientRect() const = 0;
    // Moves and sizes a control, in client pixels.
    virtual void MoveControl(int id, const Rect& r) = 0;
    // The window's outer rectangle on the screen, and moving and sizing it there; the client area
    // follows.
    virtual Rect WindowRect() const = 0;
    virtual void PlaceWindow(const Rect& screen) = 0;

    // Repaint the control; with `parentToo` also the part of the dialog under it (needed when the
    // control lets the dialog show through).
    virtual void InvalidateControl(int id, bool parentToo) = 0;
    virtual void Invalidate() = 0;
    // Repaint a part of the dialog's own area (client pixels). The background is not erased first:
    // the controller's OnPaint paints all of the part, so nothing flickers through.
    virtual void InvalidateArea(const Rect& r) = 0;

    virtual void AttachCustomControl(int id, CustomControl* control) = 0;
    // Per-control timers with the control's own ids, delivered to its CustomControl::OnTimer.
    // Starting an id that runs restarts it.
    virtual bool StartControlTimer(int id, int timerId, unsigned periodMs) = 0;
    virtual void StopControlTimer(int id, int timerId) = 0;
    // A notification from the control to the dialog (as WM_NOTIFY with the control's window and id):
    // arrives at DialogController::OnNotify.
    virtual void NotifyParent(int id, unsigned code) = 0;

    // Dialog timers, delivered to DialogController::OnTimer.
    virtual bool StartTimer(int timerId, unsigned periodMs) = 0;
    virtual void StopTimer(int timerId) = 0;

    // Ends the modal run with this code once the current command returns.
    virtual void Close(int code) = 0;
};

// The mouse on a dialog's own area, outside its controls.
enum class MouseAction { LeftDown, Move, LeftUp, RightDown };
struct MouseEvent {
    MouseAction action = MouseAction::LeftDown;
    Point p;             // client pixels
    bool shift = false;  // the Shift key was down
};

// An item of a context menu: a command (0 for a separator line), its text and its picture (a
// resource number, 0 for none).
struct MenuItem {
    int command = 0;
    std::string text;  // CP1251
    int picture = 0;
};

class DialogController {
  public:
    virtual ~DialogController() = default;
    // The window exists with all its controls and is not yet shown.
    virtual void OnOpen(DialogView& view) = 0;
    // A button was pressed, or the dialog manager turned Enter (kIdOk) or Esc (kIdCancel) into a
    // command. The default closes with the cancel code on kIdCancel, as a dialog does.
    virtual void OnCommand(DialogView& view, int id) {
        if (id == kIdCancel) view.Close(kIdCancel);
    }
    // A key the dialog manager did not take. Answers whether it was used.
    virtual bool OnKey(DialogView& view, int key) {
        (void)view;
        (void)key;
        return false;
    }
    // A click on the dialog itself, outside any control, in client pixels.
    virtual void OnClick(DialogView& view, Point p) {
        (void)view;
        (void)p;
    }
    virtual void OnTimer(DialogView& view, int timerId) {
        (void)view;
        (void)timerId;
    }
    // The user changed the text of an edit field (typed, pasted, or stepped it with its spin).
    virtual void OnEditChanged(DialogView& view, int id) {
        (void)view;
        (void)id;
    }
    virtual void OnNotify(DialogView& view, int id, unsigned code) {
        (void)view;
        (void)id;
        (void)code;
    }
    // Paints the dialog's own background; the default leaves the system's.
    virtual void OnPaint(DialogView& view, Canvas& canvas) {
        (void)view;
        (void)canvas;
    }
    // The window is about to go; the view is still usable.
    virtual void OnClose(DialogView& view) { (void)view; }
    // The mouse on the dialog's own area. Answers true when the controller follows the mouse: the
    // window then keeps it, moves and the release outside the window included, until the left
    // button goes up. OnClick still follows a left button's release.
    virtual bool OnMouse(DialogView& view, const MouseEvent& event) {
        (void)view;
        (void)event;
        return false;
    }
    // Windows that show a hall plan: where a point of the plan (797 x 489 pixels) lies in the
    // client area now. Lets a scripted user touch a table whatever the window's size.
    virtual std::optional<Point> PlanToClient(Point plan) const {
        (void)plan;
        return std::nullopt;
    }
};

// A modal run that could not create its window answers this.
inline constexpr int kRunFailed = -1;

// The window system in force: builds dialogs from templates and runs them modally on the UI
// thread, and answers the few questions controls ask of the system.
class Windowing {
  public:
    virtual ~Windowing() = default;
    // Runs the dialog until its controller closes it; answers the close code or kRunFailed.
    virtual int RunModal(const DialogTemplate& dialog, DialogController& controller) = 0;
    virtual Colour SystemColourOf(SystemColour which) = 0;
    // Pixels per logical inch of the screen, vertically: turns points into font heights.
    virtual int LogPixelsY() = 0;
    // Opens a web address or a file with the shell's "open" verb in a normal window.
    virtual void ShellOpen(const std::string& cp1251) = 0;
    // A window's outer rectangle on the screen; for no window or one that is gone, the work area
    // of the screen.
    virtual Rect ScreenRectOf(platform::WindowHandle window) = 0;
    // Height of a window caption, as the system draws it now.
    virtual int CaptionHeight() = 0;

    // The system's own dialogs, modal to the window the user works in. A window system without
    // them answers as a user who cancels.
    // A colour, starting from `initial`; nothing when cancelled.
    virtual std::optional<Colour> ChooseColour(Colour initial) {
        (void)initial;
        return std::nullopt;
    }
    // A screen font with its effects and colour, starting from those given; false when cancelled,
    // and then both are left as they were.
    virtual bool ChooseFont(Font& font, Colour& colour) {
        (void)font;
        (void)colour;
        return false;
    }
    // A context menu at the mouse pointer, modal to the window the user works in: the command of
    // the item chosen, 0 when the menu was dismissed.
    virtual int PopupMenu(const std::vector<MenuItem>& items) {
        (void)items;
        return 0;
    }
    // An existing file to open (full path, CP1251). `filter` pairs descriptions and patterns with
    // '|' after each ("Pictures (*.bmp)|*.bmp|"); `defaultExtension` is added to a name typed
    // without one ("bmp" or "*.bmp").
    virtual std::optional<std::string> ChooseOpenFile(const std::string& defaultExtension,
                                                      const std::string& filter) {
        (void)defaultExtension;
        (void)filter;
        return std::nullopt;
    }
};

// The window system in force: Win32 on Windows, the headless one elsewhere. Tests swap it.
Windowing& CurrentWindowing();
// Replaces the window system in force (null restores the build's default); answers the previous
// one, null when that was the default.
Windowing* ReplaceWindowing(Windowing* windowing);

// Lets go of what the window system keeps between windows (the pictures' bitmaps), before the
// module may be unloaded. Made anew on the next use.
void ReleaseCachedResources();

// Font height of a point size on this screen, as a point font is made: -(points * dpi / 72).
int PointsToHeight(int points, int logPixelsY);

}  // namespace klt::ui
