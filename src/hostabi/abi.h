#pragma once
// Calling the host's exported C++ members from g++ in the vendor's 32-bit ABI: members are
// thiscall (object in ECX, arguments on the stack right to left, the callee pops them), statics
// cdecl; an instance member returning a class does so through a hidden pointer, the first stack
// argument, and hands that pointer back in EAX. The host's own objects live in raw storage of our
// own, constructed and destroyed by the host's functions.
#include <cstddef>
#include <cstdint>

#include "hostabi/names.h"

// The compiler warns that thiscall is meant for members and applies it to these pointer types all
// the same; every use in this folder sits between these pragmas.
#define KLT_HOST_ABI_BEGIN _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wattributes\"")
#define KLT_HOST_ABI_END _Pragma("GCC diagnostic pop")
#define KLT_HOST_THISCALL __attribute__((thiscall))
#define KLT_HOST_STDCALL __attribute__((stdcall))

namespace klt::hostabi {

// The address of a host function, or null when no loaded module exports it; the first miss of each
// is told in the diagnostics.
void* Resolve(Fn fn);
// Whether the host's modules are in this process (the marker export of blang.dll is there).
bool HostPresent();
// Tells the diagnostics once per topic that a feature of the host is out of our reach.
void ReportOnce(const char* topic, const char* what);

template <typename F>
F Bound(Fn fn) {
    return reinterpret_cast<F>(Resolve(fn));
}

KLT_HOST_ABI_BEGIN
template <typename R, typename... A>
using Member = R(KLT_HOST_THISCALL*)(void* self, A...);
template <typename R, typename... A>
using Static = R (*)(A...);
KLT_HOST_ABI_END

// Calls a member by its export; `fallback` when the host lacks it.
template <typename R, typename... A>
R CallMember(Fn fn, R fallback, void* self, A... args) {
    auto f = Bound<Member<R, A...>>(fn);
    return f && self ? f(self, args...) : fallback;
}
template <typename... A>
bool CallMemberVoid(Fn fn, void* self, A... args) {
    auto f = Bound<Member<void, A...>>(fn);
    if (!f || !self) return false;
    f(self, args...);
    return true;
}
template <typename R, typename... A>
R CallStatic(Fn fn, R fallback, A... args) {
    auto f = Bound<Static<R, A...>>(fn);
    return f ? f(args...) : fallback;
}

// Sizes the host's classes take (with room), and their offsets we read.
inline constexpr std::size_t kTypeSize = 12;
inline constexpr std::size_t kNumericSize = 64;     // 44 used
inline constexpr std::size_t kValueSize = 128;      // 84 used
inline constexpr std::size_t kValueTypeOffset = 4;  // CType follows the table word in CValue
inline constexpr std::size_t kContextBaseSize = 0x20;
// MFC 4.2 (mfc42.dll, shared-library build): CWnd::m_hWnd follows CCmdTarget's eight words.
inline constexpr std::size_t kWndHandleOffset = 0x20;
inline constexpr std::size_t kContextSlotCount = 37;

// Host type codes (CType::GetTypeCode).
inline constexpr int kTypeEmpty = 0;
inline constexpr int kTypeNumber = 1;
inline constexpr int kTypeString = 2;

// A host CValue in our storage, made and unmade by the host's own constructor and destructor. When
// the host lacks them the value is not made and reads as empty.
class HostValue {
  public:
    HostValue();
    explicit HostValue(const void* copyOf);
    ~HostValue();
    HostValue(const HostValue&) = delete;
    HostValue& operator=(const HostValue&) = delete;

    bool made() const { return made_; }
    void* get() { return made_ ? storage_ : nullptr; }

  private:
    alignas(8) unsigned char storage_[kValueSize];
    bool made_ = false;
};

// A host CType of the given code, for the calls that take one by reference.
class HostType {
  public:
    explicit HostType(int code);
    ~HostType();
    HostType(const HostType&) = delete;
    HostType& operator=(const HostType&) = delete;
    bool made() const { return made_; }
    void* get() { return made_ ? storage_ : nullptr; }

  private:
    alignas(8) unsigned char storage_[16];
    bool made_ = false;
};

// The text of an MFC CString: its one word points at the characters.
inline const char* CStringText(const void* cstring) {
    return cstring ? *static_cast<const char* const*>(cstring) : nullptr;
}

// The window handle a host CWnd object carries, 0 when it is not a live window.
std::uintptr_t WindowOf(const void* cwnd);

// The i-th entry of a host object's table of virtuals.
inline void* Slot(const void* object, int index) {
    return (*static_cast<void* const* const*>(object))[index];
}

}  // namespace klt::hostabi
