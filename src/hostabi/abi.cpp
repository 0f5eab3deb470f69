#include "hostabi/abi.h"

#include <windows.h>

#include <set>
#include <string>

#include "platform/diagnostics.h"

namespace klt::hostabi {
namespace {

struct Cell {
    void* address = nullptr;
    bool looked = false;
};

Cell& CellOf(Fn fn) {
    static Cell cells[static_cast<int>(Fn::Count)];
    return cells[static_cast<int>(fn)];
}

void* Lookup(const FnName& entry) {
    if (!entry.name) {
        // Only a library the host has loaded: loading one here would bind a copy the host never uses.
        HMODULE mfc = GetModuleHandleA(kMfcModule);
        return mfc ? reinterpret_cast<void*>(GetProcAddress(mfc, MAKEINTRESOURCEA(entry.ordinal))) : nullptr;
    }
    for (int i = 0; i < kHostModuleCount; ++i) {
        if (HMODULE module = GetModuleHandleA(kHostModules[i]))
            if (FARPROC f = GetProcAddress(module, entry.name)) return reinterpret_cast<void*>(f);
    }
    return nullptr;
}

}  // namespace

void ReportOnce(const char* topic, const char* what) {
    static std::set<std::string> told;
    try {
        if (told.insert(topic).second) platform::Report("host binding", what);
    } catch (...) {
        // The trace must never be what breaks the caller.
    }
}

void* Resolve(Fn fn) {
    Cell& cell = CellOf(fn);
    if (!cell.looked) {
        cell.looked = true;
        const FnName& entry = kFnNames[static_cast<int>(fn)];
        cell.address = Lookup(entry);
        if (!cell.address) {
            std::string what =
                entry.name
                    ? std::string(entry.name) + " is exported by none of the host's modules"
                    : std::string(kMfcModule) + " ordinal " + std::to_string(entry.ordinal) + " is not there";
            ReportOnce(entry.name ? entry.name : kMfcModule, (what + ": its feature answers empty").c_str());
        }
    }
    return cell.address;
}

bool HostPresent() {
    for (int i = 0; i < kHostModuleCount; ++i) {
        HMODULE module = GetModuleHandleA(kHostModules[i]);
        if (module && GetProcAddress(module, kHostMarkerExport)) return true;
    }
    return false;
}

HostValue::HostValue() {
    made_ = CallMemberVoid(Fn::ValueConstruct, storage_);
}

HostValue::HostValue(const void* copyOf) {
    made_ = copyOf ? CallMemberVoid(Fn::ValueCopy, storage_, copyOf)
                   : CallMemberVoid(Fn::ValueConstruct, storage_);
}

HostValue::~HostValue() {
    if (made_) CallMemberVoid(Fn::ValueDestroy, storage_);
}

HostType::HostType(int code) {
    made_ = CallMemberVoid(Fn::TypeConstruct, storage_, code);
}

HostType::~HostType() {
    if (made_) CallMemberVoid(Fn::TypeDestroy, storage_);
}

std::uintptr_t WindowOf(const void* cwnd) {
    if (!cwnd) return 0;
    HWND window = *reinterpret_cast<const HWND*>(static_cast<const unsigned char*>(cwnd) + kWndHandleOffset);
    return window && IsWindow(window) ? reinterpret_cast<std::uintptr_t>(window) : 0;
}

}  // namespace klt::hostabi
