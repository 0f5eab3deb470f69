#pragma once
// Our own interface on the connection object that klthost.exe gives to IInitDone::Init: it hands
// the emulated host to the add-in directly. The real 1C host does not offer it, and the add-in
// then starts without a host.
#include <windows.h>

namespace klt::com {

// {35C9D8DD-F0EC-4716-8B18-FB3EBBC9A713}
inline constexpr IID kIidKltHostBridge{
    0x35C9D8DD, 0xF0EC, 0x4716, {0x8B, 0x18, 0xFB, 0x3E, 0xBB, 0xC9, 0xA7, 0x13}};

struct IKltHostBridge : public IUnknown {
    // *host receives a klt::host::Host*; both modules are built from the same headers by the same
    // compiler, so the pointer is usable on the other side.
    virtual HRESULT STDMETHODCALLTYPE GetHost(void** host) = 0;
};

}  // namespace klt::com
