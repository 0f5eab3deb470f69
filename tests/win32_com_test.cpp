// klt_drv.dll as a COM server, loaded from the build tree the way the host loads it.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <windows.h>
#include <ocidl.h>

#include <atomic>
#include <string>
#include <vector>

#include "com/bridge.h"
#include "com/bstr.h"
#include "com/interfaces.h"
#include "com/module.h"
#include "core/addin.h"
#include "emulator/addin_connection.h"
#include "emulator/emulated_host.h"
#include "win32_connection.h"
#include "text/cp1251.h"

namespace {

using namespace klt::com;
using klt::test::TestConnection;

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using NoArgFn = HRESULT(STDAPICALLTYPE*)();

// KLT_DRV_DLL names the DLL; otherwise it is looked for where the build puts it beside the tests.
std::wstring DllPath() {
    wchar_t buffer[MAX_PATH * 2];
    const DWORD n = GetEnvironmentVariableW(L"KLT_DRV_DLL", buffer, MAX_PATH * 2);
    if (n > 0 && n < MAX_PATH * 2) return buffer;
    const DWORD len = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 2);
    std::wstring path(buffer, len);
    path.resize(path.find_last_of(L"\\/") + 1);
    return path + L"..\\src\\com\\klt_drv.dll";
}

// Loaded once and never unloaded: the DLL's own timers and hooks must not outlive its code.
HMODULE Dll() {
    static const HMODULE module = LoadLibraryW(DllPath().c_str());
    return module;
}

template <typename Fn>
Fn Export(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(Dll(), name)));
}

TEST(ComText, EveryCp1251ByteCrossesABstrAndComesBack) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    BSTR wide = Cp1251ToBstr(all);
    ASSERT_NE(wide, nullptr);
    ASSERT_EQ(SysStringLen(wide), all.size());
    const std::u16string expected = klt::text::Cp1251ToUtf16(all);
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(static_cast<char16_t>(wide[i]), expected[i]) << i;
    EXPECT_EQ(wide[0xC0 - 1], L'\u0410');  // А
    EXPECT_EQ(BstrToCp1251(wide), all);
    SysFreeString(wide);
    EXPECT_EQ(BstrToCp1251(nullptr), "");
    BSTR empty = Cp1251ToBstr("");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SysStringLen(empty), 0u);
    SysFreeString(empty);
}

class ComServer : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(Dll(), nullptr) << "cannot load klt_drv.dll; set KLT_DRV_DLL";
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        getClassObject_ = Export<GetClassObjectFn>("DllGetClassObject");
        canUnloadNow_ = Export<NoArgFn>("DllCanUnloadNow");
        ASSERT_NE(getClassObject_, nullptr);
        ASSERT_NE(canUnloadNow_, nullptr);
        ASSERT_EQ(getClassObject_(kClsidAddIn, IID_IClassFactory, reinterpret_cast<void**>(&factory_)), S_OK);
    }
    void TearDown() override {
        if (factory_ != nullptr) factory_->Release();
        CoUninitialize();
    }

    template <typename I>
    I* Create(REFIID iid) {
        void* object = nullptr;
        EXPECT_EQ(factory_->CreateInstance(nullptr, iid, &object), S_OK);
        return static_cast<I*>(object);
    }

    GetClassObjectFn getClassObject_ = nullptr;
    NoArgFn canUnloadNow_ = nullptr;
    IClassFactory* factory_ = nullptr;
};

TEST_F(ComServer, ExportsAllFourEntryPointsByPlainName) {
    for (const char* name :
         {"DllGetClassObject", "DllCanUnloadNow", "DllRegisterServer", "DllUnregisterServer"})
        EXPECT_NE(GetProcAddress(Dll(), name), nullptr) << name;
}

// ЗагрузитьВнешнююКомпоненту reads string 100 and creates "AddIn." + each name in it: that must be
// the ProgID the DLL registers, in any language of Windows.
TEST_F(ComServer, StringOneHundredNamesTheRegisteredProgId) {
    wchar_t names[64] = {};
    ASSERT_GT(LoadStringW(Dll(), 100, names, 64), 0);
    EXPECT_EQ(std::wstring(L"AddIn.") + names, kVersionIndependentProgId);
    const WORD neutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    EXPECT_NE(FindResourceExW(Dll(), MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(100 / 16 + 1), neutral), nullptr)
        << "string block 7 is language-neutral";
}

TEST_F(ComServer, FactoryServesOnlyOurClassAndRefusesAggregation) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClassObject_(IID_IUnknown, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    IUnknown* outer = Create<IUnknown>(IID_IUnknown);
    ASSERT_NE(outer, nullptr);
    object = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory_->CreateInstance(outer, IID_IUnknown, &object), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(object, nullptr);
    outer->Release();
    EXPECT_EQ(factory_->CreateInstance(nullptr, IID_IDispatch, &object), E_NOINTERFACE);
}

TEST_F(ComServer, ObjectAnswersItsThreeInterfacesWithOneIdentity) {
    IUnknown* unknown = Create<IUnknown>(IID_IUnknown);
    ASSERT_NE(unknown, nullptr);
    void* initDone = nullptr;
    void* extender = nullptr;
    void* page = nullptr;
    void* dispatch = nullptr;
    EXPECT_EQ(unknown->QueryInterface(kIidInitDone, &initDone), S_OK);
    EXPECT_EQ(unknown->QueryInterface(kIidLanguageExtender, &extender), S_OK);
    EXPECT_EQ(unknown->QueryInterface(IID_IPropertyPage, &page), S_OK);
    EXPECT_EQ(unknown->QueryInterface(IID_IDispatch, &dispatch), E_NOINTERFACE);
    EXPECT_EQ(dispatch, nullptr);
    // Every interface leads back to the same IUnknown.
    for (void* p : {initDone, extender, page}) {
        ASSERT_NE(p, nullptr);
        IUnknown* back = nullptr;
        EXPECT_EQ(static_cast<IUnknown*>(p)->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&back)),
                  S_OK);
        EXPECT_EQ(back, unknown);
        back->Release();
        static_cast<IUnknown*>(p)->Release();
    }
    EXPECT_EQ(unknown->Release(), 0u);
}

TEST_F(ComServer, CanUnloadOnlyWithoutObjectsAndLocks) {
    EXPECT_EQ(canUnloadNow_(), S_OK);
    IUnknown* object = Create<IUnknown>(IID_IUnknown);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(canUnloadNow_(), S_FALSE);
    object->Release();
    EXPECT_EQ(canUnloadNow_(), S_OK);
    factory_->LockServer(TRUE);
    EXPECT_EQ(canUnloadNow_(), S_FALSE);
    factory_->LockServer(FALSE);
    EXPECT_EQ(canUnloadNow_(), S_OK);
}

TEST_F(ComServer, GetInfoPutsTheVersionIntoTheFirstElement) {
    IInitDone* addIn = Create<IInitDone>(kIidInitDone);
    ASSERT_NE(addIn, nullptr);
    SAFEARRAY* info = SafeArrayCreateVector(VT_VARIANT, 0, 1);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(addIn->GetInfo(&info), S_OK);
    VARIANT v;
    VariantInit(&v);
    LONG index = 0;
    ASSERT_EQ(SafeArrayGetElement(info, &index, &v), S_OK);
    EXPECT_EQ(V_VT(&v), VT_I4);
    EXPECT_EQ(V_I4(&v), 2000);
    VariantClear(&v);
    SafeArrayDestroy(info);
    addIn->Release();
}

TEST_F(ComServer, LanguageExtenderHasANameAndNoMembers) {
    ILanguageExtender* ext = Create<ILanguageExtender>(kIidLanguageExtender);
    ASSERT_NE(ext, nullptr);

    BSTR name = nullptr;
    EXPECT_EQ(ext->RegisterExtensionAs(&name), S_OK);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(std::wstring(name, SysStringLen(name)), L"KLT DRV");
    SysFreeString(name);

    long count = 99;
    EXPECT_EQ(ext->GetNProps(&count), S_OK);
    EXPECT_EQ(count, 0);
    count = 99;
    EXPECT_EQ(ext->GetNMethods(&count), S_OK);
    EXPECT_EQ(count, 0);
    count = 99;
    EXPECT_EQ(ext->GetNParams(0, &count), S_OK);
    EXPECT_EQ(count, 0);

    BSTR query = SysAllocString(L"Anything");
    long num = 5;
    EXPECT_EQ(ext->FindProp(query, &num), S_FALSE);
    EXPECT_EQ(num, -1);
    num = 5;
    EXPECT_EQ(ext->FindMethod(query, &num), S_FALSE);
    EXPECT_EQ(num, -1);
    SysFreeString(query);

    for (int alias = 0; alias < 2; ++alias) {
        name = nullptr;
        EXPECT_EQ(ext->GetPropName(0, alias, &name), S_OK);
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(SysStringLen(name), 0u);
        SysFreeString(name);
        name = nullptr;
        EXPECT_EQ(ext->GetMethodName(0, alias, &name), S_OK);
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(SysStringLen(name), 0u);
        SysFreeString(name);
    }

    VARIANT v;
    V_VT(&v) = VT_I4;
    V_I4(&v) = 7;
    EXPECT_EQ(ext->GetPropVal(0, &v), S_OK);
    EXPECT_EQ(V_VT(&v), VT_EMPTY);
    V_VT(&v) = VT_I4;
    EXPECT_EQ(ext->GetParamDefValue(0, 0, &v), S_OK);
    EXPECT_EQ(V_VT(&v), VT_EMPTY);
    ext->Release();
}

TEST_F(ComServer, LanguageExtenderLeavesOutValuesOfNoOpCallsAlone) {
    ILanguageExtender* ext = Create<ILanguageExtender>(kIidLanguageExtender);
    ASSERT_NE(ext, nullptr);
    BOOL flag = 77;
    EXPECT_EQ(ext->IsPropReadable(0, &flag), S_OK);
    EXPECT_EQ(flag, 77);
    EXPECT_EQ(ext->IsPropWritable(0, &flag), S_OK);
    EXPECT_EQ(flag, 77);
    EXPECT_EQ(ext->HasRetVal(0, &flag), S_OK);
    EXPECT_EQ(flag, 77);

    VARIANT v;
    V_VT(&v) = VT_I4;
    V_I4(&v) = 41;
    EXPECT_EQ(ext->SetPropVal(0, &v), S_OK);
    EXPECT_EQ(V_VT(&v), VT_I4);
    EXPECT_EQ(V_I4(&v), 41);
    SAFEARRAY* params = SafeArrayCreateVector(VT_VARIANT, 0, 1);
    EXPECT_EQ(ext->CallAsProc(0, &params), S_OK);
    EXPECT_EQ(ext->CallAsFunc(0, &v, &params), S_OK);
    EXPECT_EQ(V_VT(&v), VT_I4);
    EXPECT_EQ(V_I4(&v), 41);
    SafeArrayDestroy(params);
    ext->Release();
}

TEST_F(ComServer, InitThroughTheBridgeStartsTheCoreInTheGivenHost) {
    klt::emu::HostSettings settings;
    settings.ibDirectory = "C:\\Base\\";
    settings.rightsSetName = "Admin";
    klt::emu::EmulatedHost host(settings);
    TestConnection connection(&host, true);

    IInitDone* addIn = Create<IInitDone>(kIidInitDone);
    ASSERT_NE(addIn, nullptr);
    EXPECT_EQ(addIn->Init(&connection), S_OK);
    EXPECT_EQ(host.RegisteredNames().size(), 6u);
    EXPECT_GT(connection.refs.load(), 1u);  // the event sink is kept
    EXPECT_EQ(addIn->Done(), S_OK);
    EXPECT_TRUE(host.RegisteredNames().empty());
    EXPECT_EQ(connection.refs.load(), 1u);  // and given back
    addIn->Release();
}

TEST_F(ComServer, InitWithoutTheBridgeKeepsOnlyTheEventSink) {
    TestConnection connection(nullptr, false);
    IInitDone* addIn = Create<IInitDone>(kIidInitDone);
    ASSERT_NE(addIn, nullptr);
    EXPECT_EQ(addIn->Init(&connection), S_OK);
    EXPECT_EQ(connection.refs.load(), 2u);
    EXPECT_EQ(connection.bufferDepth, klt::core::kEventBufferDepth) << "the host's depth of one loses events";
    // Released without Done: the reference still comes back.
    addIn->Release();
    EXPECT_EQ(connection.refs.load(), 1u);
}

TEST_F(ComServer, InitWithoutAConnectionStillSucceeds) {
    IInitDone* addIn = Create<IInitDone>(kIidInitDone);
    ASSERT_NE(addIn, nullptr);
    EXPECT_EQ(addIn->Init(nullptr), S_OK);
    EXPECT_EQ(addIn->Done(), S_OK);
    addIn->Release();
}

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

TEST_F(ComServer, PropertyPageShowsItsTextInAChildOfTheDialog) {
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KltPageParent";
        return RegisterClassW(&wc);
    }();
    ASSERT_NE(atom, 0);
    const HWND parent = CreateWindowExW(0, L"KltPageParent", L"settings", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                        nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(parent, nullptr);

    IPropertyPage* page = Create<IPropertyPage>(IID_IPropertyPage);
    ASSERT_NE(page, nullptr);
    PROPPAGEINFO info{};
    ASSERT_EQ(page->GetPageInfo(&info), S_OK);
    ASSERT_NE(info.pszTitle, nullptr);
    EXPECT_EQ(std::wstring(info.pszTitle), L"KLT DRV");
    EXPECT_GT(info.size.cx, 0);
    EXPECT_GT(info.size.cy, 0);
    CoTaskMemFree(info.pszTitle);

    EXPECT_EQ(page->SetObjects(0, nullptr), S_OK);
    const RECT rect{5, 5, 305, 105};
    ASSERT_EQ(page->Activate(parent, &rect, FALSE), S_OK);
    const HWND child = GetWindow(parent, GW_CHILD);
    ASSERT_NE(child, nullptr);
    wchar_t text[256] = {};
    GetWindowTextW(child, text, 256);
    EXPECT_NE(std::wstring(text).find(L"KLT DRV"), std::wstring::npos);
    EXPECT_EQ(page->Show(SW_SHOW), S_OK);
    // The dialog itself is hidden here, so the page's own style bit is what shows it was shown.
    EXPECT_NE(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_EQ(page->Show(SW_HIDE), S_OK);
    EXPECT_EQ(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE, 0);
    const RECT moved{10, 20, 210, 120};
    EXPECT_EQ(page->Move(&moved), S_OK);
    RECT now{};
    GetWindowRect(child, &now);
    EXPECT_EQ(now.right - now.left, 200);
    EXPECT_EQ(now.bottom - now.top, 100);
    EXPECT_EQ(page->IsPageDirty(), S_FALSE);
    EXPECT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(page->Help(L""), E_NOTIMPL);
    MSG msg{};
    EXPECT_EQ(page->TranslateAccelerator(&msg), S_FALSE);
    EXPECT_EQ(page->Deactivate(), S_OK);
    EXPECT_FALSE(IsWindow(child));
    page->Release();
    DestroyWindow(parent);
}

// Registration and the emulator's COM connection: what klthost.exe does, inside one test.
TEST_F(ComServer, RegisteredDllLoadsThroughTheEmulatorsConnection) {
    const auto registerServer = Export<NoArgFn>("DllRegisterServer");
    const auto unregisterServer = Export<NoArgFn>("DllUnregisterServer");
    ASSERT_NE(registerServer, nullptr);
    ASSERT_NE(unregisterServer, nullptr);
    ASSERT_EQ(registerServer(), S_OK);

    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID(L"AddIn.KLT_DRV", &clsid), S_OK);
    EXPECT_TRUE(clsid == kClsidAddIn);
    EXPECT_EQ(CLSIDFromProgID(L"AddIn.KLT_DRV.1", &clsid), S_OK);
    EXPECT_TRUE(clsid == kClsidAddIn);

    {
        klt::emu::HostSettings settings;
        settings.ibDirectory = "C:\\Base\\";
        klt::emu::EmulatedHost host(settings);
        auto connection = klt::emu::CreateAddInConnection();
        std::string error;
        ASSERT_TRUE(connection->Load(error)) << error;
        EXPECT_EQ(connection->GetInfo(), 2000);
        EXPECT_EQ(connection->RegisterExtensionAs(), "KLT DRV");
        connection->Init(host);
        EXPECT_EQ(host.RegisteredNames().size(), 6u);
        connection->Done();
        EXPECT_TRUE(host.RegisteredNames().empty());
    }

    EXPECT_EQ(unregisterServer(), S_OK);
    EXPECT_EQ(CLSIDFromProgID(L"AddIn.KLT_DRV", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(unregisterServer(), S_OK);  // twice is harmless
}

}  // namespace

#endif  // _WIN32
