// The class factory and the two entry points COM looks up by name.
#include <new>

#include "assembly/assembly.h"
#include "com/addin_object.h"
#include "com/module.h"

namespace klt::com {
namespace {

// One static instance: it does not count as a live object, LockServer is what keeps us loaded.
class ClassFactory final : public IClassFactory {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        auto* addIn = new (std::nothrow) AddInObject();
        if (addIn == nullptr) return E_OUTOFMEMORY;
        const HRESULT hr = addIn->QueryInterface(riid, object);
        addIn->Release();
        return hr;
    }

    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) {
            ++g_lockCount;
        } else {
            --g_lockCount;
        }
        return S_OK;
    }
};

ClassFactory g_factory;

}  // namespace
}  // namespace klt::com

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (clsid != klt::com::kClsidAddIn) return CLASS_E_CLASSNOTAVAILABLE;
    return klt::com::g_factory.QueryInterface(riid, object);
}

// Besides objects and locks, anything of ours still alive (the add-in left initialised, a hook, a
// timer, a watched socket, the loop's window, an open port) would call into unloaded code.
STDAPI DllCanUnloadNow() {
    return klt::com::g_objectCount == 0 && klt::com::g_lockCount == 0 && !klt::assembly::InUse() ? S_OK
                                                                                                 : S_FALSE;
}
