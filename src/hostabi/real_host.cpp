#include "hostabi/real_host.h"

#include <cstring>
#include <memory>

#include "hostabi/abi.h"
#include "hostabi/objects.h"
#include "hostabi/values.h"
#include "platform/diagnostics.h"

namespace klt::hostabi {
namespace {

class RealMetaData final : public host::MetaData {
  public:
    explicit RealMetaData(void* container) : container_(container) {}
    void* container() const { return container_; }
    std::int64_t GetNewID() override { return CallMember<long>(Fn::MetaDataNewID, 0L, container_); }
    std::int32_t GetDefDBSign() override {
        const void* sign = CallStatic<const void*>(Fn::DefDBSign, nullptr);
        std::int32_t word = 0;
        if (sign) std::memcpy(&word, sign, sizeof word);
        return word;
    }
    // The metadata path has no identifier without CConfigCont::PathToID, whose facts we lack.
    std::string GetFullName(const std::string&) override {
        ReportOnce("full name", "metadata full names are out of reach: forms have no full name");
        return {};
    }

  private:
    void* container_;
};

// Asked of the object itself: one of ours must not get a facade just to be asked.
bool IsClass(host::Context* context, const char* name) {
    const host::RuntimeClass* cls = context ? context->GetRuntimeClass() : nullptr;
    return cls && cls->className && std::strcmp(cls->className, name) == 0;
}

// The metadata container stays for the process, as the core may keep its pointer past Done.
RealMetaData* MetaDataOf(void* container) {
    static std::unique_ptr<RealMetaData> metaData;
    if (!container) return nullptr;
    if (!metaData || metaData->container() != container) metaData = std::make_unique<RealMetaData>(container);
    return metaData.get();
}

class RealHost final : public host::Host {
  public:
    host::MetaData* GetMetaData() override {
        void* database = CallStatic<void*>(Fn::DataBaseDefault, nullptr);
        return MetaDataOf(CallMember<void*>(Fn::DataBaseMetaData, nullptr, database));
    }

    bool RegisterContextClass(const host::RuntimeClass* cls, const char* name, host::TypeCode type) override {
        void* record = RuntimeClassRecord(cls);
        HostType hostType(type.code);
        KLT_HOST_ABI_BEGIN
        auto registerClass = Bound<Static<void, void*, const char*, const void*>>(Fn::ContextRegisterClass);
        KLT_HOST_ABI_END
        if (!record || !name || !hostType.made() || !registerClass) return false;
        registerClass(record, name, hostType.get());
        return true;
    }

    void UnRegisterContextClass(const host::RuntimeClass* cls) override {
        KLT_HOST_ABI_BEGIN
        auto unregisterClass = Bound<Static<void, void*>>(Fn::ContextUnRegisterClass);
        KLT_HOST_ABI_END
        if (void* record = RuntimeClassRecord(cls); record && unregisterClass) unregisterClass(record);
    }

    host::Context* GetLoadedContext(int number) override {
        return ContextFromHost(
            CallStatic<void*>(Fn::ContextGetLoaded, nullptr, static_cast<unsigned long>(number)));
    }

    int GetFirstLoadedModuleID() override {
        return static_cast<int>(CallStatic<unsigned long>(Fn::ModuleFirstLoadedID, 0UL));
    }
    int GetNextLoadedModuleID(int id) override {
        return static_cast<int>(
            CallStatic<unsigned long>(Fn::ModuleNextLoadedID, 0UL, static_cast<unsigned long>(id)));
    }
    host::Module* GetLoadedModule(int id) override {
        return ModuleFromHost(
            CallStatic<void*>(Fn::ModuleGetLoaded, nullptr, static_cast<unsigned long>(id)));
    }
    host::Module* GetExecutedModule() override {
        return ModuleFromHost(CallStatic<void*>(Fn::ModuleExecuted, nullptr));
    }

    void RaiseExtRuntimeError(const char* text, int code) override { RaiseOnReturn(text, code); }

    host::WindowHandle GetMainFrame() override { return WindowOf(CallStatic<void*>(Fn::MainFrame, nullptr)); }

    // The host's call takes no window: its topmost form document is the dialog being shown.
    host::Document* GetTopmostDocument(host::WindowHandle) override {
        return DocumentFromHost(CallStatic<void*>(Fn::TopmostDocument, nullptr));
    }
    // A frame's document needs the frame's MFC object, and MFC's handle map is out of reach.
    host::Document* GetActiveDocument(host::WindowHandle) override {
        ReportOnce("active document", "a form frame's document is out of reach: frames have no document");
        return nullptr;
    }
    host::Document* GetFormDocument(host::Context*) override {
        ReportOnce("form document", "a form value's document is out of reach");
        return nullptr;
    }
    const char* WindowClassOf(host::WindowHandle) override {
        ReportOnce("window class",
                   "the MFC object of a window is out of reach: the form hooks see no host window");
        return nullptr;
    }

    int GroupSize(host::Context* group) override {
        if (!IsClass(group, "CGroupContext")) return 0;
        return CallMember<int>(Fn::GroupSize, 0, HostObjectOf(group));
    }
    host::Context* GroupMember(host::Context* group, int index) override {
        if (!IsClass(group, "CGroupContext")) return nullptr;
        return ContextFromHost(CallMember<void*>(Fn::GroupContextAt, nullptr, HostObjectOf(group), index));
    }
    void SetEnableNewLine(host::Context* docContext, int enable) override {
        if (IsClass(docContext, "CDocContext"))
            CallMemberVoid(Fn::DocContextEnableNewLine, HostObjectOf(docContext), enable);
    }

    host::Module* ModuleAt(void* address) override { return ModuleFromHost(address); }
    host::Context* ContextAt(void* address) override { return ContextFromHost(address); }
};

std::unique_ptr<RealHost>& Instance() {
    static std::unique_ptr<RealHost> instance;
    return instance;
}

}  // namespace

host::Host* StartRealHost() {
    if (!HostPresent()) return nullptr;
    if (!Instance()) Instance() = std::make_unique<RealHost>();
    return Instance().get();
}

void StopRealHost() {
    Instance().reset();
}

}  // namespace klt::hostabi
