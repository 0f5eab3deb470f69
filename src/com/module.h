#pragma once
// What the DLL as a whole knows: its own handle, its class id and ProgIDs, and the counts that
// decide whether it may be unloaded.
#include <windows.h>

#include <atomic>

namespace klt::com {

// {528DD413-5CC6-455D-9236-0B9EC9083B3D}
inline constexpr CLSID kClsidAddIn{
    0x528DD413, 0x5CC6, 0x455D, {0x92, 0x36, 0x0B, 0x9E, 0xC9, 0x08, 0x3B, 0x3D}};
inline constexpr const wchar_t* kClsidText = L"{528DD413-5CC6-455D-9236-0B9EC9083B3D}";
inline constexpr const wchar_t* kProgId = L"AddIn.KLT_DRV.1";
inline constexpr const wchar_t* kVersionIndependentProgId = L"AddIn.KLT_DRV";
inline constexpr const wchar_t* kClassDescription = L"KLT Class";

HINSTANCE ModuleHandle();

// Live add-in objects and IClassFactory::LockServer locks.
extern std::atomic<long> g_objectCount;
extern std::atomic<long> g_lockCount;

}  // namespace klt::com
