#pragma once
// The two functions of the host's own libraries that the add-in patches: CBLModule::AssignContext
// of "blang.dll" and SECStatusBar::SetIndicators of "frame.dll". The emulated host calls them as the
// real one does, through their exported entries, so a patch applied by the add-in is what runs.
#include <functional>

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

  private:
    AssignContextBody assignContext_;
    SetIndicatorsBody setIndicators_;
};

}  // namespace klt::emu
