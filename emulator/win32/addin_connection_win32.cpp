// klthost.exe reaches klt_drv.dll exactly as 1C:Enterprise does: COM by ProgID, IInitDone and
// ILanguageExtender, and a connection object offering IAsyncEvent. The connection also offers our
// bridge interface, which is how the DLL gets the emulated host.
#include <windows.h>
#include <oleauto.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "com/bridge.h"
#include "com/bstr.h"
#include "com/interfaces.h"
#include "emulator/addin_connection.h"

namespace klt::emu {
namespace {

std::string HResultText(const char* what, HRESULT hr) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, " failed: 0x%08lX", static_cast<unsigned long>(hr));
    return what + std::string(buffer);
}

// What IInitDone::Init receives: the host's side of the connection.
class HostConnection final : public IDispatch, public com::IAsyncEvent, public com::IKltHostBridge {
  public:
    explicit HostConnection(EmulatedHost& host) : host_(host) {}
    HostConnection(const HostConnection&) = delete;
    HostConnection& operator=(const HostConnection&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *object = static_cast<IDispatch*>(this);
        } else if (riid == com::kIidAsyncEvent) {
            *object = static_cast<com::IAsyncEvent*>(this);
        } else if (riid == com::kIidKltHostBridge) {
            *object = static_cast<com::IKltHostBridge*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    // IDispatch: the add-in never calls the host by name.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count != nullptr) *count = 0;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info != nullptr) *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAsyncEvent: the emulated host's own buffer, of the depth the add-in sets, keeps the events
    // until the host is idle and loses those that find it full.
    HRESULT STDMETHODCALLTYPE SetEventBufferDepth(long depth) override {
        host_.SetEventBufferDepth(depth);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetEventBufferDepth(long* depth) override {
        if (depth == nullptr) return E_POINTER;
        *depth = host_.EventBufferDepth();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ExternalEvent(BSTR source, BSTR message, BSTR data) override {
        host_.ExternalEvent(com::BstrToCp1251(source), com::BstrToCp1251(message), com::BstrToCp1251(data));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CleanBuffer() override {
        host_.CleanBuffer();
        return S_OK;
    }

    // IKltHostBridge
    HRESULT STDMETHODCALLTYPE GetHost(void** host) override {
        if (host == nullptr) return E_POINTER;
        *host = static_cast<host::Host*>(&host_);
        return S_OK;
    }

  private:
    ~HostConnection() = default;

    std::atomic<ULONG> refs_{1};
    EmulatedHost& host_;
};

class ComAddInConnection final : public AddInConnection {
  public:
    ~ComAddInConnection() override { Release(); }

    bool Load(std::string& error) override {
        if (initDone_ != nullptr) return true;
        if (!comStarted_) {
            const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            if (FAILED(hr)) {
                error = HResultText("CoInitializeEx", hr);
                return false;
            }
            comStarted_ = true;
        }
        CLSID clsid;
        HRESULT hr = CLSIDFromProgID(L"AddIn.KLT_DRV", &clsid);
        if (FAILED(hr)) {
            error = HResultText("CLSIDFromProgID(AddIn.KLT_DRV)", hr);
            return false;
        }
        void* object = nullptr;
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, com::kIidInitDone, &object);
        if (FAILED(hr)) {
            error = HResultText("CoCreateInstance(IInitDone)", hr);
            return false;
        }
        initDone_ = static_cast<com::IInitDone*>(object);
        object = nullptr;
        hr = initDone_->QueryInterface(com::kIidLanguageExtender, &object);
        if (FAILED(hr)) {
            error = HResultText("QueryInterface(ILanguageExtender)", hr);
            Release();
            return false;
        }
        extender_ = static_cast<com::ILanguageExtender*>(object);
        return true;
    }

    int GetInfo() override {
        if (initDone_ == nullptr) return 0;
        SAFEARRAY* info = SafeArrayCreateVector(VT_VARIANT, 0, 1);
        if (info == nullptr) return 0;
        int version = 0;
        if (SUCCEEDED(initDone_->GetInfo(&info)) && info != nullptr) {
            VARIANT value;
            VariantInit(&value);
            LONG index = 0;
            if (SUCCEEDED(SafeArrayGetElement(info, &index, &value)) &&
                SUCCEEDED(VariantChangeType(&value, &value, 0, VT_I4))) {
                version = static_cast<int>(V_I4(&value));
            }
            VariantClear(&value);
        }
        if (info != nullptr) SafeArrayDestroy(info);
        return version;
    }

    std::string RegisterExtensionAs() override {
        if (extender_ == nullptr) return {};
        BSTR name = nullptr;
        std::string result;
        if (SUCCEEDED(extender_->RegisterExtensionAs(&name))) result = com::BstrToCp1251(name);
        SysFreeString(name);
        return result;
    }

    void Init(EmulatedHost& host) override {
        if (initDone_ == nullptr) return;
        if (connection_ != nullptr) connection_->Release();
        connection_ = new HostConnection(host);
        initDone_->Init(connection_);
    }

    void Done() override {
        if (initDone_ != nullptr) initDone_->Done();
        Release();
    }

  private:
    void Release() {
        if (extender_ != nullptr) {
            extender_->Release();
            extender_ = nullptr;
        }
        if (initDone_ != nullptr) {
            initDone_->Release();
            initDone_ = nullptr;
        }
        if (connection_ != nullptr) {
            connection_->Release();
            connection_ = nullptr;
        }
        if (comStarted_) {
            CoUninitialize();
            comStarted_ = false;
        }
    }

    bool comStarted_ = false;
    com::IInitDone* initDone_ = nullptr;
    com::ILanguageExtender* extender_ = nullptr;
    HostConnection* connection_ = nullptr;
};

}  // namespace

std::unique_ptr<AddInConnection> CreateAddInConnection() {
    return std::make_unique<ComAddInConnection>();
}

}  // namespace klt::emu
