#pragma once
// The add-in object the host creates by ProgID: start-up and shut-down (IInitDone), the language
// extension with no members of its own (ILanguageExtender: the add-in's objects are context
// classes registered with the host) and an information page for the host's settings dialog.
#include <windows.h>
#include <ocidl.h>

#include <atomic>
#include <memory>

#include "com/bridge.h"
#include "com/event_sink.h"
#include "com/interfaces.h"

namespace klt::com {

class AddInObject final : public IInitDone, public ILanguageExtender, public IPropertyPage {
  public:
    AddInObject();
    AddInObject(const AddInObject&) = delete;
    AddInObject& operator=(const AddInObject&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IInitDone
    HRESULT STDMETHODCALLTYPE Init(IDispatch* connection) override;
    HRESULT STDMETHODCALLTYPE Done() override;
    HRESULT STDMETHODCALLTYPE GetInfo(SAFEARRAY** info) override;

    // ILanguageExtender
    HRESULT STDMETHODCALLTYPE RegisterExtensionAs(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE GetNProps(long* count) override;
    HRESULT STDMETHODCALLTYPE FindProp(BSTR name, long* num) override;
    HRESULT STDMETHODCALLTYPE GetPropName(long num, long alias, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE GetPropVal(long num, VARIANT* val) override;
    HRESULT STDMETHODCALLTYPE SetPropVal(long num, VARIANT* val) override;
    HRESULT STDMETHODCALLTYPE IsPropReadable(long num, BOOL* readable) override;
    HRESULT STDMETHODCALLTYPE IsPropWritable(long num, BOOL* writable) override;
    HRESULT STDMETHODCALLTYPE GetNMethods(long* count) override;
    HRESULT STDMETHODCALLTYPE FindMethod(BSTR name, long* num) override;
    HRESULT STDMETHODCALLTYPE GetMethodName(long num, long alias, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE GetNParams(long num, long* count) override;
    HRESULT STDMETHODCALLTYPE GetParamDefValue(long method, long param, VARIANT* val) override;
    HRESULT STDMETHODCALLTYPE HasRetVal(long method, BOOL* has) override;
    HRESULT STDMETHODCALLTYPE CallAsProc(long method, SAFEARRAY** params) override;
    HRESULT STDMETHODCALLTYPE CallAsFunc(long method, VARIANT* ret, SAFEARRAY** params) override;

    // IPropertyPage (property_page.cpp)
    HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite* site) override;
    HRESULT STDMETHODCALLTYPE Activate(HWND parent, LPCRECT rect, BOOL modal) override;
    HRESULT STDMETHODCALLTYPE Deactivate() override;
    HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* info) override;
    HRESULT STDMETHODCALLTYPE SetObjects(ULONG count, IUnknown** objects) override;
    HRESULT STDMETHODCALLTYPE Show(UINT cmdShow) override;
    HRESULT STDMETHODCALLTYPE Move(LPCRECT rect) override;
    HRESULT STDMETHODCALLTYPE IsPageDirty() override;
    HRESULT STDMETHODCALLTYPE Apply() override;
    HRESULT STDMETHODCALLTYPE Help(LPCOLESTR helpDir) override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* msg) override;

  private:
    ~AddInObject();
    void Shutdown();

    std::atomic<ULONG> refs_{1};
    bool initialised_ = false;
    IKltHostBridge* bridge_ = nullptr;
    std::unique_ptr<ComEventSink> sink_;
    IPropertyPageSite* pageSite_ = nullptr;
    HWND pageWindow_ = nullptr;
};

}  // namespace klt::com
