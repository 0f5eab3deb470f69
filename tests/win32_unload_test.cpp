// The host unloads klt_drv.dll after Done: nothing of ours may stay installed. A copy of the DLL
// under a name of its own is loaded here, so that FreeLibrary really unloads it whatever other
// tests hold; then a key press must find no hook pointing into the unloaded code.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "com/interfaces.h"
#include "com/module.h"
#include "emulator/emulated_host.h"
#include "text/literal.h"
#include "win32_connection.h"
#include "win32_support.h"

namespace {

using namespace klt::text::literals;
using klt::test::Environment;

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using NoArgFn = HRESULT(STDAPICALLTYPE*)();

LRESULT CALLBACK TargetProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A visible window of this thread with the focus, so that keys come through this thread's queue.
HWND FocusedWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KltUnloadTarget";
    RegisterClassW(&wc);
    const HWND window = CreateWindowExW(0, wc.lpszClassName, L"unload", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20,
                                        20, 240, 120, nullptr, nullptr, wc.hInstance, nullptr);
    if (window) {
        SetForegroundWindow(window);
        SetFocus(window);
    }
    return window;
}

// Dispatches this thread's messages until `key` goes down in them or `ms` have passed; answers
// whether it came, that is whether no hook swallowed it.
bool KeyArrives(WORD key, DWORD ms) {
    klt::test::PressKey(key);
    const ULONGLONG end = GetTickCount64() + ms;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        MSG msg;
        bool seen = false;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_KEYDOWN && msg.wParam == key) seen = true;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (seen) return true;
    }
    return false;
}

TEST(Win32Unload, AfterDoneTheDllUnloadsAndAKeyPressFindsNothingOfIt) {
    const std::wstring source = Environment(L"KLT_DRV_DLL");
    ASSERT_FALSE(source.empty()) << "KLT_DRV_DLL must name klt_drv.dll";
    wchar_t temp[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring copy =
        std::wstring(temp) + L"klt_unload_" + std::to_wstring(GetCurrentProcessId()) + L".dll";
    ASSERT_TRUE(CopyFileW(source.c_str(), copy.c_str(), FALSE));
    const HWND window = FocusedWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));

    HMODULE dll = LoadLibraryW(copy.c_str());
    ASSERT_NE(dll, nullptr);
    const auto getClassObject =
        reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
    const auto canUnloadNow =
        reinterpret_cast<NoArgFn>(reinterpret_cast<void*>(GetProcAddress(dll, "DllCanUnloadNow")));
    ASSERT_NE(getClassObject, nullptr);
    ASSERT_NE(canUnloadNow, nullptr);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(getClassObject(klt::com::kClsidAddIn, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              S_OK);
    void* object = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, klt::com::kIidInitDone, &object), S_OK);
    factory->Release();
    auto* addIn = static_cast<klt::com::IInitDone*>(object);

    {
        klt::emu::HostSettings settings;
        settings.rightsSetName = std::string("РабочееМесто"_cp);  // the key lock and the workplace form hook
        klt::emu::EmulatedHost host(settings);
        klt::test::TestConnection connection(&host, true);
        ASSERT_EQ(addIn->Init(&connection), S_OK);
        ASSERT_EQ(host.RegisteredNames().size(), 6u);
        {
            klt::host::Value desk = host.CreateObject("Vkusnica");
            ASSERT_NE(desk.GetContext(), nullptr);
            EXPECT_TRUE(
                host.CallMethod(*desk.GetContext(), std::string("РазрешитьЧитатьКарту"_cp), {}, nullptr));
            EXPECT_TRUE(host.CallMethod(*desk.GetContext(), std::string("СпецКлавиатура"_cp),
                                        {klt::host::Value(std::string("#"))}, nullptr));
            klt::host::Value windows = host.CreateObject("Windows");
            ASSERT_NE(windows.GetContext(), nullptr);
            EXPECT_TRUE(
                host.CallMethod(*windows.GetContext(), std::string("ОжиданиеЗакрытияФормы"_cp), {}, nullptr));
        }
        EXPECT_FALSE(KeyArrives(VK_F8, 500)) << "the reader and the key lock keep keys from the window";
        EXPECT_EQ(canUnloadNow(), S_FALSE);
        EXPECT_EQ(addIn->Done(), S_OK);
    }
    EXPECT_TRUE(KeyArrives(VK_F9, 3000)) << "after Done no hook of ours swallows a key";
    EXPECT_EQ(addIn->Release(), 0u);
    EXPECT_EQ(canUnloadNow(), S_OK) << "nothing of ours is alive after Done";
    ASSERT_TRUE(FreeLibrary(dll));
    EXPECT_EQ(GetModuleHandleW(copy.c_str()), nullptr) << "the copy is unloaded";

    // A hook left behind would now call into unloaded code.
    EXPECT_TRUE(KeyArrives(VK_F11, 3000));

    DestroyWindow(window);
    CoUninitialize();
    DeleteFileW(copy.c_str());
}

}  // namespace

#endif  // _WIN32
