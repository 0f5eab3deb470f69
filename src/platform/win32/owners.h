#pragma once
// Owners of Win32 handles: each lets its handle go once, on every path out, so no function cleans
// up by hand before each return.
#include <utility>

#include "platform/win32/win32_api.h"

namespace klt::platform::win32 {

// A handle and the call that lets it go; null is "none". Move-only.
template <typename H, void (*Free)(H)>
class Owner {
  public:
    Owner() = default;
    explicit Owner(H handle) : handle_(handle) {}
    Owner(Owner&& other) noexcept : handle_(other.Release()) {}
    Owner& operator=(Owner&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    ~Owner() { Reset(); }

    H Get() const { return handle_; }
    explicit operator bool() const { return handle_ != H{}; }
    // Gives the handle up without letting it go.
    H Release() { return std::exchange(handle_, H{}); }
    void Reset(H handle = H{}) {
        if (H old = std::exchange(handle_, handle)) Free(old);
    }

  private:
    H handle_{};
};

namespace detail {
template <typename T>
void DeleteGdiObject(T object) {
    DeleteObject(object);
}
inline void DeleteMemoryDc(HDC dc) {
    DeleteDC(dc);
}
inline void CloseKernelHandle(HANDLE h) {
    CloseHandle(h);
}
inline void CloseFind(HANDLE h) {
    FindClose(h);
}
}  // namespace detail

// A pen, brush, font, bitmap or region made by us (DeleteObject).
template <typename T = HGDIOBJ>
using GdiObject = Owner<T, &detail::DeleteGdiObject<T>>;
// A device context from CreateCompatibleDC (DeleteDC).
using MemoryDc = Owner<HDC, &detail::DeleteMemoryDc>;
// A file, device or other kernel object (CloseHandle).
using KernelHandle = Owner<HANDLE, &detail::CloseKernelHandle>;
// A directory search from FindFirstFile (FindClose).
using FindHandle = Owner<HANDLE, &detail::CloseFind>;

// CreateFile and FindFirstFile say "none" with INVALID_HANDLE_VALUE; the owners say it with null.
inline HANDLE NullIfInvalid(HANDLE h) {
    return h == INVALID_HANDLE_VALUE ? nullptr : h;
}

// A window's device context from GetDC, released to that window (ReleaseDC); null window = screen.
class WindowDc {
  public:
    explicit WindowDc(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// A window's painting between BeginPaint and EndPaint.
class PaintDc {
  public:
    explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC Get() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// An object selected into a device context for a scope; what was there before goes back.
class Selected {
  public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selected() {
        if (old_) SelectObject(dc_, old_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace klt::platform::win32
