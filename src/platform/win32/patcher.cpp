#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win32/backend.h"
#include "platform/win32/win32_api.h"

namespace klt::platform::win32 {
namespace {

constexpr std::size_t kPatchSize = 6;

void WriteEntry(void* entry, const unsigned char (&bytes)[kPatchSize]) {
    std::memcpy(entry, bytes, kPatchSize);
    FlushInstructionCache(GetCurrentProcess(), entry, kPatchSize);
}

// The host's function is patched with an indirect jump, FF 25 and the 32-bit address of a cell
// holding the detour's address. That form is absolute only in 32-bit code (in 64-bit code it is
// relative to the next instruction), so only a 32-bit process patches.
class Win32HostPatcher final : public HostPatcher {
  public:
    bool Patch(const char* library, const char* exportName, void* detour, CodePatch& patch) override {
        if constexpr (sizeof(void*) != 4) {
            return false;
        } else {
            // Only a library the host has loaded already: loading one here would patch a copy
            // the host never calls.
            const HMODULE module = GetModuleHandleA(library);
            if (!module) return false;
            void* entry = reinterpret_cast<void*>(GetProcAddress(module, exportName));
            if (!entry) return false;
            if (patch.applied && StillPatched(patch)) {
                // The same record again: only the detour changes. Saving the entry now would save
                // our own jump, and the host's code could no longer be reached.
                if (patch.target != entry) return false;
                *static_cast<void**>(patch.jumpSlot) = detour;
                return true;
            }
            // A fresh patch, also where the library has been unloaded and loaded again since.
            DWORD old = 0;
            if (!VirtualProtect(entry, kPatchSize, PAGE_EXECUTE_READWRITE, &old)) return false;

            // The cell outlives every call through the entry, and the patch is never removed:
            // it is never freed, and records may be copied freely.
            patch.jumpSlot = new void*(detour);
            patch.target = entry;
            std::memcpy(patch.saved, entry, kPatchSize);
            const auto slotAddress =
                static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(patch.jumpSlot));
            patch.patch[0] = 0xFF;
            patch.patch[1] = 0x25;
            std::memcpy(patch.patch + 2, &slotAddress, sizeof slotAddress);
            WriteEntry(entry, patch.patch);
            patch.applied = true;
            patched_.push_back(entry);
            // The entry now jumps into the detour's module for as long as the process lives, so that
            // module must never be unloaded under it.
            HMODULE owner = nullptr;
            GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                               static_cast<LPCWSTR>(detour), &owner);
            return true;
        }
    }

    void CallOriginal(CodePatch& patch, const std::function<void(void* entry)>& call) override {
        // Only entries this patcher patched, and still patched, are ever written to.
        if (!patch.applied || std::find(patched_.begin(), patched_.end(), patch.target) == patched_.end() ||
            !StillPatched(patch))
            return;
        WriteEntry(patch.target, patch.saved);
        struct Repatch {
            CodePatch& patch;
            ~Repatch() { WriteEntry(patch.target, patch.patch); }
        } repatch{patch};
        call(patch.target);
    }

  private:
    // Whether the record's entry is still in a loaded module and still jumps through its slot.
    static bool StillPatched(const CodePatch& patch) {
        HMODULE module = nullptr;
        if (!GetModuleHandleExW(
                GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                static_cast<LPCWSTR>(patch.target), &module))
            return false;
        return std::memcmp(patch.target, patch.patch, kPatchSize) == 0;
    }

    std::vector<void*> patched_;
};

}  // namespace

HostPatcher& DefaultHostPatcher() {
    static Win32HostPatcher patcher;
    return patcher;
}

}  // namespace klt::platform::win32
