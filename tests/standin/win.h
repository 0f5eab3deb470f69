// The few Win32, COM and C runtime functions the stand-in host uses, declared here: it is built
// with clang for the MSVC ABI without MSVC's headers, and imports from the system DLLs.
#pragma once

#define WINAPI __stdcall
#define SYS_IMPORT extern "C" __attribute__((dllimport))

typedef void* HANDLE;
typedef void* HMODULE;
typedef void* HWND;
typedef void* HHOOK;
typedef long HRESULT;
typedef int BOOL;
typedef unsigned short WCHAR;
typedef WCHAR* BSTR;
typedef unsigned int UINT_PTR;
typedef long LONG_PTR;
typedef unsigned long ULONG;
typedef unsigned long UDWORD;

struct GUID {
    unsigned long Data1;
    unsigned short Data2;
    unsigned short Data3;
    unsigned char Data4[8];
};
inline bool SameGuid(const GUID& a, const GUID& b) {
    const unsigned char* x = reinterpret_cast<const unsigned char*>(&a);
    const unsigned char* y = reinterpret_cast<const unsigned char*>(&b);
    for (int i = 0; i < 16; ++i)
        if (x[i] != y[i]) return false;
    return true;
}

struct POINT {
    long x, y;
};
struct MSG {
    HWND hwnd;
    unsigned message;
    UINT_PTR wParam;
    LONG_PTR lParam;
    unsigned long time;
    POINT pt;
};
typedef LONG_PTR(WINAPI* WNDPROC)(HWND, unsigned, UINT_PTR, LONG_PTR);
struct WNDCLASSA {
    unsigned style;
    WNDPROC lpfnWndProc;
    int cbClsExtra, cbWndExtra;
    HMODULE hInstance;
    HANDLE hIcon, hCursor, hbrBackground;
    const char* lpszMenuName;
    const char* lpszClassName;
};
typedef void(WINAPI* TIMERPROC)(HWND, unsigned, UINT_PTR, unsigned long);
typedef BOOL(WINAPI* WNDENUMPROC)(HWND, LONG_PTR);
typedef LONG_PTR(WINAPI* HOOKPROC)(int, UINT_PTR, LONG_PTR);

struct VARIANT {
    unsigned short vt;
    unsigned short r1, r2, r3;
    union {
        long lVal;
        BSTR bstrVal;
        double dblVal;
        long long llVal;
    };
};
struct SAFEARRAY;

constexpr unsigned short VT_I4 = 3;
constexpr unsigned short VT_VARIANT = 12;
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002L);
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001L);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003L);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003L);
constexpr HRESULT DISP_E_UNKNOWNNAME = static_cast<HRESULT>(0x80020006L);
constexpr unsigned CLSCTX_INPROC_SERVER = 1;
constexpr unsigned WM_COMMAND = 0x0111;
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_QUIT = 0x0012;
constexpr unsigned PM_REMOVE = 1;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr unsigned long WS_OVERLAPPEDWINDOW = 0x00CF0000;
constexpr unsigned long WS_VISIBLE = 0x10000000;
constexpr int WH_CBT = 5;
constexpr int HCBT_CREATEWND = 3;
constexpr unsigned CP_UTF8 = 65001;
constexpr int SW_SHOW = 5;

// kernel32
SYS_IMPORT HMODULE WINAPI GetModuleHandleA(const char*);
SYS_IMPORT void* WINAPI GetProcAddress(HMODULE, const char*);
SYS_IMPORT HMODULE WINAPI LoadLibraryA(const char*);
SYS_IMPORT BOOL WINAPI FreeLibrary(HMODULE);
SYS_IMPORT unsigned long WINAPI GetTempPathA(unsigned long, char*);
SYS_IMPORT void WINAPI ExitProcess(unsigned);
SYS_IMPORT unsigned long WINAPI GetTickCount();
SYS_IMPORT void WINAPI Sleep(unsigned long);
SYS_IMPORT unsigned long WINAPI GetCurrentThreadId();
SYS_IMPORT HANDLE WINAPI GetStdHandle(unsigned long);
SYS_IMPORT BOOL WINAPI WriteFile(HANDLE, const void*, unsigned long, unsigned long*, void*);
SYS_IMPORT int WINAPI MultiByteToWideChar(unsigned, unsigned long, const char*, int, WCHAR*, int);
SYS_IMPORT int WINAPI WideCharToMultiByte(unsigned, unsigned long, const WCHAR*, int, char*, int, const char*,
                                          BOOL*);
// user32
SYS_IMPORT unsigned short WINAPI RegisterClassA(const WNDCLASSA*);
SYS_IMPORT BOOL WINAPI UnregisterClassA(const char*, HMODULE);
SYS_IMPORT HWND WINAPI CreateWindowExA(unsigned long, const char*, const char*, unsigned long, int, int, int,
                                       int, HWND, HANDLE, HMODULE, void*);
SYS_IMPORT LONG_PTR WINAPI DefWindowProcA(HWND, unsigned, UINT_PTR, LONG_PTR);
SYS_IMPORT BOOL WINAPI DestroyWindow(HWND);
SYS_IMPORT BOOL WINAPI ShowWindow(HWND, int);
SYS_IMPORT BOOL WINAPI SetForegroundWindow(HWND);
SYS_IMPORT HWND WINAPI SetActiveWindow(HWND);
SYS_IMPORT HWND WINAPI GetActiveWindow();
SYS_IMPORT BOOL WINAPI IsWindow(HWND);
SYS_IMPORT BOOL WINAPI IsWindowVisible(HWND);
SYS_IMPORT BOOL WINAPI PeekMessageA(MSG*, HWND, unsigned, unsigned, unsigned);
SYS_IMPORT BOOL WINAPI TranslateMessage(const MSG*);
SYS_IMPORT LONG_PTR WINAPI DispatchMessageA(const MSG*);
SYS_IMPORT BOOL WINAPI PostMessageA(HWND, unsigned, UINT_PTR, LONG_PTR);
SYS_IMPORT UINT_PTR WINAPI SetTimer(HWND, UINT_PTR, unsigned, TIMERPROC);
SYS_IMPORT BOOL WINAPI KillTimer(HWND, UINT_PTR);
SYS_IMPORT BOOL WINAPI EnumThreadWindows(unsigned long, WNDENUMPROC, LONG_PTR);
SYS_IMPORT int WINAPI GetClassNameA(HWND, char*, int);
SYS_IMPORT HHOOK WINAPI SetWindowsHookExA(int, HOOKPROC, HMODULE, unsigned long);
SYS_IMPORT BOOL WINAPI UnhookWindowsHookEx(HHOOK);
SYS_IMPORT LONG_PTR WINAPI CallNextHookEx(HHOOK, int, UINT_PTR, LONG_PTR);
// ole32, oleaut32
SYS_IMPORT HRESULT WINAPI CoInitialize(void*);
SYS_IMPORT void WINAPI CoUninitialize();
SYS_IMPORT HRESULT WINAPI CLSIDFromProgID(const WCHAR*, GUID*);
SYS_IMPORT HRESULT WINAPI CoCreateInstance(const GUID&, void*, unsigned, const GUID&, void**);
SYS_IMPORT void WINAPI CoFreeUnusedLibrariesEx(unsigned long, unsigned long);
SYS_IMPORT BSTR WINAPI SysAllocString(const WCHAR*);
SYS_IMPORT void WINAPI SysFreeString(BSTR);
SYS_IMPORT unsigned WINAPI SysStringLen(BSTR);
SYS_IMPORT SAFEARRAY* WINAPI SafeArrayCreateVector(unsigned short, long, unsigned long);
SYS_IMPORT HRESULT WINAPI SafeArrayGetElement(SAFEARRAY*, long*, void*);
SYS_IMPORT HRESULT WINAPI SafeArrayDestroy(SAFEARRAY*);
SYS_IMPORT void WINAPI VariantInit(VARIANT*);
SYS_IMPORT HRESULT WINAPI VariantClear(VARIANT*);
// msvcrt
struct FILE;
SYS_IMPORT void* malloc(unsigned);
SYS_IMPORT void free(void*);
SYS_IMPORT unsigned strlen(const char*);
SYS_IMPORT int strcmp(const char*, const char*);
SYS_IMPORT int strncmp(const char*, const char*, unsigned);
SYS_IMPORT int _stricmp(const char*, const char*);
SYS_IMPORT char* strncpy(char*, const char*, unsigned);
SYS_IMPORT void* memcpy(void*, const void*, unsigned);
SYS_IMPORT void* memset(void*, int, unsigned);
SYS_IMPORT int memcmp(const void*, const void*, unsigned);
SYS_IMPORT int printf(const char*, ...);
SYS_IMPORT int _snprintf(char*, unsigned, const char*, ...);
SYS_IMPORT int _vsnprintf(char*, unsigned, const char*, __builtin_va_list);
SYS_IMPORT long strtol(const char*, char**, int);
SYS_IMPORT double strtod(const char*, char**);
SYS_IMPORT FILE* fopen(const char*, const char*);
SYS_IMPORT char* fgets(char*, int, FILE*);
SYS_IMPORT int fclose(FILE*);
SYS_IMPORT int fflush(FILE*);
SYS_IMPORT int __getmainargs(int*, char***, char***, int, int*);
