#pragma once
// A host connection for the Windows tests that start the add-in through its COM object.
#ifdef _WIN32

#include <windows.h>

#include <atomic>

#include "com/bridge.h"
#include "com/interfaces.h"
#include "core/host.h"

namespace klt::test {

// A host connection for the tests: counts its references and keeps the event-buffer depth it is given. It may
// offer the bridge (klthost.exe) or not (the real host).
class TestConnection final : public IDispatch, public com::IAsyncEvent, public com::IKltHostBridge {
  public:
    TestConnection(host::Host* host, bool offerBridge) : host_(host), offerBridge_(offerBridge) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *object = static_cast<IDispatch*>(this);
        } else if (riid == com::kIidAsyncEvent) {
            *object = static_cast<com::IAsyncEvent*>(this);
        } else if (riid == com::kIidKltHostBridge && offerBridge_) {
            *object = static_cast<com::IKltHostBridge*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }  // lives on the test's stack

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE SetEventBufferDepth(long depth) override {
        bufferDepth = depth;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetEventBufferDepth(long* depth) override {
        *depth = bufferDepth;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ExternalEvent(BSTR, BSTR, BSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE CleanBuffer() override { return S_OK; }

    HRESULT STDMETHODCALLTYPE GetHost(void** host) override {
        *host = host_;
        return S_OK;
    }

    std::atomic<ULONG> refs{1};
    long bufferDepth = 1;  // the host's own until the add-in sets another

  private:
    host::Host* host_;
    bool offerBridge_;
};

}  // namespace klt::test

#endif  // _WIN32
