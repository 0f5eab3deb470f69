#pragma once
// The interfaces through which 1C:Enterprise 7.7 talks to an external component, declared from
// their published identifiers and method tables. Shared by the add-in and by klthost.exe.
#include <windows.h>
#include <oaidl.h>

namespace klt::com {

// {AB634001-F13D-11D0-A459-004095E1DAEA}
inline constexpr IID kIidInitDone{
    0xAB634001, 0xF13D, 0x11D0, {0xA4, 0x59, 0x00, 0x40, 0x95, 0xE1, 0xDA, 0xEA}};
// {AB634003-F13D-11D0-A459-004095E1DAEA}
inline constexpr IID kIidLanguageExtender{
    0xAB634003, 0xF13D, 0x11D0, {0xA4, 0x59, 0x00, 0x40, 0x95, 0xE1, 0xDA, 0xEA}};
// {AB634004-F13D-11D0-A459-004095E1DAEA}
inline constexpr IID kIidAsyncEvent{
    0xAB634004, 0xF13D, 0x11D0, {0xA4, 0x59, 0x00, 0x40, 0x95, 0xE1, 0xDA, 0xEA}};

struct IInitDone : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Init(IDispatch* connection) = 0;
    virtual HRESULT STDMETHODCALLTYPE Done() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetInfo(SAFEARRAY** info) = 0;
};

struct ILanguageExtender : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE RegisterExtensionAs(BSTR* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNProps(long* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindProp(BSTR name, long* num) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPropName(long num, long alias, BSTR* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPropVal(long num, VARIANT* val) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPropVal(long num, VARIANT* val) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsPropReadable(long num, BOOL* readable) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsPropWritable(long num, BOOL* writable) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNMethods(long* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindMethod(BSTR name, long* num) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMethodName(long num, long alias, BSTR* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNParams(long num, long* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetParamDefValue(long method, long param, VARIANT* val) = 0;
    virtual HRESULT STDMETHODCALLTYPE HasRetVal(long method, BOOL* has) = 0;
    virtual HRESULT STDMETHODCALLTYPE CallAsProc(long method, SAFEARRAY** params) = 0;
    virtual HRESULT STDMETHODCALLTYPE CallAsFunc(long method, VARIANT* ret, SAFEARRAY** params) = 0;
};

struct IAsyncEvent : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetEventBufferDepth(long depth) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEventBufferDepth(long* depth) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExternalEvent(BSTR source, BSTR message, BSTR data) = 0;
    virtual HRESULT STDMETHODCALLTYPE CleanBuffer() = 0;
};

}  // namespace klt::com
