#pragma once
// The objects that cross between us and the host. Our context classes' objects face the host as
// facades laid out in its ABI: the first word our own table of 37 thiscall entries, then the host
// base's data made by its own constructor, then our object. The host's contexts, modules and
// documents face us as proxies that call its exported members and its objects' tables. A proxy
// stands for an address and lives as long as the process, so the same host object always gives
// the same proxy.
#include "core/host.h"

namespace klt::hostabi {

// Our object behind a facade, else the proxy for a host context; null for null.
host::Context* ContextFromHost(void* hostObject);
// The host object for one of ours (its facade, made when the host has not seen it yet) or for a
// proxy; null when there is none.
void* HostObjectOf(host::Context* context);
host::Module* ModuleFromHost(void* module);
host::Document* DocumentFromHost(void* document);
// The MFC runtime class name a host object reports (its slot 0), or null.
const char* HostClassName(void* hostObject);

// The MFC 4.2 runtime class record the host registers for one of our classes, made on first use;
// null when every creation entry is taken.
void* RuntimeClassRecord(const host::RuntimeClass* cls);

// A run-time error for the calling 1C code. The host raises it by unwinding, which must not cross
// our frames with objects alive: it is kept and raised as the host's call into us returns.
void RaiseOnReturn(const char* text, int code);

}  // namespace klt::hostabi
