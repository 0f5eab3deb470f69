// The Win32 window system for real: dialogs built from the template data, placed and rearranged,
// picture buttons, pictures from files, the colour label painted through GDI with its off-screen
// buffer, and the keypad opened by "ЗапросЧисла" inside klt_drv.dll, answered by real button
// clicks. With KLT_UI_SHOT_DIR set the DLL test holds the keypad open until a screenshot is taken
// (tests/wine/ui_windows.sh).
#ifdef _WIN32

#include <gtest/gtest.h>

#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>
// Before any header that declares the canvas: it undoes <windows.h>'s DrawText macro.
#include "ui/win32/win32_ui.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "com/interfaces.h"
// After interfaces.h, which brings the COM base interfaces.
#include "com/bridge.h"
#include "com/module.h"
#include "core/addin.h"
#include "core/state.h"
#include "emulator/emulated_host.h"
#include "frontdesk/colour_label.h"
#include "frontdesk/course_choice.h"
#include "frontdesk/number_pad.h"
#include "halls/editor_dialogs.h"
#include "halls/hall_editor.h"
#include "halls/hall_view.h"
#include "hostwin/dialogs.h"
#include "hostwin/pocket_menu.h"
#include "platform/network.h"
#include "platform/platform.h"
#include "res/dialogs.h"
#include "res/editor_dialogs.h"
#include "res/hall_editor.h"
#include "res/hall_dialogs.h"
#include "res/monitor_dialogs.h"
#include "res/office_dialogs.h"
#include "res/pocket_menu.h"
#include "text/literal.h"
#include "ui/bitmap.h"
#include "ui/dialog.h"
#include "win32_connection.h"
#include "win32_support.h"

namespace {

using klt::test::Environment;
using klt::test::WaitFor;

using namespace klt::text::literals;
using klt::res::kPadDisplay;

// The active dialog of this thread, once one is up.
HWND OpenDialog() {
    HWND w = GetActiveWindow();
    wchar_t cls[16] = {};
    if (w && GetClassNameW(w, cls, 16) && std::wstring(cls) == L"#32770" && IsWindowVisible(w)) return w;
    return nullptr;
}

// A user at the screen: each step runs on a tick of the loop once the dialog is up, and is done
// when it answers true. Past the deadline the dialog is cancelled so a broken run cannot hang.
class Win32User {
  public:
    using Step = std::function<bool(HWND dialog)>;
    explicit Win32User(std::vector<Step> steps, DWORD deadlineMs = 30000)
        : steps_(std::move(steps)), deadline_(GetTickCount() + deadlineMs) {
        timer_ = klt::platform::Get().loop->StartTimer(60, [this](klt::platform::TimerId) { Tick(); });
    }
    ~Win32User() { klt::platform::Get().loop->StopTimer(timer_); }
    Win32User(const Win32User&) = delete;
    Win32User& operator=(const Win32User&) = delete;

    bool finished() const { return next_ == steps_.size(); }
    bool timedOut() const { return timedOut_; }

  private:
    void Tick() {
        HWND dialog = OpenDialog();
        if (!dialog || busy_) return;
        if (static_cast<LONG>(GetTickCount() - deadline_) > 0) {
            timedOut_ = true;
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        busy_ = true;
        if (next_ < steps_.size() && steps_[next_](dialog)) ++next_;
        busy_ = false;
    }

    std::vector<Step> steps_;
    DWORD deadline_;
    klt::platform::TimerId timer_ = 0;
    std::size_t next_ = 0;
    bool busy_ = false;
    bool timedOut_ = false;
};

// A real click of the button: the button presses and releases itself and tells its dialog.
Win32User::Step Click(int id) {
    return [id](HWND dialog) {
        HWND button = GetDlgItem(dialog, id);
        EXPECT_NE(button, nullptr) << id;
        if (button) PostMessageW(button, BM_CLICK, 0, 0);
        return true;
    };
}

Win32User::Step Check(std::function<void(HWND)> check) {
    return [check](HWND dialog) {
        check(dialog);
        return true;
    };
}

std::string ItemText(HWND dialog, int id) {
    wchar_t buffer[256] = {};
    GetDlgItemTextW(dialog, id, buffer, 256);
    return klt::ui::win32::Narrow(buffer);
}

// Pixels of the control's client area in exactly this colour, as the screen shows them now.
int PixelsOf(HWND control, COLORREF colour) {
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    RECT rc;
    GetClientRect(control, &rc);
    HDC dc = GetDC(control);
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x) n += GetPixel(dc, x, y) == colour;
    ReleaseDC(control, dc);
    return n;
}

// ---- the canvas on a bitmap ----

class Bitmap {
  public:
    Bitmap(int w, int h) : dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Bitmap() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

  private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

TEST(UiWin32Canvas, GradientBandsAndShapesLandOnThePixels) {
    Bitmap b(100, 20);
    {
        klt::ui::win32::GdiCanvas canvas(b.dc());
        canvas.FillRect({0, 0, 100, 20}, RGB(255, 255, 255));
        klt::frontdesk::GradientFill(canvas, {0, 0, 50, 10}, RGB(255, 0, 0), RGB(0, 0, 255));
        canvas.SetNoPen();
        canvas.SetBrush(RGB(0, 128, 0));
        canvas.Rectangle({60, 0, 70, 10});
        canvas.SetPen(RGB(0, 0, 0), 1);
        canvas.SetNoBrush();
        canvas.Rectangle({80, 0, 90, 10});
    }
    EXPECT_EQ(b.At(0, 5), RGB(255, 0, 0));
    EXPECT_EQ(b.At(49, 5), RGB(5, 0, 249));
    EXPECT_EQ(b.At(50, 5), RGB(255, 255, 255));  // nothing past the rectangle
    EXPECT_EQ(b.At(0, 10), RGB(255, 255, 255));
    EXPECT_EQ(b.At(65, 5), RGB(0, 128, 0));
    EXPECT_EQ(b.At(80, 5), RGB(0, 0, 0));        // the outline
    EXPECT_EQ(b.At(85, 5), RGB(255, 255, 255));  // and no fill inside it
}

// A table's thick outline stays inside its rectangle, where a plain pen would spill out of it.
TEST(UiWin32Canvas, AnInsideFramePenKeepsWithinTheRectangle) {
    Bitmap b(40, 40);
    {
        klt::ui::win32::GdiCanvas canvas(b.dc());
        canvas.FillRect({0, 0, 40, 40}, RGB(255, 255, 255));
        canvas.SetInsideFramePen(RGB(0, 0, 255), 6);
        canvas.SetBrush(RGB(0, 128, 0));
        canvas.Rectangle({10, 10, 30, 30});
    }
    EXPECT_EQ(b.At(9, 20), RGB(255, 255, 255));
    EXPECT_EQ(b.At(10, 20), RGB(0, 0, 255));
    EXPECT_EQ(b.At(15, 20), RGB(0, 0, 255));
    EXPECT_EQ(b.At(20, 20), RGB(0, 128, 0));
    EXPECT_EQ(b.At(29, 20), RGB(0, 0, 255));
    EXPECT_EQ(b.At(30, 20), RGB(255, 255, 255));
}

TEST(UiWin32Canvas, TheBufferReachesTheTargetOnlyWhenEnded) {
    Bitmap b(40, 40);
    klt::ui::win32::GdiCanvas canvas(b.dc());
    canvas.FillRect({0, 0, 40, 40}, RGB(255, 255, 255));
    canvas.BeginBuffer({10, 10, 30, 30});
    canvas.FillRect({10, 10, 30, 30}, RGB(0, 0, 255));
    EXPECT_EQ(b.At(20, 20), RGB(255, 255, 255));
    canvas.EndBuffer();
    EXPECT_EQ(b.At(20, 20), RGB(0, 0, 255));
    EXPECT_EQ(b.At(10, 10), RGB(0, 0, 255));
    EXPECT_EQ(b.At(30, 30), RGB(255, 255, 255));
    // The picture is stretched over the rectangle given.
    canvas.DrawPicture(klt::res::kPictureCancel, {0, 0, 20, 20});
    EXPECT_EQ(b.At(10, 2), RGB(255, 0, 0));
}

TEST(UiWin32Canvas, LetsGoOfThePenAndFontItMade) {
    Bitmap b(10, 10);
    const HGDIOBJ originalPen = GetCurrentObject(b.dc(), OBJ_PEN);
    HGDIOBJ first = nullptr, pen = nullptr, font = nullptr;
    {
        klt::ui::win32::GdiCanvas canvas(b.dc());
        canvas.SetPen(RGB(1, 2, 3), 2);
        first = GetCurrentObject(b.dc(), OBJ_PEN);
        canvas.SetPen(RGB(4, 5, 6), 1);
        pen = GetCurrentObject(b.dc(), OBJ_PEN);
        EXPECT_NE(pen, first);
        canvas.SetPen(RGB(1, 2, 3), 2);
        EXPECT_EQ(GetCurrentObject(b.dc(), OBJ_PEN), first) << "made once, used again";
        canvas.SetPen(RGB(4, 5, 6), 1);
        klt::ui::Font f;
        f.height = 12;
        canvas.SetFont(f);
        font = GetCurrentObject(b.dc(), OBJ_FONT);
        canvas.BeginBuffer({0, 0, 10, 10});
        canvas.Rectangle({1, 1, 9, 9});
    }  // destroyed with the buffer still open
    EXPECT_EQ(GetCurrentObject(b.dc(), OBJ_PEN), originalPen);
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(GetObjectType(pen), 0u);
    EXPECT_EQ(GetObjectType(font), 0u);
}

TEST(UiWin32Canvas, AWideFrameStaysInsideCurvedFiguresAndThePenAndBrushStay) {
    Bitmap b(60, 50);
    klt::ui::win32::GdiCanvas canvas(b.dc());
    canvas.FillRect({0, 0, 60, 50}, RGB(255, 255, 255));
    canvas.SetInsideFramePen(RGB(255, 0, 0), 4);
    canvas.SetBrush(RGB(0, 0, 255));
    const HGDIOBJ pen = GetCurrentObject(b.dc(), OBJ_PEN), brush = GetCurrentObject(b.dc(), OBJ_BRUSH);
    canvas.Ellipse({10, 10, 50, 40});
    // Across the middle: outside, the frame's 4 pixels, the fill, the frame, outside.
    EXPECT_EQ(b.At(9, 25), RGB(255, 255, 255));
    EXPECT_EQ(b.At(10, 25), RGB(255, 0, 0));
    EXPECT_EQ(b.At(13, 25), RGB(255, 0, 0));
    EXPECT_EQ(b.At(15, 25), RGB(0, 0, 255));
    EXPECT_EQ(b.At(30, 25), RGB(0, 0, 255));
    EXPECT_EQ(b.At(48, 25), RGB(255, 0, 0));
    EXPECT_EQ(b.At(50, 25), RGB(255, 255, 255));
    EXPECT_EQ(GetCurrentObject(b.dc(), OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(b.dc(), OBJ_BRUSH), brush);
    canvas.FillRect({0, 0, 60, 50}, RGB(255, 255, 255));
    canvas.RoundRect({10, 10, 50, 40}, {8, 8});
    EXPECT_EQ(b.At(11, 25), RGB(255, 0, 0));
    EXPECT_EQ(b.At(16, 25), RGB(0, 0, 255));
    EXPECT_EQ(b.At(30, 12), RGB(255, 0, 0));
    EXPECT_EQ(b.At(30, 15), RGB(0, 0, 255));
    EXPECT_EQ(b.At(30, 41), RGB(255, 255, 255));
}

TEST(UiWin32Canvas, PictureCacheIsFreedAndMadeAgain) {
    using namespace klt::ui::win32;
    const HBITMAP first = PictureBitmap(klt::res::kPictureCancel);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(PictureBitmap(klt::res::kPictureCancel), first);
    FreePictureCache();
    EXPECT_EQ(PictureCacheSize(), 0u);
    EXPECT_EQ(GetObjectType(first), 0u);
    const HBITMAP again = PictureBitmap(klt::res::kPictureCancel);
    EXPECT_EQ(GetObjectType(again), static_cast<DWORD>(OBJ_BITMAP));
}

TEST(UiWin32Canvas, PicturesFromFilesAreDrawnWholeOrInPart) {
    // Four 2 x 2 quarters, top row first: red, green over blue, yellow.
    klt::ui::Bitmap q;
    q.width = q.height = 4;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            q.pixels.push_back(y < 2 ? (x < 2 ? 0xFF0000u : 0x00FF00u) : (x < 2 ? 0x0000FFu : 0xFFFF00u));
    Bitmap b(40, 12);
    klt::ui::win32::GdiCanvas canvas(b.dc());
    canvas.FillRect({0, 0, 40, 12}, RGB(128, 128, 128));
    canvas.DrawBitmap(q, {0, 0, 4, 4}, {0, 0, 8, 8});    // whole, doubled
    canvas.DrawBitmap(q, {2, 2, 4, 4}, {10, 0, 16, 6});  // a lower part, stretched
    canvas.DrawBitmap(q, {0, 0, 2, 2}, {18, 0, 20, 2});  // an upper part as it is
    canvas.DrawBitmap(q, {0, 2, 2, 4}, {22, 0, 24, 2});  // a lower part as it is
    canvas.DrawBitmap(q, {2, 0, 6, 2}, {28, 0, 36, 4});  // half of it outside the picture
    EXPECT_EQ(b.At(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(b.At(6, 1), RGB(0, 255, 0));
    EXPECT_EQ(b.At(1, 6), RGB(0, 0, 255));
    EXPECT_EQ(b.At(6, 6), RGB(255, 255, 0));
    EXPECT_EQ(b.At(12, 2), RGB(255, 255, 0));
    EXPECT_EQ(b.At(15, 5), RGB(255, 255, 0));
    EXPECT_EQ(b.At(19, 1), RGB(255, 0, 0));
    EXPECT_EQ(b.At(23, 1), RGB(0, 0, 255));
    EXPECT_EQ(b.At(31, 3), RGB(0, 255, 0));
    EXPECT_EQ(b.At(33, 1), RGB(128, 128, 128));  // nothing for the part outside
}

// ---- dialogs linked into this program ----

TEST(UiWin32Dialog, KeypadIsBuiltFromTheTemplateAndAnswersClicks) {
    klt::frontdesk::NumberPad pad("0", "Keypad test", 0);
    Win32User user({Check([](HWND d) {
                        wchar_t title[64] = {};
                        GetWindowTextW(d, title, 64);
                        EXPECT_EQ(std::wstring(title), L"Keypad test");
                        // Positions are the template's dialog units on the dialog's font, mapped
                        // as the dialog manager maps them: the origin and the size each on its own,
                        // so the right edge is not MapDialogRect of the template's right edge (the
                        // two round differently on some fonts). One 4 x 8 cell gives the running
                        // dialog's own base units, so both sides hold on whatever font it has.
                        RECT units{0, 0, 4, 8};
                        MapDialogRect(d, &units);
                        const int bx = units.right, by = units.bottom;
                        const int left = MulDiv(122, bx, 4), top = MulDiv(96, by, 8);
                        const RECT expected{left, top, left + MulDiv(38, bx, 4), top + MulDiv(69, by, 8)};
                        RECT actual;
                        GetWindowRect(GetDlgItem(d, klt::res::kPadConfirm), &actual);
                        MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&actual), 2);
                        EXPECT_EQ(actual.left, expected.left);
                        EXPECT_EQ(actual.top, expected.top);
                        EXPECT_EQ(actual.right, expected.right);
                        EXPECT_EQ(actual.bottom, expected.bottom);
                        // Every key carries its picture.
                        for (int id = 243; id <= 256; ++id)
                            EXPECT_NE(SendDlgItemMessageW(d, id, BM_GETIMAGE, IMAGE_BITMAP, 0), 0) << id;
                        EXPECT_EQ(ItemText(d, kPadDisplay), "0");
                    }),
                    Click(klt::res::kPadKey1), Click(klt::res::kPadKeyPoint), Click(klt::res::kPadKey2),
                    Click(klt::res::kPadKey5), Check([](HWND d) {
                        EXPECT_EQ(ItemText(d, kPadDisplay), "125");
                        // Red digits on the label, drawn by the colour label through GDI.
                        EXPECT_GT(PixelsOf(GetDlgItem(d, kPadDisplay), RGB(255, 0, 0)), 30);
                    }),
                    Click(klt::res::kPadConfirm)});
    EXPECT_EQ(pad.Run(), IDOK);
    EXPECT_TRUE(user.finished());
    EXPECT_FALSE(user.timedOut());
    EXPECT_EQ(pad.result(), "125");
}

TEST(UiWin32Dialog, EscapeCancelsTheKeypad) {
    klt::frontdesk::NumberPad pad("5", "", 2);
    Win32User user({[](HWND d) {
        HWND focus = GetFocus();
        PostMessageW(focus ? focus : d, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(focus ? focus : d, WM_KEYUP, VK_ESCAPE, 0);
        return true;
    }});
    EXPECT_EQ(pad.Run(), IDCANCEL);
    EXPECT_FALSE(user.timedOut());
    EXPECT_EQ(pad.result(), "-1");
}

TEST(UiWin32Dialog, EnterConfirmsEvenAfterAKeyWasClicked) {
    klt::frontdesk::NumberPad pad("5", "", 2);
    Win32User user({Click(klt::res::kPadKey8), [](HWND d) {
                        // The clicked key has the focus; Enter must not press it again.
                        HWND focus = GetFocus();
                        EXPECT_EQ(focus, GetDlgItem(d, klt::res::kPadKey8));
                        PostMessageW(focus ? focus : d, WM_KEYDOWN, VK_RETURN, 0);
                        PostMessageW(focus ? focus : d, WM_KEYUP, VK_RETURN, 0);
                        return true;
                    }});
    EXPECT_EQ(pad.Run(), IDOK);
    EXPECT_FALSE(user.timedOut());
    EXPECT_EQ(pad.result(), "8.00");
}

TEST(UiWin32Dialog, CourseChoiceAnswersTheButtonClicked) {
    klt::frontdesk::CourseChoice choice;
    Win32User user({Check([](HWND d) {
                        wchar_t title[64] = {};
                        GetWindowTextW(d, title, 64);
                        EXPECT_EQ(klt::ui::win32::Narrow(title),
                                  std::string("НАЗНАЧЬТЕ КУРС ПРИГОТОВЛЕНИЯ"_cp));
                    }),
                    Click(klt::res::kCourse3)});
    EXPECT_EQ(choice.Run(), IDOK);
    EXPECT_FALSE(user.timedOut());
    EXPECT_EQ(choice.course(), 3);
}

// The pocket picture menu as a real dialog: 236 x 266 pixels, nineteen buttons and no window for
// the other component's control, a button that does nothing, and button 1 closing it.
TEST(UiWin32Dialog, PocketPictureMenuOpensWithItsEmbeddedPlaceEmpty) {
    Win32User user({Check([](HWND d) {
                        RECT r;
                        GetWindowRect(d, &r);
                        EXPECT_EQ(r.right - r.left, 236);
                        EXPECT_EQ(r.bottom - r.top, 266);
                        for (int id : klt::res::kPocketMenuButtons)
                            EXPECT_NE(GetDlgItem(d, id), nullptr) << id;
                        EXPECT_EQ(GetDlgItem(d, klt::res::kPocketMenuEmbedded), nullptr);
                    }),
                    Click(243), Check([](HWND d) { EXPECT_TRUE(IsWindowVisible(d)); }),
                    Click(klt::res::kPocketMenuClose)});
    EXPECT_EQ(klt::hostwin::RunPocketPictureMenu(), IDOK);
    EXPECT_TRUE(user.finished());
    EXPECT_FALSE(user.timedOut());
}

// The window as it paints itself, frame and all, written as a 24-bit bottom-up bitmap file: the
// picture of a window that the X server's screenshot cannot show (one opened over another under
// wine's X driver stays black there, though it paints).
void SaveWindowPicture(HWND window, const std::wstring& path) {
    RECT rc;
    GetWindowRect(window, &rc);
    const int width = rc.right - rc.left, height = rc.bottom - rc.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    HDC windowDc = GetWindowDC(window);
    HDC memory = CreateCompatibleDC(windowDc);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD size = static_cast<DWORD>((width * 3 + 3) / 4 * 4 * height);
    BITMAPFILEHEADER file{0x4D42,
                          static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0,
                          0, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))};
    HANDLE f =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(f, &file, sizeof file, &written, nullptr);
    WriteFile(f, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr);
    WriteFile(f, bits, size, &written, nullptr);
    CloseHandle(f);
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(window, windowDc);
}

// The full hall view on a real screen: built from its template without a caption over the main
// window's place, its summary opened over it and painted, its table painted through GDI, and a
// touch on the table answered.
TEST(UiWin32Dialog, HallViewPaintsItsTablesAndAnswersATouch) {
    const std::filesystem::path base = std::filesystem::temp_directory_path() / "klt-hall-view-test";
    std::filesystem::create_directories(base);
    const std::string savedIb = klt::core::State().ibDirectory;
    klt::core::State().ibDirectory = klt::core::DoubleBackslashes(base.string() + "\\");
    klt::halls::Plan plan;
    klt::halls::TableItem table;
    table.record =
        klt::halls::NewTableRecord(7, RGB(0, 160, 0), klt::halls::Shape::Rectangle, {100, 100, 300, 200});
    plan.tables.push_back(table);
    ASSERT_TRUE(klt::halls::SavePlan(klt::core::State().ibDirectory, klt::halls::PlanKind::Bar, 2, plan));

    klt::halls::HallViewParams params;
    params.kind = klt::halls::PlanKind::Bar;
    params.number = 2;
    params.rights = "00001" + std::string(59, '0') + "1";  // right 5: the summary; 65: the bar's tables
    params.permission = [](const std::string&) { return true; };
    klt::halls::HallView view(params, false);
    // The summary, opened over the view from its button, is painted, then closed.
    const Win32User::Step summary = [](HWND d) {
        if (!GetDlgItem(d, klt::res::kSummaryCount)) return false;
        UpdateWindow(d);
        HDC dc = GetDC(d);
        EXPECT_EQ(GetPixel(dc, 2, 2), GetSysColor(COLOR_BTNFACE));
        ReleaseDC(d, dc);
        const std::wstring pictures = Environment(L"KLT_UI_PICTURE_DIR");
        if (!pictures.empty()) SaveWindowPicture(d, pictures + L"\\summary.bmp");
        PostMessageW(GetDlgItem(d, klt::res::kSummaryCancel), BM_CLICK, 0, 0);
        return true;
    };
    const Win32User::Step backInTheView = [](HWND d) {
        return GetDlgItem(d, klt::res::kHallClock) != nullptr;
    };
    Win32User user({Click(klt::res::kHallSummary), summary, backInTheView, Check([&](HWND d) {
                        EXPECT_EQ(GetWindowLongW(d, GWL_STYLE) & WS_CAPTION, 0);
                        const klt::ui::Rect main = klt::ui::CurrentWindowing().ScreenRectOf(0);
                        const int caption = GetSystemMetrics(SM_CYCAPTION);
                        RECT rc;
                        GetWindowRect(d, &rc);
                        EXPECT_EQ(rc.left, main.left + (main.Width() - 800) / 2 + 3);
                        EXPECT_EQ(rc.bottom - rc.top, 600 - caption - 8);
                        UpdateWindow(d);
                        const klt::ui::Point centre = *view.PlanToClient({200, 150});
                        HDC dc = GetDC(d);
                        EXPECT_EQ(GetPixel(dc, centre.x, centre.y), RGB(0, 160, 0));
                        ReleaseDC(d, dc);
                        PostMessageW(d, WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
                    })});
    EXPECT_EQ(view.Run(), IDOK);
    EXPECT_FALSE(user.timedOut());
    EXPECT_EQ(view.result(), std::string("Выбор стола_2_7_0_Чек_ИзБара"_cp));
    klt::core::State().ibDirectory = savedIb;
    std::error_code ec;
    std::filesystem::remove_all(base, ec);
}

// A window that only hands its view to the test's steps.
class ViewHolder final : public klt::ui::DialogController {
  public:
    void OnOpen(klt::ui::DialogView& opened) override { view = &opened; }
    klt::ui::DialogView* view = nullptr;
};

constexpr int kProbeButton = 301;
constexpr klt::ui::ControlTemplate kProbeControls[] = {
    {kProbeButton, klt::ui::ControlKind::Button, "A", 4, 4, 40, 14, 0, 0, 0},
};
constexpr klt::ui::DialogTemplate kProbeTemplate{
    9001, "Geometry", 120, 80, klt::res::kTouchDialogStyle, 8, "MS Sans Serif", kProbeControls};

TEST(UiWin32Dialog, PlacedWindowsAndMovedControlsAreWhereTheySay) {
    using klt::ui::Rect;
    klt::ui::Windowing& windowing = klt::ui::CurrentWindowing();
    ViewHolder holder;
    HWND seen = nullptr;
    Win32User user({Check([&](HWND d) {
        seen = d;
        klt::ui::DialogView& view = *holder.view;
        const Rect placed{50, 40, 450, 340};
        view.PlaceWindow(placed);
        EXPECT_EQ(view.WindowRect(), placed);
        EXPECT_EQ(windowing.ScreenRectOf(reinterpret_cast<klt::platform::WindowHandle>(d)), placed);
        // The client area is the window less the frame the system gives this style, caption and all.
        RECT frame{0, 0, 0, 0};
        AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(d, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongW(d, GWL_EXSTYLE)));
        EXPECT_EQ(view.ClientRect(),
                  (Rect{0, 0, 400 - (frame.right - frame.left), 300 - (frame.bottom - frame.top)}));
        POINT corner{0, 0};
        ClientToScreen(d, &corner);
        EXPECT_EQ(corner.x, 50 - frame.left);
        EXPECT_EQ(corner.y, 40 - frame.top);
        EXPECT_GE(-frame.top, windowing.CaptionHeight());
        EXPECT_GT(windowing.CaptionHeight(), 0);
        view.MoveControl(kProbeButton, {10, 20, 110, 60});
        EXPECT_EQ(view.ControlRect(kProbeButton), (Rect{10, 20, 110, 60}));
        PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
    })});
    EXPECT_EQ(windowing.RunModal(kProbeTemplate, holder), IDCANCEL);
    EXPECT_TRUE(user.finished());
    // No window, or one that is gone: the screen's work area.
    const Rect area = windowing.ScreenRectOf(0);
    EXPECT_FALSE(area.Empty());
    EXPECT_GE(area.left, 0);
    EXPECT_LE(area.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_LE(area.bottom, GetSystemMetrics(SM_CYSCREEN));
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(windowing.ScreenRectOf(reinterpret_cast<klt::platform::WindowHandle>(seen)), area);
}

// A window with tabs over most of it and a button on the tabs' page: it hears what its tab control
// tells it, and paints all of its own area green.
constexpr int kTabs = 304, kOnPage = 305;
constexpr klt::ui::ControlTemplate kTabbedControls[] = {
    {kTabs, klt::ui::ControlKind::Tab, "", 4, 4, 192, 112, 0, 0, 0},
    {kOnPage, klt::ui::ControlKind::Button, "B", 12, 80, 30, 14, 0, 0, 0},
};
constexpr klt::ui::DialogTemplate kTabbedTemplate{
    9002, "Tabs", 200, 120, klt::res::kTouchDialogStyle, 8, "MS Sans Serif", kTabbedControls};
constexpr COLORREF kPageGreen = RGB(0, 160, 0);

class TabbedWindow final : public klt::ui::DialogController {
  public:
    void OnOpen(klt::ui::DialogView& opened) override {
        view = &opened;
        opened.SetTabs(kTabs, {std::string("Зал 1"_cp), std::string("Бар 2"_cp), std::string("Зал 3"_cp)});
    }
    void OnCommand(klt::ui::DialogView& v, int id) override {
        commands.push_back(id);
        if (id == klt::ui::kIdCancel) v.Close(id);
    }
    void OnNotify(klt::ui::DialogView&, int id, unsigned code) override { notices.emplace_back(id, code); }
    void OnClick(klt::ui::DialogView&, klt::ui::Point p) override { clicks.push_back(p); }
    void OnPaint(klt::ui::DialogView& v, klt::ui::Canvas& canvas) override {
        canvas.FillRect(v.ClientRect(), kPageGreen);
    }
    klt::ui::DialogView* view = nullptr;
    std::vector<std::pair<int, unsigned>> notices;
    std::vector<int> commands;
    std::vector<klt::ui::Point> clicks;
};

// A click of the mouse as the user makes it: the system finds the window under the pointer.
void RealClick(HWND window, POINT client) {
    ClientToScreen(window, &client);
    SetCursorPos(client.x, client.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}

POINT Centre(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST(UiWin32Dialog, TabsTellTheUsersChoiceAndLeaveTheirPageToTheDialog) {
    TabbedWindow window;
    POINT page{};  // the middle of the tabs' page, in the dialog's client pixels
    Win32User user(
        {Check([&](HWND d) {
             klt::ui::DialogView& view = *window.view;
             HWND tabs = GetDlgItem(d, kTabs);
             ASSERT_NE(tabs, nullptr);
             EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 3);
             wchar_t text[32] = {};
             TCITEMW item{};
             item.mask = TCIF_TEXT;
             item.pszText = text;
             item.cchTextMax = 32;
             SendMessageW(tabs, TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
             EXPECT_EQ(klt::ui::win32::Narrow(text), std::string("Бар 2"_cp));
             EXPECT_EQ(view.SelectedTab(kTabs), 0);
             // Selected by the program: nobody is told; a tab that is not there changes nothing.
             view.SelectTab(kTabs, 2);
             view.SelectTab(kTabs, 3);
             view.SelectTab(kTabs, -1);
             EXPECT_EQ(view.SelectedTab(kTabs), 2);
             EXPECT_TRUE(window.notices.empty());

             RECT shown;
             GetClientRect(tabs, &shown);
             SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&shown));
             MapWindowPoints(tabs, d, reinterpret_cast<POINT*>(&shown), 2);
             page = Centre(shown);
             RECT second;
             SendMessageW(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
             MapWindowPoints(tabs, d, reinterpret_cast<POINT*>(&second), 2);
             RECT button;
             GetWindowRect(GetDlgItem(d, kOnPage), &button);
             MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&button), 2);
             // The dialog's painting shows on the page, the tabs over it above the page.
             RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
             HDC dc = GetDC(d);
             EXPECT_EQ(GetPixel(dc, page.x, page.y), kPageGreen);
             EXPECT_EQ(GetPixel(dc, shown.left + 1, shown.bottom - 2), kPageGreen);
             EXPECT_NE(GetPixel(dc, second.left + 3, (second.top + second.bottom) / 2), kPageGreen);
             ReleaseDC(d, dc);
             // The user: the second tab, the button and the page, each clicked where it shows.
             RealClick(d, Centre(second));
             RealClick(d, Centre(button));
             RealClick(d, page);
         }),
         [&](HWND d) {
             if (window.clicks.empty()) return false;  // the clicks are still on their way
             EXPECT_EQ(window.notices,
                       (std::vector<std::pair<int, unsigned>>{{kTabs, klt::ui::kTabSelectionChanged}}));
             EXPECT_EQ(window.view->SelectedTab(kTabs), 1);
             EXPECT_EQ(window.commands, std::vector<int>{kOnPage});
             EXPECT_EQ(window.clicks, (std::vector<klt::ui::Point>{{page.x, page.y}}));
             PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
             return true;
         }});
    EXPECT_EQ(klt::ui::CurrentWindowing().RunModal(kTabbedTemplate, window), IDCANCEL);
    EXPECT_TRUE(user.finished());
    EXPECT_FALSE(user.timedOut());
}

// A real double click at a point of a control's client area.
void RealDoubleClick(HWND control, POINT client) {
    ClientToScreen(control, &client);
    SetCursorPos(client.x, client.y);
    INPUT input[4] = {};
    for (int i = 0; i < 4; ++i) {
        input[i].type = INPUT_MOUSE;
        input[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
    }
    SendInput(4, input, sizeof(INPUT));
}

void DoubleClickTreeItem(HWND tree, HTREEITEM item) {
    RECT r{};
    *reinterpret_cast<HTREEITEM*>(&r) = item;  // TVM_GETITEMRECT takes the item in the rectangle
    SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
    RealDoubleClick(tree, Centre(r));
}

// One computer in one workgroup.
class OneComputer final : public klt::platform::NetworkNeighbourhood {
  public:
    std::vector<klt::platform::NetworkEntry> Children(const klt::platform::NetworkEntry* parent,
                                                      std::size_t) override {
        const std::string name = !parent                                  ? "Microsoft Windows Network"
                                 : parent->remoteName == "WORKGROUP"      ? "\\\\KASSA1"
                                 : parent->remoteName.starts_with("\\\\") ? ""
                                                                          : "WORKGROUP";
        if (name.empty()) return {};
        klt::platform::NetworkEntry e;
        e.remoteName = name;
        return {e};
    }
};

TEST(UiWin32Dialog, ListAndTreeViewsAnswerARealDoubleClick) {
    OneComputer network;
    klt::platform::NetworkNeighbourhood* previous = klt::platform::ReplaceNeighbourhood(&network);
    HTREEITEM computer = nullptr;
    Win32User treeUser(
        {Check([&](HWND d) {
             HWND tree = GetDlgItem(d, klt::res::kComputerTree);
             ASSERT_NE(tree, nullptr);
             const auto images =
                 reinterpret_cast<HIMAGELIST>(SendMessageW(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
             EXPECT_EQ(ImageList_GetImageCount(images), 3);
             const auto child = [&](HTREEITEM of) {
                 SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(of));
                 return reinterpret_cast<HTREEITEM>(
                     SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(of)));
             };
             const auto root = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
             const HTREEITEM domain = child(child(root));
             computer = child(domain);
             ASSERT_NE(computer, nullptr);
             DoubleClickTreeItem(tree, domain);  // leaves the window open
         }),
         [&](HWND d) {
             // The double click folded the domain: open it again to reach its computer.
             HWND tree = GetDlgItem(d, klt::res::kComputerTree);
             SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(computer));
             DoubleClickTreeItem(tree, computer);
             return true;
         }});
    EXPECT_EQ(klt::hostwin::ComputerChoiceDialog().Run(), "KASSA1");
    EXPECT_TRUE(treeUser.finished());
    klt::platform::ReplaceNeighbourhood(previous);

    const std::filesystem::path ib = std::filesystem::temp_directory_path() / "klt_users_test";
    std::filesystem::create_directories(ib / "usrdef");
    FILE* f = _wfopen((ib / "usrdef" / "users.usr").c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    std::fputs("{\"Users\",{\"Page.1\",\"Petrov\",\"\"},{\"Page.2\",\"Ivanov\",\"\"}}", f);
    std::fclose(f);
    const std::string saved = klt::core::State().ibDirectory;
    klt::core::State().ibDirectory = klt::ui::win32::Narrow(ib.wstring());
    Win32User listUser({[&](HWND d) {
        HWND list = GetDlgItem(d, klt::res::kUserList);
        EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 2);
        RECT r{};
        r.left = LVIR_LABEL;
        SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));  // sorted: Petrov second
        RealDoubleClick(list, Centre(r));
        return true;
    }});
    EXPECT_EQ(klt::hostwin::UserChoiceDialog().Run(), "Petrov");
    klt::core::State().ibDirectory = saved;
    std::filesystem::remove_all(ib);
}

// ---- the keypad of klt_drv.dll, through the host's call ----

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

std::wstring DllPath() {
    wchar_t buffer[MAX_PATH * 2];
    const DWORD n = GetEnvironmentVariableW(L"KLT_DRV_DLL", buffer, MAX_PATH * 2);
    if (n > 0 && n < MAX_PATH * 2) return buffer;
    const DWORD len = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 2);
    std::wstring path(buffer, len);
    path.resize(path.find_last_of(L"\\/") + 1);
    return path + L"..\\src\\com\\klt_drv.dll";
}

std::wstring ShotDirectory() {
    wchar_t buffer[MAX_PATH * 2];
    const DWORD n = GetEnvironmentVariableW(L"KLT_UI_SHOT_DIR", buffer, MAX_PATH * 2);
    return n > 0 && n < MAX_PATH * 2 ? std::wstring(buffer) : std::wstring();
}

TEST(UiWin32Keypad, NumberRequestInTheDllAnswersRealClicks) {
    static const HMODULE dll = LoadLibraryW(DllPath().c_str());
    ASSERT_NE(dll, nullptr) << "cannot load klt_drv.dll; set KLT_DRV_DLL";
    const auto getClassObject =
        reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
    ASSERT_NE(getClassObject, nullptr);
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    IClassFactory* factory = nullptr;
    ASSERT_EQ(getClassObject(klt::com::kClsidAddIn, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              S_OK);
    klt::com::IInitDone* addIn = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, klt::com::kIidInitDone, reinterpret_cast<void**>(&addIn)),
              S_OK);
    factory->Release();

    klt::emu::HostSettings settings;
    settings.ibDirectory = "C:\\Base\\";
    settings.rightsSetName = std::string("Администратор"_cp);
    klt::emu::EmulatedHost host(settings);
    klt::test::TestConnection connection(&host, true);  // as klthost.exe gives it, bridge and all
    ASSERT_EQ(addIn->Init(&connection), S_OK);

    const std::wstring shots = ShotDirectory();
    std::vector<Win32User::Step> steps = {
        Click(klt::res::kPadKey4), Click(klt::res::kPadKey2), Click(klt::res::kPadKeyPoint),
        Click(klt::res::kPadKey5), Check([](HWND d) { EXPECT_EQ(ItemText(d, kPadDisplay), "42.50"); })};
    if (!shots.empty()) {
        // Tell the script where the window is, then wait until it has its picture.
        steps.push_back([shots, told = false](HWND d) mutable {
            if (!told) {
                RedrawWindow(d, nullptr, nullptr,
                             RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
                RECT rc;
                GetWindowRect(d, &rc);
                const std::string where = std::to_string(rc.left) + " " + std::to_string(rc.top) + " " +
                                          std::to_string(rc.right) + " " + std::to_string(rc.bottom) + "\n";
                HANDLE f = CreateFileW((shots + L"\\ready").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
                DWORD written = 0;
                if (f != INVALID_HANDLE_VALUE) {
                    WriteFile(f, where.data(), static_cast<DWORD>(where.size()), &written, nullptr);
                    CloseHandle(f);
                }
                told = true;
            }
            return GetFileAttributesW((shots + L"\\taken").c_str()) != INVALID_FILE_ATTRIBUTES;
        });
    }
    steps.push_back(Click(klt::res::kPadConfirm));
    {
        Win32User user(steps, shots.empty() ? 30000 : 120000);
        klt::host::Value object = host.CreateObject("Vkusnica");
        ASSERT_NE(object.GetContext(), nullptr);
        klt::host::Value result;
        EXPECT_TRUE(host.CallMethod(*object.GetContext(), std::string("ЗапросЧисла"_cp),
                                    {klt::host::Value(std::string("0")),
                                     klt::host::Value(std::string("Сумма"_cp)), klt::host::Value(2)},
                                    &result));
        EXPECT_FALSE(user.timedOut());
        EXPECT_TRUE(user.finished());
        EXPECT_EQ(result.kind(), klt::host::ValueKind::String);
        EXPECT_EQ(result.GetString(), "42.50");
    }
    EXPECT_EQ(addIn->Done(), S_OK);
    addIn->Release();
    CoUninitialize();
}

// The user of a keypad that another program opened (klthost.exe running a module that calls
// "ЗапросЧисла"): found by its caption, clicked with real button clicks across the process
// boundary, held for a screenshot when KLT_UI_SHOT_DIR is set, then confirmed. Only when
// tests/wine/ui_windows.sh sets KLT_UI_CLICK_CAPTION.
std::string RemoteText(HWND w) {
    wchar_t buffer[256] = {};
    DWORD_PTR got = 0;
    SendMessageTimeoutW(w, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, &got);
    return klt::ui::win32::Narrow(buffer);
}

// With KLT_UI_SHOT_DIR set: repaints the window, tells the script where it is ("ready" holds its
// screen rectangle) and waits until the script has taken its picture ("taken").
void HoldForScreenshot(HWND window) {
    const std::wstring shots = Environment(L"KLT_UI_SHOT_DIR");
    if (shots.empty()) return;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
    Sleep(300);
    RECT rc;
    GetWindowRect(window, &rc);
    const std::string where = std::to_string(rc.left) + " " + std::to_string(rc.top) + " " +
                              std::to_string(rc.right) + " " + std::to_string(rc.bottom) + "\n";
    HANDLE f = CreateFileW((shots + L"\\ready").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(f, where.data(), static_cast<DWORD>(where.size()), &written, nullptr);
    CloseHandle(f);
    EXPECT_TRUE(WaitFor(
        [&] { return GetFileAttributesW((shots + L"\\taken").c_str()) != INVALID_FILE_ATTRIBUTES; }, 120000));
}

TEST(UiWin32Keypad, ClicksTheKeypadOfAnotherProgram) {
    const std::wstring caption = Environment(L"KLT_UI_CLICK_CAPTION");
    if (caption.empty()) GTEST_SKIP() << "only with KLT_UI_CLICK_CAPTION (tests/wine/ui_windows.sh)";
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            dialog = FindWindowW(L"#32770", caption.c_str());
            return dialog != nullptr && IsWindowVisible(dialog);
        },
        90000))
        << "no keypad came up";
    HWND display = GetDlgItem(dialog, kPadDisplay);
    ASSERT_NE(display, nullptr);
    EXPECT_TRUE(WaitFor([&] { return RemoteText(display) == "0.00"; }, 5000)) << RemoteText(display);
    for (int id : {klt::res::kPadKey7, klt::res::kPadKey5, klt::res::kPadKeyPoint, klt::res::kPadKey2}) {
        PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
        Sleep(100);
    }
    EXPECT_TRUE(WaitFor([&] { return RemoteText(display) == "75.20"; }, 5000)) << RemoteText(display);

    HoldForScreenshot(dialog);
    PostMessageW(GetDlgItem(dialog, klt::res::kPadConfirm), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, 10000)) << "the keypad stayed open";
}

// A visible dialog of another program holding the control with the id given.
struct WindowWanted {
    int control;
    HWND found;
};
BOOL CALLBACK FindWindowWith(HWND w, LPARAM wanted) {
    auto* want = reinterpret_cast<WindowWanted*>(wanted);
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    if (std::wstring(cls) != L"#32770" || !IsWindowVisible(w) || !GetDlgItem(w, want->control)) return TRUE;
    want->found = w;
    return FALSE;
}

// Where the point (x, y) of the plan lies in a plan window: the monitor maps the plan into its
// plan area, the hall view scales it to its client area.
LPARAM PlanPoint(HWND window, int x, int y) {
    RECT area;
    float width = 797.0f, height = 577.0f;
    if (HWND plan = GetDlgItem(window, klt::res::kMonitorPlanArea)) {
        GetWindowRect(plan, &area);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&area), 2);
        width = 795.0f;
        height = 485.0f;
    } else {
        GetClientRect(window, &area);
    }
    const float sx = static_cast<float>(area.right - area.left) / width;
    const float sy = static_cast<float>(area.bottom - area.top) / height;
    return MAKELPARAM(static_cast<int>(static_cast<float>(x) * sx) + area.left,
                      static_cast<int>(static_cast<float>(y) * sy) + area.top);
}

// A window of another program (klthost.exe running a module), worked through KLT_UI_STEPS, steps
// separated by blanks: "find:ID" waits for its visible dialog holding control ID, "text:ID" until
// that control shows a text, "shot" holds the window for the screenshot, "press:ID" clicks a
// button of it, "touch:X,Y" touches its plan at the plan point (X, Y), "gone" waits until it has
// closed; "main" waits for the host's main frame with a form shown in it, "formpress:ID" clicks the
// button ID of that form, "formtext:ID=TEXT" waits until its control ID shows a text beginning with
// TEXT (which holds no blanks),
// "close" closes that form as its close box would. Only with KLT_UI_STEPS (tests/wine/ui_windows.sh).
TEST(UiWin32Steps, WorksAWindowOfAnotherProgram) {
    const std::string steps = klt::ui::win32::Narrow(Environment(L"KLT_UI_STEPS"));
    if (steps.empty()) GTEST_SKIP() << "only with KLT_UI_STEPS (tests/wine/ui_windows.sh)";
    std::istringstream in(steps);
    std::string step;
    HWND current = nullptr;
    while (in >> step) {
        const std::size_t colon = step.find(':');
        const std::string verb = step.substr(0, colon);
        const int id = colon == std::string::npos ? 0 : std::atoi(step.c_str() + colon + 1);
        if (verb == "find") {
            WindowWanted want{id, nullptr};
            ASSERT_TRUE(WaitFor(
                [&] {
                    want.found = nullptr;
                    EnumWindows(&FindWindowWith, reinterpret_cast<LPARAM>(&want));
                    return want.found != nullptr;
                },
                90000))
                << step;
            current = want.found;
        } else if (verb == "text") {
            ASSERT_TRUE(WaitFor([&] { return !RemoteText(GetDlgItem(current, id)).empty(); }, 10000)) << step;
        } else if (verb == "shot") {
            HoldForScreenshot(current);
        } else if (verb == "press") {
            PostMessageW(GetDlgItem(current, id), BM_CLICK, 0, 0);
        } else if (verb == "touch") {
            int x = 0, y = 0;
            ASSERT_EQ(std::sscanf(step.c_str(), "touch:%d,%d", &x, &y), 2) << step;
            const LPARAM at = PlanPoint(current, x, y);
            PostMessageW(current, WM_LBUTTONDOWN, MK_LBUTTON, at);
            PostMessageW(current, WM_LBUTTONUP, 0, at);
        } else if (verb == "gone") {
            ASSERT_TRUE(WaitFor([&] { return !IsWindow(current); }, 10000)) << step;
        } else if (verb == "main") {
            ASSERT_TRUE(WaitFor(
                [&] {
                    current = FindWindowW(L"AfxMDIFrame42", nullptr);
                    const HWND form =
                        GetWindow(FindWindowExW(current, nullptr, L"MDIClient", nullptr), GW_CHILD);
                    return form && IsWindowVisible(form);
                },
                90000))
                << step;
        } else if (verb == "formpress") {
            // A button of the form shown in the main frame, clicked as the user would.
            const HWND form = GetWindow(FindWindowExW(current, nullptr, L"MDIClient", nullptr), GW_CHILD);
            PostMessageW(GetDlgItem(form, id), BM_CLICK, 0, 0);
        } else if (verb == "formtext") {
            const HWND form = GetWindow(FindWindowExW(current, nullptr, L"MDIClient", nullptr), GW_CHILD);
            const std::string want = step.substr(step.find('=') + 1);
            ASSERT_TRUE(WaitFor([&] { return RemoteText(GetDlgItem(form, id)).starts_with(want); }, 10000))
                << step << ": " << RemoteText(GetDlgItem(form, id));
        } else if (verb == "close") {
            const HWND form = GetWindow(FindWindowExW(current, nullptr, L"MDIClient", nullptr), GW_CHILD);
            PostMessageW(form, WM_CLOSE, 0, 0);
        } else {
            FAIL() << "unknown step " << step;
        }
    }
}

// The table properties on a real screen: check boxes and radio buttons follow the table, the
// spin writes its field, and the preview repaints through GDI as the fields change. Held for the
// screenshot of tests/wine/ui_windows.sh when KLT_UI_SHOT_DIR is set.
TEST(UiWin32Editor, TablePropertiesPreviewFollowsTheFields) {
    namespace res = klt::res;
    klt::halls::Plan plan;
    klt::halls::TableItem table;
    table.record =
        klt::halls::NewTableRecord(7, RGB(0, 160, 0), klt::halls::Shape::Ellipse, {300, 200, 500, 320});
    table.record.name = "Стол у окна"_cp;
    table.record.outline = RGB(0, 0, 128);
    table.record.thickness = 4;
    table.record.nameHAlign = table.record.nameVAlign = 1;
    table.header = plan.header;
    plan.tables.push_back(table);
    const auto shown = [](HWND d, int id) { return IsWindowVisible(GetDlgItem(d, id)) != FALSE; };
    Win32User user({Check([&](HWND d) {
                        EXPECT_EQ(IsDlgButtonChecked(d, res::kPropShapeEllipse), BST_CHECKED);
                        EXPECT_EQ(IsDlgButtonChecked(d, res::kPropShowSum), BST_CHECKED);
                        EXPECT_FALSE(shown(d, res::kPropRounding));
                        EXPECT_EQ(ItemText(d, res::kPropNumber), "7");
                    }),
                    Click(res::kPropShapeRectangle), Click(res::kPropSumCentre), Click(res::kPropSumOffset),
                    Check([&](HWND d) {
                        EXPECT_EQ(IsDlgButtonChecked(d, res::kPropShapeEllipse), BST_UNCHECKED);
                        EXPECT_TRUE(shown(d, res::kPropRounding));
                        SetDlgItemTextW(d, res::kPropRounding, L"30");
                        SendMessageW(GetDlgItem(d, res::kPropSumYSpin), UDM_SETPOS32, 0, 20);
                        EXPECT_EQ(ItemText(d, res::kPropSumY), "20");
                        RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                        RECT client;
                        GetClientRect(d, &client);
                        const int x = (client.right - 200 - 300) / 2;
                        HDC dc = GetDC(d);
                        EXPECT_EQ(GetPixel(dc, x + 100, 100 + 30), RGB(0, 160, 0));
                        EXPECT_EQ(GetPixel(dc, x + 1, 100 + 60), RGB(0, 0, 128));  // the outline
                        ReleaseDC(d, dc);
                        HoldForScreenshot(d);
                    }),
                    Click(IDOK)},
                   Environment(L"KLT_UI_SHOT_DIR").empty() ? 30000 : 150000);
    EXPECT_TRUE(klt::halls::RunTableProperties(plan, 0, klt::halls::PlanKind::Hall));
    EXPECT_FALSE(user.timedOut());
    const klt::halls::TableRecord& r = plan.tables[0].record;
    EXPECT_EQ(r.shape, 1);
    EXPECT_EQ(r.rounding, 30);
    EXPECT_EQ(r.sumOffsetY, 20);
    EXPECT_EQ(r.sumOffsetInUse, 1);
    EXPECT_EQ(r.sumHAlign, 1);
    EXPECT_EQ(r.rect, (klt::halls::Rect{300, 200, 500, 320}));
}

// The hall editor on a real screen: three tables added, two dragged by the mouse's messages;
// the dialog keeps the mouse during the drag and paints the table where it was dropped.
TEST(UiWin32Editor, HallEditorDragsATableWithTheMouse) {
    namespace res = klt::res;
    klt::halls::HallEditor editor;
    klt::halls::Rect before;
    const auto mouse = [](HWND d, UINT msg, LONG x, LONG y) {
        SendMessageW(d, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
    };
    Win32User user({Click(res::kEdAddRectangle), Click(res::kEdAddRhombus), Click(res::kEdAddEllipse),
                    Check([&](HWND d) {
                        ASSERT_EQ(editor.plan().tables.size(), 3u);
                        before = editor.plan().tables[0].record.rect;
                        const LONG x = (before.left + before.right) / 2, y = (before.top + before.bottom) / 2;
                        mouse(d, WM_LBUTTONDOWN, x, y);
                        mouse(d, WM_MOUSEMOVE, x + 300, y + 200);
                        EXPECT_EQ(GetCapture(), d);
                        mouse(d, WM_LBUTTONUP, x + 300, y + 200);
                        EXPECT_EQ(GetCapture(), nullptr);
                        mouse(d, WM_LBUTTONDOWN, x, y);  // the rhombus, first in the list there, to the right
                        mouse(d, WM_MOUSEMOVE, x + 520, y + 60);
                        mouse(d, WM_LBUTTONUP, x + 520, y + 60);
                        mouse(d, WM_LBUTTONDOWN, 700, 50);  // off the tables: nothing selected
                        mouse(d, WM_LBUTTONUP, 700, 50);
                        RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                        HDC dc = GetDC(d);
                        EXPECT_EQ(GetPixel(dc, before.left + 310, before.top + 210), RGB(0, 255, 255));
                        ReleaseDC(d, dc);
                        HoldForScreenshot(d);
                    }),
                    Click(IDCANCEL)},
                   Environment(L"KLT_UI_SHOT_DIR").empty() ? 30000 : 150000);
    EXPECT_EQ(editor.Run(), IDCANCEL);
    EXPECT_FALSE(user.timedOut());
    ASSERT_EQ(editor.plan().tables.size(), 3u);
    EXPECT_EQ(
        editor.plan().tables[0].record.rect,
        (klt::halls::Rect{before.left + 300, before.top + 200, before.right + 300, before.bottom + 200}));
}

// The right button on a table opens the single-table menu: its items with their pictures; the keys
// choose "copy", and the editor copies the table.
TEST(UiWin32Editor, HallEditorMenuOffersItsItemsAndRunsTheChosenOne) {
    namespace res = klt::res;
    klt::halls::HallEditor editor;
    int items = 0;
    std::string first;
    bool pictures = true;
    Win32User user({Click(res::kEdAddRectangle), Check([&](HWND d) {
                        ASSERT_EQ(editor.plan().tables.size(), 1u);
                        const klt::halls::Rect r = editor.plan().tables[0].record.rect;
                        PostMessageW(d, WM_RBUTTONDOWN, MK_RBUTTON,
                                     MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
                    }),
                    [&](HWND) {
                        HWND shown = FindWindowW(L"#32768", nullptr);
                        if (!shown || !IsWindowVisible(shown)) return false;
                        HMENU menu = reinterpret_cast<HMENU>(SendMessageW(shown, MN_GETHMENU, 0, 0));
                        items = GetMenuItemCount(menu);
                        wchar_t text[64] = {};
                        GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
                        first = klt::ui::win32::Narrow(text);
                        for (int i = 0; i < items; ++i) {
                            MENUITEMINFOW info{};
                            info.cbSize = sizeof info;
                            info.fMask = MIIM_CHECKMARKS | MIIM_FTYPE;
                            GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
                            if (!(info.fType & MFT_SEPARATOR) && !info.hbmpUnchecked) pictures = false;
                        }
                        for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN})
                            PostMessageW(shown, WM_KEYDOWN, key, 0);
                        return true;
                    },
                    [&](HWND) { return editor.plan().tables.size() == 2; }, Click(IDCANCEL)});
    editor.Run();
    EXPECT_FALSE(user.timedOut());
    EXPECT_EQ(items, 8);
    EXPECT_EQ(first, " Свойство стола"_cp);
    EXPECT_TRUE(pictures);
    EXPECT_EQ(editor.plan().tables.size(), 2u) << "the second item copies the table";
}

// A swatch of the colour scheme opens the system's colour dialog; its red, green and blue fields
// (706 to 708) make the colour the scheme applies.
TEST(UiWin32Editor, ColourSchemeTakesTheColourDialogsAnswer) {
    namespace res = klt::res;
    const auto isScheme = [](HWND d) {
        wchar_t title[64] = {};
        GetWindowTextW(d, title, 64);
        return klt::ui::win32::Narrow(title) == std::string("Настройка цветовой гаммы"_cp);
    };
    klt::halls::HallHeader header;
    Win32User user({[&](HWND d) {
                        EXPECT_TRUE(isScheme(d));
                        PostMessageW(d, WM_COMMAND, MAKEWPARAM(res::kSchemeReservedFill, STN_CLICKED),
                                     reinterpret_cast<LPARAM>(GetDlgItem(d, res::kSchemeReservedFill)));
                        return true;
                    },
                    [&](HWND d) {
                        if (isScheme(d)) return false;
                        SetDlgItemInt(d, 706, 10, FALSE);
                        SetDlgItemInt(d, 707, 20, FALSE);
                        SetDlgItemInt(d, 708, 30, FALSE);
                        PostMessageW(d, WM_COMMAND, IDOK, 0);
                        return true;
                    },
                    [&](HWND d) {
                        if (!isScheme(d)) return false;
                        PostMessageW(d, WM_COMMAND, IDOK, 0);
                        return true;
                    }});
    EXPECT_TRUE(klt::halls::RunColourScheme(header));
    EXPECT_FALSE(user.timedOut());
    EXPECT_EQ(header.reservedFill, RGB(10, 20, 30));
    EXPECT_EQ(header.occupiedFill, klt::halls::HallHeader{}.occupiedFill);
}

// The system's file-open dialog answers the full path of the file the user named.
TEST(UiWin32Editor, OpenFileDialogAnswersTheFullPath) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "klt-open-file-test";
    std::filesystem::create_directories(folder);
    const std::filesystem::path picture = folder / "plan.bmp";
    {
        std::FILE* f = _wfopen(picture.wstring().c_str(), L"wb");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    const std::wstring typed = picture.wstring();
    Win32User user({[&](HWND d) {
        // The name field is a combo box in the newer dialogs and an edit in the older.
        SetDlgItemTextW(d, 0x47C, typed.c_str());
        SetDlgItemTextW(d, 0x480, typed.c_str());
        PostMessageW(d, WM_COMMAND, IDOK, 0);
        return true;
    }});
    const std::optional<std::string> chosen =
        klt::ui::CurrentWindowing().ChooseOpenFile("*.bmp", "File  (*.bmp)|*.bmp|");
    EXPECT_FALSE(user.timedOut());
    ASSERT_TRUE(chosen.has_value());
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::path(klt::ui::win32::Wide(*chosen)), picture));
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}

}  // namespace

#endif  // _WIN32
