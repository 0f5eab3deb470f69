#include "emulator/host_libraries.h"

namespace klt::emu {

// The entries are called directly until the patchable exports land.
HostLibraries::HostLibraries(AssignContextBody assignContext, SetIndicatorsBody setIndicators)
    : assignContext_(std::move(assignContext)), setIndicators_(std::move(setIndicators)) {}

HostLibraries::~HostLibraries() = default;

void HostLibraries::AssignContext(host::Module* module, host::Context* context) {
    if (assignContext_) assignContext_(module, context);
}

int HostLibraries::SetIndicators(const unsigned* ids, int count) {
    return setIndicators_ ? setIndicators_(ids, count) : 0;
}

}  // namespace klt::emu
