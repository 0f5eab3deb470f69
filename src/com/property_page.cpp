// The add-in's page in the host's settings dialog: who we are and nothing to set.
#include <cstring>
#include <cwchar>

#include "com/addin_object.h"
#include "com/module.h"
#include "klt_version.h"

namespace klt::com {
namespace {

constexpr const wchar_t* kPageTitle = L"KLT DRV";
constexpr const wchar_t* kPageText =
    L"KLT DRV " KLT_VERSION_TEXT L"\r\n"
    L"Touch-screen front office of a bar or caf\u00e9 for 1C:Enterprise 7.7.\r\n"
    L"The component has no settings of its own.";
constexpr SIZE kPageSize{320, 96};

}  // namespace

HRESULT STDMETHODCALLTYPE AddInObject::SetPageSite(IPropertyPageSite* site) {
    if (site != nullptr) site->AddRef();
    if (pageSite_ != nullptr) pageSite_->Release();
    pageSite_ = site;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AddInObject::Activate(HWND parent, LPCRECT rect, BOOL) {
    if (rect == nullptr) return E_POINTER;
    Deactivate();
    pageWindow_ = CreateWindowExW(0, L"STATIC", kPageText, WS_CHILD | SS_LEFT, rect->left, rect->top,
                                  rect->right - rect->left, rect->bottom - rect->top, parent, nullptr,
                                  ModuleHandle(), nullptr);
    if (pageWindow_ == nullptr) return E_FAIL;
    // The dialog's font rather than the system one, so the page matches its neighbours.
    if (parent != nullptr) {
        const LRESULT font = SendMessageW(parent, WM_GETFONT, 0, 0);
        if (font != 0) SendMessageW(pageWindow_, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AddInObject::Deactivate() {
    if (pageWindow_ != nullptr) {
        DestroyWindow(pageWindow_);
        pageWindow_ = nullptr;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AddInObject::GetPageInfo(PROPPAGEINFO* info) {
    if (info == nullptr) return E_POINTER;
    const std::size_t bytes = (std::wcslen(kPageTitle) + 1) * sizeof(wchar_t);
    auto* title = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (title == nullptr) return E_OUTOFMEMORY;
    std::memcpy(title, kPageTitle, bytes);
    info->cb = sizeof(PROPPAGEINFO);
    info->pszTitle = title;
    info->size = kPageSize;
    info->pszDocString = nullptr;
    info->pszHelpFile = nullptr;
    info->dwHelpContext = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AddInObject::SetObjects(ULONG count, IUnknown** objects) {
    // Nothing on the page depends on the objects it is shown for.
    if (count != 0 && objects == nullptr) return E_POINTER;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AddInObject::Show(UINT cmdShow) {
    if (pageWindow_ == nullptr) return E_UNEXPECTED;
    ShowWindow(pageWindow_, static_cast<int>(cmdShow));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AddInObject::Move(LPCRECT rect) {
    if (rect == nullptr) return E_POINTER;
    if (pageWindow_ == nullptr) return E_UNEXPECTED;
    MoveWindow(pageWindow_, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AddInObject::IsPageDirty() {
    return S_FALSE;
}
HRESULT STDMETHODCALLTYPE AddInObject::Apply() {
    return S_OK;
}
HRESULT STDMETHODCALLTYPE AddInObject::Help(LPCOLESTR) {
    return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE AddInObject::TranslateAccelerator(MSG*) {
    return S_FALSE;
}

}  // namespace klt::com
