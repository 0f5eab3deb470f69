// Real dialogs from the template data: the template is laid out in memory as the dialog manager
// reads it and run by DialogBoxIndirectParamW, whose modal loop gives Esc, Enter and Tab their
// usual meaning and keeps dispatching the loop's ownerless timers. Colour labels and other custom
// controls are statics whose window procedure is ours.
#include <algorithm>
#include <cwchar>
#include <exception>
#include <map>
#include <memory>
#include <vector>

#include "platform/diagnostics.h"
#include "ui/dialog.h"
#include "ui/win32/win32_ui.h"

// After <windows.h>, which it needs.
#include <commctrl.h>
#include <commdlg.h>
// The window system's method of that name, not the UNICODE macro.
#ifdef ChooseFont
#undef ChooseFont
#endif
#include <shellapi.h>

namespace klt::ui::win32 {
namespace {

constexpr wchar_t kViewProperty[] = L"KltDialogView";
constexpr wchar_t kOldProcProperty[] = L"KltOldProc";

HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

// DLGTEMPLATE and its DLGITEMTEMPLATEs as the dialog manager reads them: WORD-aligned strings,
// each item on a DWORD boundary.
class TemplateWriter {
  public:
    void Word(unsigned v) { words_.push_back(static_cast<WORD>(v)); }
    void Dword(std::uint32_t v) {
        Word(v & 0xFFFF);
        Word(v >> 16);
    }
    void Text(const std::string& cp1251) {
        for (wchar_t c : Wide(cp1251)) Word(c);
        Word(0);
    }
    void Align() {
        if (words_.size() % 2) Word(0);
    }
    const WORD* data() const { return words_.data(); }

  private:
    std::vector<WORD> words_;
};

void BuildTemplate(const DialogTemplate& d, TemplateWriter& w) {
    w.Dword(d.style | style::kSetFont);
    w.Dword(0);
    // Embedded controls of other components get no window: their places stay empty.
    const auto made = std::count_if(d.controls.begin(), d.controls.end(),
                                    [](const ControlTemplate& c) { return c.kind != ControlKind::Embedded; });
    w.Word(static_cast<unsigned>(made));
    w.Word(0);
    w.Word(0);
    w.Word(static_cast<unsigned>(d.cx));
    w.Word(static_cast<unsigned>(d.cy));
    w.Word(0);  // no menu
    w.Word(0);  // the dialog class
    w.Text(std::string(d.caption));
    w.Word(static_cast<unsigned>(d.fontPoints));
    w.Text(std::string(d.fontFace));
    for (const ControlTemplate& c : d.controls) {
        if (c.kind == ControlKind::Embedded) continue;
        w.Align();
        std::uint32_t s = c.style | style::kChild | style::kVisible;
        w.Dword(s);
        w.Dword(c.exStyle);
        w.Word(static_cast<unsigned>(c.x));
        w.Word(static_cast<unsigned>(c.y));
        w.Word(static_cast<unsigned>(c.cx));
        w.Word(static_cast<unsigned>(c.cy));
        w.Word(static_cast<unsigned>(c.id) & 0xFFFF);
        if (c.kind == ControlKind::Tab) {
            w.Text("SysTabControl32");  // the common controls' classes, by name
        } else if (c.kind == ControlKind::List) {
            w.Text("SysListView32");
        } else if (c.kind == ControlKind::Tree) {
            w.Text("SysTreeView32");
        } else if (c.kind == ControlKind::Spin) {
            w.Text("msctls_updown32");
        } else if (c.kind == ControlKind::Edit) {
            w.Word(0xFFFF);
            w.Word(0x0081);
        } else {
            w.Word(0xFFFF);
            w.Word(c.kind == ControlKind::Button ? 0x0080 : 0x0082);  // the Button or Static class
        }
        w.Text(std::string(c.text));
        w.Word(0);  // no creation data
    }
}

LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

constexpr wchar_t kButtonProcProperty[] = L"KltButtonProc";

// A pushed button would otherwise become the dialog's default, and Enter would press it again:
// Enter stays the template's default button's (or IDOK), whatever was touched last.
LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto old = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kButtonProcProperty));
    if (!old) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        RemovePropW(hwnd, kButtonProcProperty);
    } else if (msg == WM_GETDLGCODE) {
        return CallWindowProcW(old, hwnd, msg, wParam, lParam) & ~static_cast<LRESULT>(DLGC_UNDEFPUSHBUTTON);
    }
    return CallWindowProcW(old, hwnd, msg, wParam, lParam);
}

void KeepFromBecomingDefault(HWND button) {
    if (!button || GetPropW(button, kButtonProcProperty)) return;
    const LONG_PTR old = SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ButtonProc));
    SetPropW(button, kButtonProcProperty, reinterpret_cast<HANDLE>(old));
}

// What the tab control tells its dialog when the user chose another tab.
static_assert(kTabSelectionChanged == TCN_SELCHANGE);

constexpr wchar_t kTabProcProperty[] = L"KltTabProc";

// A tab control owns its row of tabs and the frame of its page; the page inside the frame is the
// dialog's, which paints its own things there (a hall's plan) and takes the clicks there. The
// control's class erases all of its client area with the button face, so it is shaped with a hole
// where the page is: it neither paints over the dialog there nor stands in the way of its clicks.
void OpenTabPage(HWND tabs) {
    RECT window{}, page{};
    if (!GetWindowRect(tabs, &window) || !GetClientRect(tabs, &page)) return;
    SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    // The region is in window coordinates, the page in client ones.
    POINT origin{0, 0};
    ClientToScreen(tabs, &origin);
    OffsetRect(&page, origin.x - window.left, origin.y - window.top);
    platform::win32::GdiObject<HRGN> shape(
        CreateRectRgn(0, 0, window.right - window.left, window.bottom - window.top));
    if (!shape) return;
    if (page.right > page.left && page.bottom > page.top) {
        const platform::win32::GdiObject<HRGN> hole(CreateRectRgnIndirect(&page));
        if (hole) CombineRgn(shape.Get(), shape.Get(), hole.Get(), RGN_DIFF);
    }
    // A new shape repaints the control: set it only when it changed.
    const platform::win32::GdiObject<HRGN> current(CreateRectRgn(0, 0, 0, 0));
    if (current && GetWindowRgn(tabs, current.Get()) != ERROR && EqualRgn(current.Get(), shape.Get())) return;
    if (SetWindowRgn(tabs, shape.Get(), TRUE)) shape.Release();  // the system owns it now
}

// The page moves when the control's size, font, style or rows of tabs change.
LRESULT CALLBACK TabProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto old = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kTabProcProperty));
    if (!old) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        RemovePropW(hwnd, kTabProcProperty);
        return CallWindowProcW(old, hwnd, msg, wParam, lParam);
    }
    const LRESULT result = CallWindowProcW(old, hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_SIZE:
        case WM_SETFONT:
        case WM_STYLECHANGED:
        case TCM_INSERTITEMW:
        case TCM_INSERTITEMA:
        case TCM_SETITEMW:
        case TCM_SETITEMA:
        case TCM_DELETEITEM:
        case TCM_DELETEALLITEMS:
        case TCM_SETITEMSIZE:
        case TCM_SETPADDING:
            OpenTabPage(hwnd);
            break;
        default:
            break;
    }
    return result;
}

void KeepPageOpen(HWND tabs) {
    if (!tabs || GetPropW(tabs, kTabProcProperty)) return;
    const LONG_PTR old = SetWindowLongPtrW(tabs, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TabProc));
    SetPropW(tabs, kTabProcProperty, reinterpret_cast<HANDLE>(old));
    OpenTabPage(tabs);
}

class Win32DialogView final : public DialogView {
  public:
    Win32DialogView(const DialogTemplate& d, DialogController& c) : dialog_(d), controller_(c) {}

    HWND hwnd() const { return hwnd_; }
    int closeCode() const { return code_; }
    std::exception_ptr error() const { return error_; }

    // The first error is rethrown after the modal loop; a later one only reaches the trace.
    void KeepError() {
        if (!error_)
            error_ = std::current_exception();
        else
            platform::ReportCurrentException("dialog");
    }

    // Runs `body`, keeping an escaping exception for RunModal to rethrow once the system's modal
    // loop is left: unwinding through the system's frames is not safe.
    template <typename Body>
    void Guard(Body&& body) {
        try {
            body();
        } catch (...) {
            KeepError();
            Close(kRunFailed);
        }
    }

    void Created(HWND hwnd) {
        hwnd_ = hwnd;
        for (const ControlTemplate& c : dialog_.controls)
            if (c.picture) SetControlPicture(c.id, c.picture);
        for (const ControlTemplate& c : dialog_.controls) {
            if (c.kind == ControlKind::Button) KeepFromBecomingDefault(GetDlgItem(hwnd_, c.id));
            if (c.kind == ControlKind::Tab) KeepPageOpen(GetDlgItem(hwnd_, c.id));
        }
        Guard([&] { controller_.OnOpen(*this); });
    }

    static MouseEvent MouseAt(MouseAction action, WPARAM wParam, LPARAM lParam) {
        return {action,
                {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))},
                (wParam & MK_SHIFT) != 0};
    }

    INT_PTR Message(UINT msg, WPARAM wParam, LPARAM lParam) {
        switch (msg) {
            case WM_COMMAND: {
                const int id = LOWORD(wParam);
                const int code = HIWORD(wParam);
                HWND from = reinterpret_cast<HWND>(lParam);
                if (from && custom_.count(id)) {
                    if (code == STN_CLICKED) Guard([&] { custom_[id]->OnClick(); });
                    return TRUE;
                }
                if (from && code == EN_CHANGE && IsKind(id, ControlKind::Edit)) {
                    Guard([&] { controller_.OnEditChanged(*this, id); });
                    return TRUE;
                }
                // Buttons, and Enter and Esc that the dialog manager turns into IDOK and IDCANCEL.
                if (!from || code == BN_CLICKED) Guard([&] { controller_.OnCommand(*this, id); });
                return TRUE;
            }
            case WM_NOTIFY: {
                const NMHDR* n = reinterpret_cast<const NMHDR*>(lParam);
                const int id = static_cast<int>(n->idFrom);
                // A tab control tells of much besides a change of tab (clicks, keys, the change
                // about to happen): the dialog hears only of the change, as from a headless one,
                // and the answer 0 to the rest lets the change happen.
                if (IsKind(id, ControlKind::Tab) && n->code != TCN_SELCHANGE) return FALSE;
                // List and tree views likewise tell the dialog only of double clicks; a list's
                // names the item it hit.
                const bool list = IsKind(id, ControlKind::List);
                if ((list || IsKind(id, ControlKind::Tree)) && n->code != NM_DBLCLK) return FALSE;
                if (list) doubleClicked_[id] = reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem;
                Guard([&] { controller_.OnNotify(*this, id, n->code); });
                if (list) doubleClicked_.erase(id);
                return TRUE;
            }
            case WM_TIMER:
                Guard([&] { controller_.OnTimer(*this, static_cast<int>(wParam)); });
                return TRUE;
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:  // a quick second press is a press too
            case WM_MOUSEMOVE:
            case WM_RBUTTONDOWN: {
                const MouseAction action = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK
                                               ? MouseAction::LeftDown
                                           : msg == WM_MOUSEMOVE ? MouseAction::Move
                                                                 : MouseAction::RightDown;
                bool follows = false;
                Guard([&] { follows = controller_.OnMouse(*this, MouseAt(action, wParam, lParam)); });
                // A drag goes on outside the window: the dialog keeps the mouse until it ends.
                if (follows && GetCapture() != hwnd_) SetCapture(hwnd_);
                if (!follows && msg != WM_MOUSEMOVE && GetCapture() == hwnd_) ReleaseCapture();
                return TRUE;
            }
            case WM_LBUTTONUP: {
                const MouseEvent up = MouseAt(MouseAction::LeftUp, wParam, lParam);
                Guard([&] { controller_.OnMouse(*this, up); });
                if (GetCapture() == hwnd_) ReleaseCapture();
                Guard([&] { controller_.OnClick(*this, up.p); });
                return TRUE;
            }
            case WM_PAINT: {
                const platform::win32::PaintDc paint(hwnd_);
                GdiCanvas canvas(paint.Get());
                Guard([&] { controller_.OnPaint(*this, canvas); });
                return TRUE;
            }
            case WM_SYSCOLORCHANGE:
                for (auto& [id, control] : custom_) Guard([&] { control->OnSystemColoursChanged(); });
                return TRUE;
            case WM_DESTROY: {
                if (!closed_) {
                    closed_ = true;
                    Guard([&] { controller_.OnClose(*this); });
                }
                const auto attached = custom_;
                custom_.clear();
                for (const auto& [id, control] : attached) control->OnViewGone();
                return FALSE;
            }
            default:
                return FALSE;
        }
    }

    LRESULT ControlMessage(HWND control, UINT msg, WPARAM wParam, LPARAM lParam, WNDPROC old) {
        const int id = GetDlgCtrlID(control);
        auto it = custom_.find(id);
        if (it != custom_.end()) {
            CustomControl* custom = it->second;
            switch (msg) {
                case WM_PAINT: {
                    const platform::win32::PaintDc paint(control);
                    RECT rc;
                    GetClientRect(control, &rc);
                    GdiCanvas canvas(paint.Get());
                    Guard([&] { custom->Paint(canvas, {rc.left, rc.top, rc.right, rc.bottom}); });
                    return 0;
                }
                case WM_ERASEBKGND:
                    return 1;  // the control paints all of itself, or lets its parent show through
                case WM_TIMER:
                    Guard([&] { custom->OnTimer(static_cast<int>(wParam)); });
                    return 0;
                case WM_SETCURSOR: {
                    auto c = cursors_.find(id);
                    if (c != cursors_.end() && c->second != Cursor::Default) {
                        SetCursor(LoadCursorW(nullptr, SystemCursor(c->second)));
                        return TRUE;
                    }
                    break;
                }
                default:
                    break;
            }
        }
        return CallWindowProcW(old, control, msg, wParam, lParam);
    }

    // DialogView
    const DialogTemplate& Template() const override { return dialog_; }
    void SetCaption(const std::string& cp1251) override { SetWindowTextW(hwnd_, Wide(cp1251).c_str()); }
    std::string Caption() const override { return WindowText(hwnd_); }
    void ShowControl(int id, bool show) override { ShowWindow(Item(id), show ? SW_SHOW : SW_HIDE); }
    void EnableControl(int id, bool enable) override { EnableWindow(Item(id), enable ? TRUE : FALSE); }
    void SetControlText(int id, const std::string& cp1251) override {
        SetWindowTextW(Item(id), Wide(cp1251).c_str());
    }
    std::string ControlText(int id) const override { return WindowText(Item(id)); }
    void SetControlPicture(int id, int picture) override {
        SendMessageW(Item(id), BM_SETIMAGE, IMAGE_BITMAP,
                     reinterpret_cast<LPARAM>(picture ? PictureBitmap(picture) : nullptr));
    }
    void SetControlFont(int id, const Font& font) override {
        const LOGFONTW lf = ToLogFont(font);
        platform::win32::GdiObject<HFONT> made(CreateFontIndirectW(&lf));
        if (!made) return;
        SendMessageW(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(made.Get()), FALSE);
        fonts_[id] = std::move(made);  // the control's previous font goes now
    }
    Font ControlFont(int id) const override {
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(Item(id), WM_GETFONT, 0, 0));
        if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        LOGFONTW lf{};
        GetObjectW(font, sizeof lf, &lf);
        return FromLogFont(lf);
    }
    std::uint32_t ControlStyle(int id) const override {
        return static_cast<std::uint32_t>(GetWindowLongW(Item(id), GWL_STYLE));
    }
    std::uint32_t ControlExStyle(int id) const override {
        return static_cast<std::uint32_t>(GetWindowLongW(Item(id), GWL_EXSTYLE));
    }
    void ModifyControlStyle(int id, std::uint32_t remove, std::uint32_t add, bool extended) override {
        HWND item = Item(id);
        const int which = extended ? GWL_EXSTYLE : GWL_STYLE;
        const auto bits = static_cast<std::uint32_t>(GetWindowLongW(item, which));
        SetWindowLongW(item, which, static_cast<LONG>((bits & ~remove) | add));
        SetWindowPos(item, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void SetControlCursor(int id, Cursor cursor) override { cursors_[id] = cursor; }
    void SetCheck(int id, bool checked) override {
        SendMessageW(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    bool IsChecked(int id) const override { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void SetSpinRange(int id, int low, int high) override {
        SendMessageW(Item(id), UDM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
    }
    void SetTabs(int id, const std::vector<std::string>& cp1251Texts) override {
        HWND tabs = Item(id);
        if (!tabs) return;
        SendMessageW(tabs, TCM_DELETEALLITEMS, 0, 0);
        int index = 0;
        for (const std::string& text : cp1251Texts) {
            std::wstring wide = Wide(text);
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = wide.data();
            SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(index++),
                         reinterpret_cast<LPARAM>(&item));
        }
        // New tabs start on the first, whatever was selected among the old ones.
        if (!cp1251Texts.empty()) SendMessageW(tabs, TCM_SETCURSEL, 0, 0);
    }
    void SelectTab(int id, int index) override {
        HWND tabs = Item(id);
        // A tab that is not there changes nothing; -1 would take the selection away.
        if (!tabs || index < 0 || index >= static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0)))
            return;
        SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    int SelectedTab(int id) const override {
        HWND tabs = Item(id);
        return tabs ? static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0)) : -1;
    }
    void AddListColumn(int id, const std::string& cp1251Header, int width, bool centred) override {
        std::wstring header = Wide(cp1251Header);
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = centred ? LVCFMT_CENTER : LVCFMT_LEFT;
        column.cx = width;
        column.pszText = header.data();
        // After the columns there are: a header that is not shown still counts them.
        SendMessageW(Item(id), LVM_INSERTCOLUMNW, static_cast<WPARAM>(columns_[id]++),
                     reinterpret_cast<LPARAM>(&column));
    }
    void ClearList(int id) override { SendMessageW(Item(id), LVM_DELETEALLITEMS, 0, 0); }
    int AddListItem(int id, const std::string& cp1251) override {
        std::wstring text = Wide(cp1251);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = ListItemCount(id);
        item.pszText = text.data();
        return static_cast<int>(SendMessageW(Item(id), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    int ListItemCount(int id) const override {
        HWND list = Item(id);
        return list ? static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
    }
    std::string ListItemText(int id, int index) const override {
        HWND list = Item(id);
        if (!list || index < 0) return {};
        std::wstring text(260, L'\0');
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const auto got =
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
        return Narrow(text);
    }
    int DoubleClickedListItem(int id) const override {
        auto it = doubleClicked_.find(id);
        return it == doubleClicked_.end() ? -1 : it->second;
    }
    void SetTreeImages(int id, const std::vector<int>& pictures, int size) override {
        HWND tree = Item(id);
        if (!tree) return;
        HIMAGELIST images = ImageList_Create(size, size, ILC_COLOR24, static_cast<int>(pictures.size()), 0);
        if (!images) return;
        for (int picture : pictures) {
            // A picture that is not there still takes its place, so the indices stay right.
            HBITMAP bitmap = PictureBitmap(picture);
            platform::win32::GdiObject<HBITMAP> blank;
            if (!bitmap) {
                const platform::win32::WindowDc screen;
                blank = platform::win32::GdiObject<HBITMAP>(CreateCompatibleBitmap(screen.Get(), size, size));
                bitmap = blank.Get();
            }
            ImageList_Add(images, bitmap, nullptr);
        }
        SendMessageW(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
        // The tree does not own its image list: the one it had goes with the view or now.
        imageLists_[id] = ImageListHandle(images);
    }
    TreeItem AddTreeItem(int id, TreeItem parent, const std::string& cp1251, int image,
                         std::intptr_t data) override {
        std::wstring text = Wide(cp1251);
        TVINSERTSTRUCTW insert{};
        insert.hParent = parent ? reinterpret_cast<HTREEITEM>(parent) : TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
        insert.item.pszText = text.data();
        insert.item.iImage = image;
        insert.item.iSelectedImage = image;
        insert.item.lParam = static_cast<LPARAM>(data);
        return reinterpret_cast<TreeItem>(reinterpret_cast<HTREEITEM>(
            SendMessageW(Item(id), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert))));
    }
    std::string TreeItemText(int id, TreeItem item) const override {
        std::wstring text(260, L'\0');
        TVITEMW tv{};
        tv.mask = TVIF_TEXT;
        tv.hItem = reinterpret_cast<HTREEITEM>(item);
        tv.pszText = text.data();
        tv.cchTextMax = static_cast<int>(text.size());
        if (!item || !SendMessageW(Item(id), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return {};
        text.resize(wcsnlen(text.c_str(), text.size()));
        return Narrow(text);
    }
    std::intptr_t TreeItemData(int id, TreeItem item) const override {
        TVITEMW tv{};
        tv.mask = TVIF_PARAM;
        tv.hItem = reinterpret_cast<HTREEITEM>(item);
        if (!item || !SendMessageW(Item(id), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return 0;
        return static_cast<std::intptr_t>(tv.lParam);
    }
    TreeItem SelectedTreeItem(int id) const override {
        HWND tree = Item(id);
        return tree ? static_cast<TreeItem>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)) : 0;
    }
    Rect ControlRect(int id) const override {
        RECT rc{};
        HWND item = Item(id);
        if (!item) return {};
        GetWindowRect(item, &rc);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&rc), 2);
        return {rc.left, rc.top, rc.right, rc.bottom};
    }
    Rect ClientRect() const override {
        RECT rc{};
        GetClientRect(hwnd_, &rc);
        return {rc.left, rc.top, rc.right, rc.bottom};
    }
    void InvalidateControl(int id, bool parentToo) override {
        HWND item = Item(id);
        if (!item) return;
        if (parentToo) {
            const Rect r = ControlRect(id);
            const RECT rc{r.left, r.top, r.right, r.bottom};
            InvalidateRect(hwnd_, &rc, TRUE);
        }
        InvalidateRect(item, nullptr, FALSE);
    }
    void Invalidate() override { InvalidateRect(hwnd_, nullptr, TRUE); }
    void InvalidateArea(const Rect& r) override {
        const RECT rc{r.left, r.top, r.right, r.bottom};
        InvalidateRect(hwnd_, &rc, FALSE);
    }
    void MoveControl(int id, const Rect& r) override {
        if (HWND item = Item(id)) MoveWindow(item, r.left, r.top, r.Width(), r.Height(), TRUE);
    }
    Rect WindowRect() const override {
        RECT rc{};
        GetWindowRect(hwnd_, &rc);
        return {rc.left, rc.top, rc.right, rc.bottom};
    }
    void PlaceWindow(const Rect& screen) override {
        SetWindowPos(hwnd_, nullptr, screen.left, screen.top, screen.Width(), screen.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void AttachCustomControl(int id, CustomControl* control) override {
        HWND item = Item(id);
        if (!item) return;
        if (!control) {
            custom_.erase(id);
            return;
        }
        custom_[id] = control;
        if (!GetPropW(item, kOldProcProperty)) {
            SetPropW(item, kViewProperty, this);
            const LONG_PTR old =
                SetWindowLongPtrW(item, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlProc));
            SetPropW(item, kOldProcProperty, reinterpret_cast<HANDLE>(old));
        }
        InvalidateRect(item, nullptr, FALSE);
    }
    bool StartControlTimer(int id, int timerId, unsigned periodMs) override {
        HWND target = id == 0 ? hwnd_ : Item(id);
        return target && SetTimer(target, static_cast<UINT_PTR>(timerId), periodMs, nullptr) != 0;
    }
    void StopControlTimer(int id, int timerId) override {
        HWND target = id == 0 ? hwnd_ : Item(id);
        if (target) KillTimer(target, static_cast<UINT_PTR>(timerId));
    }
    void NotifyParent(int id, unsigned code) override {
        NMHDR n{};
        n.hwndFrom = Item(id);
        n.idFrom = static_cast<UINT_PTR>(id);
        n.code = code;
        SendMessageW(hwnd_, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&n));
    }
    bool StartTimer(int timerId, unsigned periodMs) override {
        return StartControlTimer(0, timerId, periodMs);
    }
    void StopTimer(int timerId) override { StopControlTimer(0, timerId); }
    void Close(int code) override {
        if (closed_) return;
        closed_ = true;
        code_ = code;
        // The controller lets go of the window while it still exists.
        try {
            controller_.OnClose(*this);
        } catch (...) {
            KeepError();
        }
        EndDialog(hwnd_, code);
    }

  private:
    HWND Item(int id) const { return hwnd_ ? GetDlgItem(hwnd_, id) : nullptr; }
    bool IsKind(int id, ControlKind kind) const {
        const ControlTemplate* c = dialog_.Find(id);
        return c && c->kind == kind;
    }
    struct ImageListDeleter {
        void operator()(_IMAGELIST* list) const { ImageList_Destroy(list); }
    };
    using ImageListHandle = std::unique_ptr<_IMAGELIST, ImageListDeleter>;
    static std::string WindowText(HWND w) {
        if (!w) return {};
        const int n = GetWindowTextLengthW(w);
        std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
        const int got = GetWindowTextW(w, text.data(), n + 1);
        text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
        return Narrow(text);
    }
    static LPCWSTR SystemCursor(Cursor c) {
        switch (c) {
            case Cursor::Hand:
                return IDC_HAND;
            case Cursor::IBeam:
                return IDC_IBEAM;
            case Cursor::Cross:
                return IDC_CROSS;
            default:
                return IDC_ARROW;
        }
    }

    const DialogTemplate& dialog_;
    DialogController& controller_;
    HWND hwnd_ = nullptr;
    bool closed_ = false;
    int code_ = kRunFailed;
    std::exception_ptr error_;
    std::map<int, CustomControl*> custom_;
    std::map<int, Cursor> cursors_;
    std::map<int, platform::win32::GdiObject<HFONT>> fonts_;  // fonts set on controls, while the view lives
    std::map<int, int> columns_;                              // list views' columns added
    std::map<int, int> doubleClicked_;                        // while a list's double click is told
    std::map<int, ImageListHandle> imageLists_;               // trees' images, while the view lives
};

LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* view = static_cast<Win32DialogView*>(GetPropW(hwnd, kViewProperty));
    auto old = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kOldProcProperty));
    if (msg == WM_NCDESTROY) {
        // The window goes: put its own procedure back and forget the view.
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        RemovePropW(hwnd, kViewProperty);
        RemovePropW(hwnd, kOldProcProperty);
        return CallWindowProcW(old, hwnd, msg, wParam, lParam);
    }
    if (!view || !old) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return view->ControlMessage(hwnd, msg, wParam, lParam, old);
}

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        auto* view = reinterpret_cast<Win32DialogView*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        view->Created(hwnd);
        return TRUE;
    }
    auto* view = reinterpret_cast<Win32DialogView*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    return view ? view->Message(msg, wParam, lParam) : FALSE;
}

class Win32Windowing final : public Windowing {
  public:
    int RunModal(const DialogTemplate& dialog, DialogController& controller) override {
        // Tab, list and tree views belong to the common controls, whose classes must be registered
        // first.
        static const bool commonControls = [] {
            INITCOMMONCONTROLSEX init{sizeof init, ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES |
                                                       ICC_TREEVIEW_CLASSES | ICC_UPDOWN_CLASS};
            return InitCommonControlsEx(&init) != FALSE;
        }();
        (void)commonControls;
        TemplateWriter writer;
        BuildTemplate(dialog, writer);
        Win32DialogView view(dialog, controller);
        // Modal to the window the user works in (the host's form), which it disables meanwhile.
        const INT_PTR rc =
            DialogBoxIndirectParamW(ThisModule(), reinterpret_cast<LPCDLGTEMPLATEW>(writer.data()),
                                    GetActiveWindow(), &DialogProc, reinterpret_cast<LPARAM>(&view));
        if (view.error()) std::rethrow_exception(view.error());
        return rc == -1 ? kRunFailed : static_cast<int>(rc);
    }
    Colour SystemColourOf(SystemColour which) override {
        switch (which) {
            case SystemColour::WindowText:
                return GetSysColor(COLOR_WINDOWTEXT);
            case SystemColour::ButtonFace:
                return GetSysColor(COLOR_BTNFACE);
            case SystemColour::Window:
                return GetSysColor(COLOR_WINDOW);
        }
        return 0;
    }
    int LogPixelsY() override {
        const platform::win32::WindowDc screen;
        const int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
        return dpi > 0 ? dpi : 96;
    }
    void ShellOpen(const std::string& cp1251) override {
        ShellExecuteW(nullptr, L"open", Wide(cp1251).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
    Rect ScreenRectOf(platform::WindowHandle window) override {
        RECT rc{};
        HWND hwnd = reinterpret_cast<HWND>(window);
        if (!hwnd || !IsWindow(hwnd) || !GetWindowRect(hwnd, &rc))
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0);
        return {rc.left, rc.top, rc.right, rc.bottom};
    }
    int CaptionHeight() override { return GetSystemMetrics(SM_CYCAPTION); }

    int PopupMenu(const std::vector<MenuItem>& items) override {
        HMENU menu = CreatePopupMenu();
        if (!menu) return 0;
        for (const MenuItem& item : items) {
            if (item.command == 0) {
                AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
                continue;
            }
            const UINT command = static_cast<UINT>(item.command);
            AppendMenuW(menu, MF_STRING, command, Wide(item.text).c_str());
            // The picture stands where a check mark would; the cache keeps the bitmap alive.
            if (HBITMAP picture = item.picture ? PictureBitmap(item.picture) : nullptr)
                SetMenuItemBitmaps(menu, command, MF_BYCOMMAND, picture, picture);
        }
        POINT at{};
        GetCursorPos(&at);
        const BOOL chosen =
            TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y,
                           0, GetActiveWindow(), nullptr);
        DestroyMenu(menu);
        return static_cast<int>(chosen);
    }

    std::optional<Colour> ChooseColour(Colour initial) override {
        static COLORREF custom[16]{};  // the user's custom colours, kept between dialogs
        CHOOSECOLORW choice{};
        choice.lStructSize = sizeof choice;
        choice.hwndOwner = GetActiveWindow();
        choice.rgbResult = initial;
        choice.lpCustColors = custom;
        choice.Flags = CC_RGBINIT;
        if (!ChooseColorW(&choice)) return std::nullopt;
        return static_cast<Colour>(choice.rgbResult);
    }

    bool ChooseFont(Font& font, Colour& colour) override {
        LOGFONTW lf{};
        lf.lfHeight = font.height;
        lf.lfWidth = font.width;
        lf.lfEscapement = font.escapement;
        lf.lfOrientation = font.orientation;
        lf.lfWeight = font.weight;
        lf.lfItalic = font.italic;
        lf.lfUnderline = font.underline;
        lf.lfCharSet = static_cast<BYTE>(font.charset);
        const std::wstring face = Wide(font.face);
        wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
        CHOOSEFONTW choice{};
        choice.lStructSize = sizeof choice;
        choice.hwndOwner = GetActiveWindow();
        choice.lpLogFont = &lf;
        choice.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
        choice.rgbColors = colour;
        if (!ChooseFontW(&choice)) return false;
        font.height = lf.lfHeight;
        font.width = lf.lfWidth;
        font.escapement = lf.lfEscapement;
        font.orientation = lf.lfOrientation;
        font.weight = lf.lfWeight;
        font.italic = lf.lfItalic != 0;
        font.underline = lf.lfUnderline != 0;
        font.charset = lf.lfCharSet;
        font.face = Narrow(lf.lfFaceName);
        colour = choice.rgbColors;
        return true;
    }

    std::optional<std::string> ChooseOpenFile(const std::string& defaultExtension,
                                              const std::string& filter) override {
        // The dialog takes its filter as strings each ended by a NUL, the list by another.
        std::wstring pairs = Wide(filter);
        for (wchar_t& c : pairs)
            if (c == L'|') c = L'\0';
        pairs.push_back(L'\0');
        pairs.push_back(L'\0');
        std::wstring extension = Wide(defaultExtension);
        extension.erase(0, extension.find_first_not_of(L"*."));
        std::vector<wchar_t> path(MAX_PATH * 4, L'\0');
        OPENFILENAMEW open{};
        open.lStructSize = sizeof open;
        open.hwndOwner = GetActiveWindow();
        open.lpstrFilter = pairs.c_str();
        open.lpstrFile = path.data();
        open.nMaxFile = static_cast<DWORD>(path.size());
        open.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
        open.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        if (!GetOpenFileNameW(&open)) return std::nullopt;
        return Narrow(path.data());
    }
};

}  // namespace

Windowing& DefaultWindowing() {
    static Win32Windowing windowing;
    return windowing;
}

}  // namespace klt::ui::win32
