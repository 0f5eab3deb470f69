#pragma once
// The two functions of the host's own libraries that the add-in patches: CBLModule::AssignContext
// of "blang.dll" and SECStatusBar::SetIndicators of "frame.dll". The emulated host calls them as the
// real one does, through their exported entries, so a patch applied by the add-in is what runs.
//
// Natively each entry is a cell of the NativeHostPatcher in force when the libraries are made; in
// klthost.exe the entries are real exports of blang.dll and frame.dll beside the program, which hand
// every call to the newest HostLibraries alive (as a later loaded library shadows an earlier one). Where
// those libraries are missing the bodies are called directly, and nothing can be patched.
#include <functional>
#include <memory>

#include "core/host.h"

namespace klt::emu {

class HostLibraries {
  public:
    // What the host's own code does in each (the body a detour may still run).
    using AssignContextBody = std::function<void(host::Module* module, host::Context* context)>;
    using SetIndicatorsBody = std::function<int(const unsigned* ids, int count)>;

    HostLibraries(AssignContextBody assignContext, SetIndicatorsBody setIndicators);
    ~HostLibraries();
    HostLibraries(const HostLibraries&) = delete;
    HostLibraries& operator=(const HostLibraries&) = delete;

    // Calls through the exported entry, patched or not.
    void AssignContext(host::Module* module, host::Context* context);
    int SetIndicators(const unsigned* ids, int count);

    // Whether the entries are the host libraries' own exports (klthost.exe with its libraries) or
    // patchable cells (natively with a NativeHostPatcher in force), rather than direct calls.
    bool Patchable() const;

  private:
    struct Entries;  // the build's

    AssignContextBody assignContext_;
    SetIndicatorsBody setIndicators_;
    std::unique_ptr<Entries> entries_;
};

}  // namespace klt::emu
