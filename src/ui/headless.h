#pragma once
// The window system without a screen: dialogs keep their controls' state and the geometry the
// templates give, canvases record what is drawn, and a queue of user actions (press a control,
// click a point, press a key, let time pass, look at the window) plays the user of each modal
// window. Tests and the emulated host drive every window through it.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/platform.h"
#include "ui/bitmap.h"
#include "ui/dialog.h"

namespace klt::ui {

struct CanvasOp {
    enum class Kind {
        Rectangle,
        RoundRect,
        Ellipse,
        Polygon,
        FillRect,
        Text,
        TextAt,
        Picture,
        Bitmap,
        Clip,
        ClearClip,
        BeginBuffer,
        EndBuffer
    };
    Kind kind = Kind::Rectangle;
    Rect rect;
    Size corner;
    std::vector<Point> points;
    std::string text;
    unsigned format = 0;
    TextAnchor anchor = TextAnchor::TopLeft;
    int picture = 0;
    // DrawBitmap's picture (valid while the window that painted it is open) and the part drawn.
    const Bitmap* bitmap = nullptr;
    Rect source;
    Colour fill = 0;  // FillRect's colour
    // What was selected when the call came.
    bool pen = true;
    Colour penColour = 0;
    int penWidth = 0;
    bool penInsideFrame = false;
    bool brush = true;
    Colour brushColour = Rgb(255, 255, 255);
    Font font;
    Colour textColour = 0;
    bool transparentText = false;
    Colour background = Rgb(255, 255, 255);
};

class RecordingCanvas final : public Canvas {
  public:
    void SetPen(Colour colour, int width) override;
    void SetInsideFramePen(Colour colour, int width) override;
    void SetNoPen() override { state_.pen = false; }
    void SetBrush(Colour colour) override;
    void SetNoBrush() override { state_.brush = false; }
    void Rectangle(const Rect& r) override;
    void RoundRect(const Rect& r, Size corner) override;
    void Ellipse(const Rect& r) override;
    void Polygon(const std::vector<Point>& points) override;
    void FillRect(const Rect& r, Colour colour) override;
    void SetFont(const Font& font) override { state_.font = font; }
    void SetTextColour(Colour colour) override { state_.textColour = colour; }
    void SetTransparentText(bool transparent) override { state_.transparentText = transparent; }
    void SetBackgroundColour(Colour colour) override { state_.background = colour; }
    void DrawText(const std::string& cp1251, const Rect& r, unsigned format) override;
    void TextAt(Point p, const std::string& cp1251, TextAnchor anchor) override;
    void DrawPicture(int picture, const Rect& r) override;
    void DrawBitmap(const Bitmap& bitmap, const Rect& source, const Rect& r) override;
    void Clip(const Rect& r) override;
    void ClearClip() override;
    void BeginBuffer(const Rect& area) override;
    void EndBuffer() override;

    const std::vector<CanvasOp>& ops() const { return ops_; }
    std::vector<CanvasOp> Of(CanvasOp::Kind kind) const;
    // Whether every BeginBuffer was ended, in order.
    bool BuffersBalanced() const;

  private:
    CanvasOp& Add(CanvasOp::Kind kind);
    CanvasOp state_;
    std::vector<CanvasOp> ops_;
};

// A control of a headless dialog as the user would see it.
struct HeadlessControl {
    int id = kIdStatic;
    ControlKind kind = ControlKind::Static;
    Rect rect;
    std::string text;
    int picture = 0;
    Font font;
    bool visible = true;
    bool enabled = true;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    Cursor cursor = Cursor::Default;
    bool checked = false;             // a check box or radio button
    int spinLow = 0, spinHigh = 100;  // a spin's range
    int invalidations = 0;
    int parentInvalidations = 0;
    std::vector<std::string> tabs;  // a tab control's tabs
    int selectedTab = -1;
    std::vector<std::string> columns;  // a list view's column headers
    std::vector<std::string> items;    // a list view's items in the control's order
    int doubleClickedItem = -1;        // while a double click on a list view is told
    struct TreeNode {
        TreeItem parent = 0;
        std::string text;
        int image = 0;
        std::intptr_t data = 0;
    };
    std::vector<TreeNode> nodes;  // a tree view's items in the order added; item n is nodes[n - 1]
    TreeItem selectedNode = 0;
    std::vector<int> images;  // a tree view's pictures
};

// Where a tab control's tabs lie without a screen: one row along the top, each as wide as its
// text at an average character width of the control's font (there are no fonts to measure), the
// selected one raised above and widened beside the others. The page is the rest of the control and
// belongs to the dialog, which paints there and takes the clicks there.
struct TabLayout {
    std::vector<Rect> tabs;
    Rect page;
};
TabLayout LayOutTabs(const HeadlessControl& c);

class HeadlessDialog;

// One step of a scripted user.
struct UserAction {
    enum class Kind { Press, Click, ClickPlan, ChooseTab, DoubleClick, Key, Wait, Look, Type, MousePlan };
    Kind kind = Kind::Press;
    int id = 0;
    Point point;
    int key = 0;
    std::string text;
    std::int64_t ms = 0;
    MouseAction mouse = MouseAction::LeftDown;
    bool shift = false;
    std::function<void(HeadlessDialog&)> look;

    static UserAction Press(int controlId);
    static UserAction Click(Point p);
    // A click where a point of the hall plan lies in the window (nothing when it shows no plan).
    static UserAction ClickPlan(Point plan);
    // A press, move, release or right press of the mouse where a point of the hall plan lies.
    static UserAction MousePlan(MouseAction action, Point plan, bool shift = false);
    // Chooses tab `index` (from 0) of a tab control, as a click on it would.
    static UserAction ChooseTab(int controlId, int index);
    // Double-clicks the item of a list or tree view with this text (CP1251; the first one of a
    // tree, depth first); with no such item, the empty part of the control.
    static UserAction DoubleClick(int controlId, std::string cp1251);
    static UserAction Key(int virtualKey);
    // Replaces the text of an edit field, as typing it over would.
    static UserAction Type(int controlId, std::string cp1251);
    static UserAction Wait(std::int64_t ms);
    // Runs `look` on the open window: a test's assertions between the user's steps.
    static UserAction Look(std::function<void(HeadlessDialog&)> look);
};

class HeadlessDialog final : public DialogView {
  public:
    // The dialog font's average character cell in pixels, which turns dialog units into pixels:
    // 6 × 13 is that of 8-point MS Sans Serif on a 96 dpi screen.
    static constexpr Size kBaseUnits{6, 13};

    HeadlessDialog(const DialogTemplate& dialog, DialogController& controller, Size baseUnits = kBaseUnits);
    ~HeadlessDialog() override;
    HeadlessDialog(const HeadlessDialog&) = delete;
    HeadlessDialog& operator=(const HeadlessDialog&) = delete;

    // What the window does when it is created: the controller's OnOpen.
    void Open();

    // The user. Each answers whether the window took the input (a hidden or disabled control, or a
    // closed window, takes none).
    bool Press(int id);
    bool Click(Point p);
    bool ClickPlan(Point plan);
    // The mouse on the dialog's own area; a left release is a click too.
    bool Mouse(const MouseEvent& event);
    bool MousePlan(MouseAction action, Point plan, bool shift);
    bool ChooseTab(int id, int index);
    bool DoubleClick(int id, const std::string& cp1251);
    bool Key(int key);
    bool Type(int id, const std::string& cp1251);
    // Steps a spin's edit field by `steps` within the spin's range, as its arrows would.
    bool Spin(int id, int steps);
    // Paints a custom control (or the dialog itself for id 0) as the system would ask it to now.
    RecordingCanvas Paint(int id);

    bool closed() const { return closed_; }
    int closeCode() const { return closeCode_; }
    const HeadlessControl* Find(int id) const;
    const std::vector<HeadlessControl>& controls() const { return controls_; }
    unsigned dialogInvalidations() const { return dialogInvalidations_; }
    // Parts of the dialog's own area invalidated one by one, in order.
    const std::vector<Rect>& invalidatedAreas() const { return invalidatedAreas_; }
    const std::vector<std::pair<int, unsigned>>& notifications() const { return notifications_; }
    // Timers running now: (control id or 0 for the dialog, timer id).
    std::vector<std::pair<int, int>> RunningTimers() const;

    // DialogView
    const DialogTemplate& Template() const override { return dialog_; }
    void SetCaption(const std::string& cp1251) override { caption_ = cp1251; }
    std::string Caption() const override { return caption_; }
    void ShowControl(int id, bool show) override;
    void EnableControl(int id, bool enable) override;
    void SetControlText(int id, const std::string& cp1251) override;
    std::string ControlText(int id) const override;
    void SetControlPicture(int id, int picture) override;
    void SetControlFont(int id, const Font& font) override;
    Font ControlFont(int id) const override;
    std::uint32_t ControlStyle(int id) const override;
    std::uint32_t ControlExStyle(int id) const override;
    void ModifyControlStyle(int id, std::uint32_t remove, std::uint32_t add, bool extended) override;
    void SetControlCursor(int id, Cursor cursor) override;
    void SetCheck(int id, bool checked) override;
    bool IsChecked(int id) const override;
    void SetSpinRange(int id, int low, int high) override;
    void SetTabs(int id, const std::vector<std::string>& cp1251Texts) override;
    void SelectTab(int id, int index) override;
    int SelectedTab(int id) const override;
    void AddListColumn(int id, const std::string& cp1251Header, int width, bool centred) override;
    void ClearList(int id) override;
    int AddListItem(int id, const std::string& cp1251) override;
    int ListItemCount(int id) const override;
    std::string ListItemText(int id, int index) const override;
    int DoubleClickedListItem(int id) const override;
    void SetTreeImages(int id, const std::vector<int>& pictures, int size) override;
    TreeItem AddTreeItem(int id, TreeItem parent, const std::string& cp1251, int image,
                         std::intptr_t data) override;
    std::string TreeItemText(int id, TreeItem item) const override;
    std::intptr_t TreeItemData(int id, TreeItem item) const override;
    TreeItem SelectedTreeItem(int id) const override;
    Rect ControlRect(int id) const override;
    Rect ClientRect() const override { return client_; }
    void MoveControl(int id, const Rect& r) override;
    Rect WindowRect() const override { return window_; }
    void PlaceWindow(const Rect& screen) override;
    void InvalidateControl(int id, bool parentToo) override;
    void Invalidate() override { ++dialogInvalidations_; }
    void InvalidateArea(const Rect& r) override { invalidatedAreas_.push_back(r); }
    void AttachCustomControl(int id, CustomControl* control) override;
    bool StartControlTimer(int id, int timerId, unsigned periodMs) override;
    void StopControlTimer(int id, int timerId) override;
    void NotifyParent(int id, unsigned code) override;
    bool StartTimer(int timerId, unsigned periodMs) override {
        return StartControlTimer(0, timerId, periodMs);
    }
    void StopTimer(int timerId) override { StopControlTimer(0, timerId); }
    void Close(int code) override;

  private:
    HeadlessControl* Get(int id);
    const HeadlessControl* Get(int id) const;
    void StopAllTimers();
    // The frame around the client area: a caption on top when the style has one, and borders.
    Rect Frame() const;

    const DialogTemplate& dialog_;
    DialogController& controller_;
    std::string caption_;
    Rect window_;
    Rect client_;
    std::vector<Rect> invalidatedAreas_;
    std::vector<HeadlessControl> controls_;
    std::map<int, CustomControl*> custom_;
    std::map<std::pair<int, int>, platform::TimerId> timers_;
    std::vector<std::pair<int, unsigned>> notifications_;
    unsigned dialogInvalidations_ = 0;
    bool closed_ = false;
    int closeCode_ = 0;
};

// What a finished modal window looked like when it closed.
struct DialogRecord {
    int templateId = 0;
    std::string caption;
    std::vector<HeadlessControl> controls;
    int closeCode = 0;
    // The script ran out with the window still open: it was closed as by Esc.
    bool abandoned = false;

    const HeadlessControl* Find(int id) const;
};

class HeadlessWindowing final : public Windowing {
  public:
    // The script of the next modal window that opens (scripts are used in the order queued). A
    // window whose script runs out while it is open gets Esc, then is closed with the cancel code:
    // nobody is there to answer it.
    void Queue(std::vector<UserAction> script) { scripts_.push_back(std::move(script)); }
    std::size_t QueuedScripts() const { return scripts_.size(); }

    int RunModal(const DialogTemplate& dialog, DialogController& controller) override;
    Colour SystemColourOf(SystemColour which) override;
    int LogPixelsY() override { return 96; }
    void ShellOpen(const std::string& cp1251) override { opened_.push_back(cp1251); }
    // Every window is a 1024 x 768 screen's main window; captions are 18 pixels high.
    Rect ScreenRectOf(platform::WindowHandle window) override {
        (void)window;
        return kScreen;
    }
    int CaptionHeight() override { return kCaptionHeight; }
    // The system dialogs take the answers queued for them, in order; with none queued, or a
    // queued nothing, the user cancels.
    std::optional<Colour> ChooseColour(Colour initial) override;
    bool ChooseFont(Font& font, Colour& colour) override;
    std::optional<std::string> ChooseOpenFile(const std::string& defaultExtension,
                                              const std::string& filter) override;
    struct FontAnswer {
        Font font;
        Colour colour = 0;
    };
    void QueueColour(std::optional<Colour> answer) { colours_.push_back(answer); }
    void QueueFont(std::optional<FontAnswer> answer) { fonts_.push_back(std::move(answer)); }
    void QueueOpenFile(std::optional<std::string> answer) { files_.push_back(std::move(answer)); }
    // Context menus take the commands queued, in order; with none queued the menu is dismissed.
    int PopupMenu(const std::vector<MenuItem>& items) override;
    void QueueMenuChoice(int command) { menuChoices_.push_back(command); }
    const std::vector<std::vector<MenuItem>>& menus() const { return menus_; }
    // What the system dialogs were asked, in order: the starting colour or font, or the filter.
    const std::vector<std::string>& systemDialogs() const { return asked_; }
    static constexpr Rect kScreen{0, 0, 1024, 768};
    static constexpr int kCaptionHeight = 18;

    const std::vector<DialogRecord>& history() const { return history_; }
    const std::vector<std::string>& shellOpened() const { return opened_; }

  private:
    std::deque<std::vector<UserAction>> scripts_;
    std::vector<DialogRecord> history_;
    std::vector<std::string> opened_;
    std::deque<std::optional<Colour>> colours_;
    std::deque<std::optional<FontAnswer>> fonts_;
    std::deque<std::optional<std::string>> files_;
    std::deque<int> menuChoices_;
    std::vector<std::vector<MenuItem>> menus_;
    std::vector<std::string> asked_;
};

// Turns dialog units into pixels as the dialog manager does.
Rect DialogUnitsToPixels(int x, int y, int cx, int cy, Size baseUnits);

// Puts a headless window system in force for as long as it lives.
// A window system that cannot make windows, as on a host without a desktop: every modal window
// fails to open. Lets the emulator and tests reach the add-in's handling of that failure.
class NoWindowing final : public Windowing {
  public:
    int RunModal(const DialogTemplate&, DialogController&) override { return kRunFailed; }
    Colour SystemColourOf(SystemColour) override { return 0; }
    int LogPixelsY() override { return 96; }
    void ShellOpen(const std::string&) override {}
    Rect ScreenRectOf(platform::WindowHandle) override { return {}; }
    int CaptionHeight() override { return 0; }
};

class ScopedHeadlessWindowing {
  public:
    ScopedHeadlessWindowing() : previous_(ReplaceWindowing(&windowing)) {}
    ~ScopedHeadlessWindowing() { ReplaceWindowing(previous_); }
    ScopedHeadlessWindowing(const ScopedHeadlessWindowing&) = delete;
    ScopedHeadlessWindowing& operator=(const ScopedHeadlessWindowing&) = delete;

    HeadlessWindowing windowing;

  private:
    Windowing* previous_;
};

}  // namespace klt::ui
