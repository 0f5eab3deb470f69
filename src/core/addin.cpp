#include "core/addin.h"

#include "core/host_calls.h"
#include "core/state.h"
#include "platform/diagnostics.h"
#include "platform/platform.h"
#include "text/literal.h"

namespace klt::core {

using namespace klt::text::literals;

namespace {

std::string CallTextFunction(int loadedContext, std::string_view name, std::vector<host::Value> args) {
    host::Value result;
    host::Host* h = State().host;
    if (!h ||
        !CallContextFunction(h->GetLoadedContext(loadedContext), std::string(name), std::move(args), result))
        return {};
    return result.GetString();
}

// The workplace's key lock is the front desk's; it is installed beside this hook by the composition
// root.
void InstallFormHook(const std::string& rightsSet, const HostInterception& interception) {
    AddInState& s = State();
    // Exact, case-sensitive: any other spelling is the administrator.
    platform::HookProc hook = interception.adminHook;
    if (rightsSet == kWorkplaceRights) {
        hook = interception.workplaceHook;
    } else if (rightsSet == "РабочееМестоPPC"_cp) {
        hook = interception.pocketHook;
        s.pocketMode = 1;
    }
    if (hook) s.formHook = platform::ScopedHook(platform::HookKind::CallWndProcRet, hook);
}

}  // namespace

std::string DoubleBackslashes(std::string_view directory) {
    std::string out;
    out.reserve(directory.size() * 2);
    std::size_t i = 0;
    if (directory.substr(0, 2) == "\\\\") {
        out += "\\\\";
        i = 2;
    }
    for (; i < directory.size(); ++i) {
        out += directory[i];
        if (directory[i] == '\\') out += '\\';
    }
    return out;
}

host::Value GetHostConstant(const std::string& name) {
    host::Host* h = State().host;
    host::Context* global = h ? h->GetLoadedContext(1) : nullptr;
    if (!global) return host::Value(0);
    int constants = global->FindProp(std::string("Константа"_cp).c_str());
    if (constants < 0) {
        platform::Report("constant", "the global context has no constants collection");
        return host::Value(0);
    }
    host::Value collection;
    global->GetPropVal(constants, collection);
    host::Context* c = collection.GetContext();
    if (!c) return host::Value(0);
    int property = c->FindProp(name.c_str());
    if (property < 0) {
        platform::Report("constant", "no constant " + name);
        return host::Value(0);
    }
    host::Value value;
    c->GetPropVal(property, value);
    return value;
}

void Init(host::Host* h, host::EventSink* sink, std::span<const ClassEntry, kClassCount> classes,
          const HostInterception& interception) {
    if (State().initialised) Done();  // a second Init must not stack hooks or registrations
    AddInState& s = State();
    s = AddInState();
    s.host = h;
    s.classes = classes.data();
    if (!h) platform::Report("start-up", "no host objects: no class is registered");

    // 1-2. Metadata, then the six classes, each with a fresh identifier.
    s.metaData = h ? h->GetMetaData() : nullptr;
    for (int i = 0; i < kClassCount; ++i) {
        if (s.metaData)
            s.classObjectIds[i] = host::ObjectId{s.metaData->GetNewID(), s.metaData->GetDefDBSign()};
        if (h) h->RegisterContextClass(classes[i].runtimeClass, classes[i].name, host::kAddInObjectType);
    }

    // 3-4. Who the user is decides the hooks.
    s.rightsSetName = CallTextFunction(1, "НазваниеНабораПрав"_cp, {host::Value(std::string())});
    InstallFormHook(s.rightsSetName, interception);

    // 5. Host function patches (nothing to patch where the host's libraries are not loaded).
    if (interception.installPatches) interception.installPatches();

    // 6. The information-base directory every file path is built from.
    s.ibDirectory = DoubleBackslashes(CallTextFunction(5, "КаталогИБ"_cp, {}));

    // 7-8. Front-office settings, for the workplace only.
    if (s.rightsSetName == kWorkplaceRights) {
        s.showPrice = GetHostConstant(std::string("ВыводитьЦену"_cp)).GetInt32();
        s.showPictures = GetHostConstant(std::string("ОтображатьКартинки"_cp)).GetInt32();
        s.showText = GetHostConstant(std::string("ОтображатьТекст"_cp)).GetInt32();
    }

    // 9-10. The main window as it is now, and the event sink.
    if (platform::Desktop* desktop = platform::Get().desktop) s.hostMainWindow = desktop->ActiveWindow();
    s.eventSink = sink;
    if (sink) sink->SetEventBufferDepth(kEventBufferDepth);
    s.initialised = true;
}

void Done() {
    AddInState& s = State();
    if (!s.initialised) return;
    if (s.host && s.classes) {
        for (int i = 0; i < kClassCount; ++i) s.host->UnRegisterContextClass(s.classes[i].runtimeClass);
    }
    s.formHook.Reset();
    s.eventSink = nullptr;
    s.host = nullptr;  // the host may unload us next; nothing may reach it through a stale pointer
    s.initialised = false;
}

}  // namespace klt::core
