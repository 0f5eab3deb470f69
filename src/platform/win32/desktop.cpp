#include <string>

#include "platform/win32/backend.h"
#include "platform/win32/win32_api.h"
#include "text/cp1251.h"

namespace klt::platform::win32 {
namespace {

std::wstring Wide(const std::string& cp1251) {
    const std::u16string u = text::Cp1251ToUtf16(cp1251);
    return std::wstring(u.begin(), u.end());
}

class Win32Desktop final : public Desktop {
  public:
    WindowHandle ActiveWindow() override { return reinterpret_cast<WindowHandle>(GetActiveWindow()); }
    bool IsWindow(WindowHandle window) override {
        return window != 0 && ::IsWindow(reinterpret_cast<HWND>(window)) != FALSE;
    }
    int MessageBox(const std::string& message, const std::string& caption, unsigned flags) override {
        // Owned by the active window so that it stays modal to the form the cashier is looking at.
        return MessageBoxW(GetActiveWindow(), Wide(message).c_str(), Wide(caption).c_str(), flags);
    }
};

}  // namespace

Desktop& DefaultDesktop() {
    static Win32Desktop desktop;
    return desktop;
}

}  // namespace klt::platform::win32
