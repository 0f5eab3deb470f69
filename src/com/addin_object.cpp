#include "com/addin_object.h"

#include "com/bstr.h"
#include "com/module.h"
#include "assembly/assembly.h"
#include "core/addin.h"
#include "platform/diagnostics.h"
#if KLT_HOST_ABI
#include "hostabi/real_host.h"
#endif

namespace klt::com {

AddInObject::AddInObject() {
    ++g_objectCount;
}

AddInObject::~AddInObject() {
    // A host that releases us without Done must not leave the core holding our event sink.
    Shutdown();
    Deactivate();
    SetPageSite(nullptr);
    --g_objectCount;
}

HRESULT STDMETHODCALLTYPE AddInObject::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == kIidInitDone) {
        *object = static_cast<IInitDone*>(this);
    } else if (riid == kIidLanguageExtender) {
        *object = static_cast<ILanguageExtender*>(this);
    } else if (riid == IID_IPropertyPage) {
        *object = static_cast<IPropertyPage*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE AddInObject::AddRef() {
    return ++refs_;
}

ULONG STDMETHODCALLTYPE AddInObject::Release() {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

// --- IInitDone ---

HRESULT STDMETHODCALLTYPE AddInObject::Init(IDispatch* connection) {
    Shutdown();
    host::Host* host = nullptr;
    if (connection != nullptr) {
        void* bridge = nullptr;
        if (SUCCEEDED(connection->QueryInterface(kIidKltHostBridge, &bridge)) && bridge != nullptr) {
            bridge_ = static_cast<IKltHostBridge*>(bridge);
            void* hostPointer = nullptr;
            if (SUCCEEDED(bridge_->GetHost(&hostPointer))) host = static_cast<host::Host*>(hostPointer);
        }
        void* events = nullptr;
        if (SUCCEEDED(connection->QueryInterface(kIidAsyncEvent, &events)) && events != nullptr) {
            auto* asyncEvent = static_cast<IAsyncEvent*>(events);
            sink_ = std::make_unique<ComEventSink>(asyncEvent);
            asyncEvent->Release();  // the sink holds its own reference
        }
    }
#if KLT_HOST_ABI
    // No bridge: inside a real 1C process the host's own classes serve, where its modules are loaded.
    if (host == nullptr) host = hostabi::StartRealHost();
#endif
    initialised_ = true;
    // Nothing may unwind into the host; the core itself never fails start-up.
    try {
        assembly::Init(host, sink_.get());
    } catch (...) {
        platform::ReportCurrentException("Init");
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AddInObject::Done() {
    Shutdown();
    return S_OK;
}

void AddInObject::Shutdown() {
    if (initialised_) {
        initialised_ = false;
        try {
            assembly::Done();
        } catch (...) {
            platform::ReportCurrentException("Done");
        }
#if KLT_HOST_ABI
        hostabi::StopRealHost();
#endif
    }
    sink_.reset();
    if (bridge_ != nullptr) {
        bridge_->Release();
        bridge_ = nullptr;
    }
}

HRESULT STDMETHODCALLTYPE AddInObject::GetInfo(SAFEARRAY** info) {
    if (info == nullptr || *info == nullptr) return E_POINTER;
    VARIANT version;
    VariantInit(&version);
    V_VT(&version) = VT_I4;
    V_I4(&version) = core::kAddInVersion;
    LONG index = 0;
    return SafeArrayPutElement(*info, &index, &version);
}

// --- ILanguageExtender: the add-in object itself has no properties or methods ---

HRESULT STDMETHODCALLTYPE AddInObject::RegisterExtensionAs(BSTR* name) {
    if (name == nullptr) return E_POINTER;
    *name = Cp1251ToBstr(core::kExtensionName);
    return *name != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE AddInObject::GetNProps(long* count) {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AddInObject::FindProp(BSTR, long* num) {
    if (num == nullptr) return E_POINTER;
    *num = -1;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AddInObject::GetPropName(long, long, BSTR* name) {
    if (name == nullptr) return E_POINTER;
    *name = SysAllocString(L"");
    return *name != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE AddInObject::GetPropVal(long, VARIANT* val) {
    if (val == nullptr) return E_POINTER;
    VariantInit(val);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AddInObject::SetPropVal(long, VARIANT*) {
    return S_OK;
}
HRESULT STDMETHODCALLTYPE AddInObject::IsPropReadable(long, BOOL*) {
    return S_OK;
}
HRESULT STDMETHODCALLTYPE AddInObject::IsPropWritable(long, BOOL*) {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AddInObject::GetNMethods(long* count) {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AddInObject::FindMethod(BSTR, long* num) {
    if (num == nullptr) return E_POINTER;
    *num = -1;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AddInObject::GetMethodName(long, long, BSTR* name) {
    if (name == nullptr) return E_POINTER;
    *name = SysAllocString(L"");
    return *name != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE AddInObject::GetNParams(long, long* count) {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AddInObject::GetParamDefValue(long, long, VARIANT* val) {
    if (val == nullptr) return E_POINTER;
    VariantInit(val);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AddInObject::HasRetVal(long, BOOL*) {
    return S_OK;
}
HRESULT STDMETHODCALLTYPE AddInObject::CallAsProc(long, SAFEARRAY**) {
    return S_OK;
}
HRESULT STDMETHODCALLTYPE AddInObject::CallAsFunc(long, VARIANT*, SAFEARRAY**) {
    return S_OK;
}

}  // namespace klt::com
