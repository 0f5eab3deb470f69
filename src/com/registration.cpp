// Self-registration: the two ProgIDs 1C:Enterprise resolves and the class key behind them.
#include <iterator>
#include <string>

#include <windows.h>
#include <olectl.h>

#include "com/module.h"

namespace {

using klt::com::kClassDescription;
using klt::com::kClsidText;
using klt::com::kProgId;
using klt::com::kVersionIndependentProgId;

std::wstring ClassKey() {
    return std::wstring(L"CLSID\\") + kClsidText;
}

// Creates `subKey` under HKEY_CLASSES_ROOT and sets one string value in it (null name: the default).
bool SetString(const std::wstring& subKey, const wchar_t* name, const std::wstring& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    const LSTATUS status =
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// Removes `subKey` of `parent` with everything below it. RegDeleteTreeW would do it in one call, but
// it is Vista's and XP must load us; RegDeleteKeyW removes only a key without subkeys.
LSTATUS DeleteKeyAndBelow(HKEY parent, const std::wstring& subKey) {
    HKEY key = nullptr;
    LSTATUS status = RegOpenKeyExW(parent, subKey.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, &key);
    if (status != ERROR_SUCCESS) return status;
    wchar_t name[256];  // the longest key name the registry allows is 255 characters
    for (;;) {
        DWORD length = static_cast<DWORD>(std::size(name));
        // Always the first: the one before it is gone.
        status = RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS) break;
        status = DeleteKeyAndBelow(key, std::wstring(name, length));
        if (status != ERROR_SUCCESS) break;
    }
    RegCloseKey(key);
    if (status != ERROR_NO_MORE_ITEMS) return status;
    return RegDeleteKeyW(parent, subKey.c_str());
}

bool DeleteTree(const std::wstring& subKey) {
    // Already absent counts as removed, so unregistering twice is harmless.
    const LSTATUS status = DeleteKeyAndBelow(HKEY_CLASSES_ROOT, subKey);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool ModulePath(std::wstring& path) {
    path.assign(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(klt::com::ModuleHandle(), path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return false;
        if (length < path.size()) {
            path.resize(length);
            return true;
        }
        path.resize(path.size() * 2);  // truncated: try again with more room
    }
}

bool RemoveAll() {
    bool ok = DeleteTree(ClassKey());
    ok = DeleteTree(kProgId) && ok;
    ok = DeleteTree(kVersionIndependentProgId) && ok;
    return ok;
}

}  // namespace

STDAPI DllRegisterServer() {
    std::wstring path;
    if (!ModulePath(path)) return SELFREG_E_CLASS;
    const std::wstring classKey = ClassKey();
    const bool ok = SetString(kProgId, nullptr, kClassDescription) &&
                    SetString(std::wstring(kProgId) + L"\\CLSID", nullptr, kClsidText) &&
                    SetString(kVersionIndependentProgId, nullptr, kClassDescription) &&
                    SetString(std::wstring(kVersionIndependentProgId) + L"\\CLSID", nullptr, kClsidText) &&
                    SetString(classKey, nullptr, kClassDescription) &&
                    SetString(classKey + L"\\ProgID", nullptr, kProgId) &&
                    SetString(classKey + L"\\VersionIndependentProgID", nullptr, kVersionIndependentProgId) &&
                    SetString(classKey + L"\\InprocServer32", nullptr, path) &&
                    SetString(classKey + L"\\InprocServer32", L"ThreadingModel", L"both");
    if (ok) return S_OK;
    // A half-written registration would send the host to a class it cannot load.
    RemoveAll();
    return SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer() {
    return RemoveAll() ? S_OK : SELFREG_E_CLASS;
}
