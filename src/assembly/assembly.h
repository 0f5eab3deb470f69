#pragma once
// The composition root: the one place that knows every subsystem. It registers the context
// classes in their order, starts and stops each subsystem around the core's start-up and
// shut-down, answers whether anything of ours is still alive, and puts the process-wide state back
// to its load-time values. The DLL and the emulated host both drive the add-in through it.
#include <array>

#include "core/host.h"
#include "core/state.h"

namespace klt::assembly {

// Registration order is part of the contract: each class's identifier is taken in this order.
const std::array<core::ClassEntry, core::kClassCount>& Classes();

// Start-up as the host's Init asks for it; a second Init shuts the first down before.
void Init(host::Host* host, host::EventSink* sink);
// Shut-down: afterwards no hook, timer, socket, port or window of ours remains.
void Done();

// Whether anything of ours is alive: the add-in initialised, a host function patched, a hook
// installed, a timer running, a socket watched, a window of the loop's, or a port open. The DLL may
// be unloaded only when not.
bool InUse();

// Releases everything and sets every process-wide value of every subsystem back to what it was
// when the module loaded.
void ResetProcessState();

}  // namespace klt::assembly
