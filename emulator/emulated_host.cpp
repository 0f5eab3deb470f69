#include "emulator/emulated_host.h"

#include <algorithm>

#include "platform/diagnostics.h"
#include "text/cp1251.h"
#include "text/literal.h"

namespace klt::emu {

using namespace klt::text::literals;

namespace {

// A host-side context whose methods and properties are C++ callables: the global context, the
// information-base context and the constants collection.
class TableContext : public host::Context {
  public:
    using Method = std::function<void(host::Value* result, host::Value** args)>;

    TableContext(const char* className, std::string typeString) : typeString_(std::move(typeString)) {
        runtimeClass_.className = className;
        runtimeClass_.create = nullptr;
    }

    void AddMethod(std::string name, int params, bool function, Method body) {
        methods_.push_back({std::move(name), params, function, std::move(body)});
    }
    void AddProperty(std::string name, host::Value value) {
        props_.emplace_back(std::move(name), std::move(value));
    }

    const host::RuntimeClass* GetRuntimeClass() const override { return &runtimeClass_; }
    const char* GetTypeString() const override { return typeString_.c_str(); }
    int GetNProps() const override { return static_cast<int>(props_.size()); }
    int FindProp(const char* name) const override {
        for (std::size_t i = 0; i < props_.size(); ++i)
            if (name && text::EqualsNoCase(name, props_[i].first)) return static_cast<int>(i);
        return -1;
    }
    const char* GetPropName(int number, int) const override {
        return Valid(number, props_.size()) ? props_[number].first.c_str() : nullptr;
    }
    int GetPropVal(int number, host::Value& value) const override {
        if (!Valid(number, props_.size())) return -1;
        value = props_[number].second;
        return 1;
    }
    int IsPropReadable(int number) const override { return Valid(number, props_.size()) ? 1 : 0; }
    int GetNMethods() const override { return static_cast<int>(methods_.size()); }
    int FindMethod(const char* name) const override {
        for (std::size_t i = 0; i < methods_.size(); ++i)
            if (name && text::EqualsNoCase(name, methods_[i].name)) return static_cast<int>(i);
        return -1;
    }
    const char* GetMethodName(int number, int) const override {
        return Valid(number, methods_.size()) ? methods_[number].name.c_str() : nullptr;
    }
    int GetNParams(int number) const override {
        return Valid(number, methods_.size()) ? methods_[number].params : 0;
    }
    int HasRetVal(int number) const override {
        return Valid(number, methods_.size()) && methods_[number].function ? 1 : 0;
    }
    int CallAsProc(int number, host::Value** args) override {
        if (!Valid(number, methods_.size()) || methods_[number].function) return 1;
        methods_[number].body(nullptr, args);
        return 0;
    }
    int CallAsFunc(int number, host::Value& result, host::Value** args) override {
        if (!Valid(number, methods_.size()) || !methods_[number].function) return 1;
        methods_[number].body(&result, args);
        return 0;
    }
    int GetLoadedID() const override { return 1; }

  private:
    struct Entry {
        std::string name;
        int params;
        bool function;
        Method body;
    };
    static bool Valid(int number, std::size_t size) {
        return number >= 0 && static_cast<std::size_t>(number) < size;
    }

    host::RuntimeClass runtimeClass_{};
    std::string typeString_;
    std::vector<Entry> methods_;
    std::vector<std::pair<std::string, host::Value>> props_;
};

}  // namespace

class EmulatedHost::MetaDataImpl : public host::MetaData {
  public:
    std::int64_t GetNewID() override { return ++lastId_; }
    std::int32_t GetDefDBSign() override { return 0x544C4B; }
    // The emulated configuration names its objects by their metadata paths; a form's path is its
    // folder, named by the full name.
    std::string GetFullName(const std::string& metadataPath) override {
        std::string_view name = metadataPath;
        const std::string_view forms = kFormsFolder;
        if (name.size() >= forms.size() && text::EqualsNoCase(name.substr(0, forms.size()), forms))
            name.remove_prefix(forms.size());
        while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
        while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
        return std::string(name);
    }

  private:
    std::int64_t lastId_ = 1000;
};

// ---- modules ----

void EmulatedModule::AddProcedure(const std::string& name, Proc proc) {
    entries_.push_back({name, std::move(proc), {}});
}

void EmulatedModule::AddFunction(const std::string& name, Func func) {
    entries_.push_back({name, {}, std::move(func)});
}

void EmulatedModule::AddVariable(const std::string& name, host::Value initial) {
    variables_.emplace_back(name, std::move(initial));
}

const host::Value* EmulatedModule::Variable(const std::string& name) const {
    for (const auto& [n, v] : variables_)
        if (text::EqualsNoCase(n, name)) return &v;
    return nullptr;
}

int EmulatedModule::FindProc(const char* name, int) {
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].proc && name && text::EqualsNoCase(name, entries_[i].name))
            return static_cast<int>(i);
    return -1;
}

int EmulatedModule::FindFunc(const char* name) {
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].func && name && text::EqualsNoCase(name, entries_[i].name))
            return static_cast<int>(i);
    return -1;
}

int EmulatedModule::CallAsProc(int index, int count, host::Value** args) {
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size() || !entries_[index].proc) return 0;
    std::vector<host::Value*> list(args, args + std::max(count, 0));
    entries_[index].proc(list);
    return 1;
}

int EmulatedModule::CallAsFunc(int index, host::Value& result, int count, host::Value** args) {
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size() || !entries_[index].func) return 0;
    std::vector<host::Value*> list(args, args + std::max(count, 0));
    result = entries_[index].func(list);
    return 1;
}

int EmulatedModule::FindStaticVar(const char* name) {
    for (std::size_t i = 0; i < variables_.size(); ++i)
        if (name && text::EqualsNoCase(name, variables_[i].first)) return static_cast<int>(i);
    return -1;
}

int EmulatedModule::SetStaticVarValue(int index, const host::Value& value, int) {
    if (index < 0 || static_cast<std::size_t>(index) >= variables_.size()) return 0;
    variables_[index].second = value;
    return 1;
}

// ---- the host ----

EmulatedHost::EmulatedHost(HostSettings settings)
    : settings_(std::move(settings)), metaData_(std::make_unique<MetaDataImpl>()) {
    modules_.push_back(std::make_unique<EmulatedModule>());

    auto* global = new TableContext("CGlobalContext", "ГлобальныйКонтекст");
    global->AddMethod(
        std::string("НазваниеНабораПрав"_cp), 1, true,
        [this](host::Value* result, host::Value**) { result->AssignString(settings_.rightsSetName); });
    global->AddMethod(std::string("ЗавершитьРаботуСистемы"_cp), 1, false,
                      [this](host::Value*, host::Value**) { shutdownRequested_ = true; });
    if (settings_.hasConstants) {
        auto* constants = new TableContext("CConstContext", "Константа");
        for (const auto& [name, value] : settings_.constants) constants->AddProperty(name, value);
        global->AddProperty(std::string("Константа"_cp), host::Value(static_cast<host::Context*>(constants)));
    }
    globalContext_.AssignContext(global);

    auto* ib = new TableContext("CIBContext", "Система");
    ib->AddMethod(std::string("КаталогИБ"_cp), 0, true, [this](host::Value* result, host::Value**) {
        result->AssignString(settings_.ibDirectory);
    });
    ibContext_.AssignContext(ib);
}

EmulatedHost::~EmulatedHost() {
    // Only through the loop in force: the one the drain waits in may have gone with its test.
    platform::Loop* loop = platform::Get().loop;
    if (drainTimer_ != 0 && loop == drainLoop_) loop->StopTimer(drainTimer_);
}

EmulatedModule& EmulatedHost::AddModule() {
    modules_.push_back(std::make_unique<EmulatedModule>());
    return *modules_.back();
}

host::Value EmulatedHost::CreateObject(const std::string& name) {
    host::Value object;
    for (const Registration& r : registrations_) {
        if (text::EqualsNoCase(r.name, name) && r.cls && r.cls->create) {
            object.AssignContext(r.cls->create());
            break;
        }
    }
    return object;
}

std::vector<std::string> EmulatedHost::RegisteredNames() const {
    std::vector<std::string> names;
    for (const Registration& r : registrations_) names.push_back(r.name);
    return names;
}

bool EmulatedHost::CallMethod(host::Context& object, const std::string& name, std::vector<host::Value> args,
                              host::Value* result) {
    return CallMethodInPlace(object, name, args, result);
}

bool EmulatedHost::CallMethodInPlace(host::Context& object, const std::string& name,
                                     std::vector<host::Value>& args, host::Value* result) {
    int number = object.FindMethod(name.c_str());
    if (number < 0) {
        errors_.push_back({std::string("Метод объекта не обнаружен ("_cp) + name + ")", 0});
        return false;
    }
    int count = object.GetNParams(number);
    if (static_cast<int>(args.size()) > count) {
        errors_.push_back({std::string("Слишком много фактических параметров"_cp), 0});
        return false;
    }
    // Omitted trailing arguments: the object says every parameter has a default, and the value is
    // whatever empty value the host supplies.
    for (int i = static_cast<int>(args.size()); i < count; ++i) {
        host::Value empty;
        object.GetParamDefValue(number, i, &empty);
        args.push_back(std::move(empty));
    }
    std::vector<host::Value*> pointers;
    for (host::Value& v : args) pointers.push_back(&v);
    std::size_t errorsBefore = errors_.size();
    int rc;
    host::Value scratch;
    if (object.HasRetVal(number))
        rc = object.CallAsFunc(number, result ? *result : scratch, pointers.data());
    else
        rc = object.CallAsProc(number, pointers.data());
    if (rc != 0 && errors_.size() == errorsBefore)
        errors_.push_back({std::string("Ошибка при вызове метода контекста ("_cp) + name + ")", 0});
    return rc == 0 && errors_.size() == errorsBefore;
}

std::vector<RuntimeError> EmulatedHost::TakeErrors() {
    std::vector<RuntimeError> taken;
    taken.swap(errors_);
    return taken;
}

void EmulatedHost::ExternalEvent(const std::string& source, const std::string& message,
                                 const std::string& data) {
    if (buffer_.size() >= static_cast<std::size_t>(bufferDepth_)) {
        ++dropped_;
        platform::Report("external event", "the host's buffer of " + std::to_string(bufferDepth_) +
                                               " is full, lost: " + source + " | " + message + " | " + data);
        return;
    }
    buffer_.push_back({source, message, data});
    events_.push_back(buffer_.back());
    platform::Loop* loop = platform::Get().loop;
    if (!moduleTakesEvents && drainTimer_ == 0 && loop) {
        drainLoop_ = loop;
        drainTimer_ = loop->StartTimer(0, [this](platform::TimerId) {
            drainLoop_->StopTimer(drainTimer_);  // fired by that loop: it is there
            drainTimer_ = 0;
            buffer_.clear();
        });
    }
    if (onEvent) onEvent(events_.back());
}

void EmulatedHost::SetEventBufferDepth(long depth) {
    bufferDepth_ = std::max(depth, 1L);  // a buffer of nothing would lose every event
}

std::optional<RecordedEvent> EmulatedHost::TakeEvent() {
    if (buffer_.empty()) return std::nullopt;
    RecordedEvent e = std::move(buffer_.front());
    buffer_.pop_front();
    return e;
}

host::MetaData* EmulatedHost::GetMetaData() {
    return metaData_.get();
}

bool EmulatedHost::RegisterContextClass(const host::RuntimeClass* cls, const char* name,
                                        host::TypeCode type) {
    if (!cls || !name) return false;
    UnRegisterContextClass(cls);
    registrations_.push_back({cls, name, type});
    return true;
}

void EmulatedHost::UnRegisterContextClass(const host::RuntimeClass* cls) {
    std::erase_if(registrations_, [&](const Registration& r) { return r.cls == cls; });
}

host::Context* EmulatedHost::GetLoadedContext(int number) {
    if (number == 1) return globalContext_.GetContext();
    if (number == 5) return ibContext_.GetContext();
    return nullptr;
}

int EmulatedHost::GetFirstLoadedModuleID() {
    return modules_.empty() ? 0 : 1;
}

int EmulatedHost::GetNextLoadedModuleID(int id) {
    return id >= 1 && static_cast<std::size_t>(id) < modules_.size() ? id + 1 : 0;
}

host::Module* EmulatedHost::GetLoadedModule(int id) {
    if (id == 1 && globalOverride_) return globalOverride_;
    return id >= 1 && static_cast<std::size_t>(id) <= modules_.size() ? modules_[id - 1].get() : nullptr;
}

host::Module* EmulatedHost::GetExecutedModule() {
    if (globalOverride_) return globalOverride_;
    return modules_.front().get();
}

void EmulatedHost::RaiseExtRuntimeError(const char* text, int code) {
    errors_.push_back({text ? text : "", code});
}

void EmulatedHost::SetWindowClass(host::WindowHandle window, const char* className) {
    if (className)
        windowClasses_[window] = className;
    else
        windowClasses_.erase(window);
}

host::WindowHandle EmulatedHost::GetMainFrame() {
    return mainFrame_;
}

host::Document* EmulatedHost::GetTopmostDocument(host::WindowHandle dialog) {
    for (FormDocument* d : documents_)
        if (d->kind == FormKind::Dialog && dialog != 0 && d->frame == dialog) return d;
    return nullptr;
}

host::Document* EmulatedHost::GetActiveDocument(host::WindowHandle frame) {
    for (FormDocument* d : documents_)
        if (d->kind == FormKind::Frame && frame != 0 && d->frame == frame) return d;
    return nullptr;
}

host::Document* EmulatedHost::GetFormDocument(host::Context* form) {
    for (FormDocument* d : documents_)
        if (form && (d->form == form || d->group.GetContext() == form)) return d;
    return nullptr;
}

const char* EmulatedHost::WindowClassOf(host::WindowHandle window) {
    auto it = windowClasses_.find(window);
    return it == windowClasses_.end() ? nullptr : it->second;
}

int EmulatedHost::GroupSize(host::Context* group) {
    auto* g = dynamic_cast<GroupContext*>(group);
    return g ? g->Size() : 0;
}

host::Context* EmulatedHost::GroupMember(host::Context* group, int index) {
    auto* g = dynamic_cast<GroupContext*>(group);
    return g ? g->At(index) : nullptr;
}

void EmulatedHost::SetEnableNewLine(host::Context* docContext, int enable) {
    if (auto* d = dynamic_cast<DocContext*>(docContext)) d->enableNewLine = enable;
}

const host::RuntimeClass GroupContext::kRuntimeClass{"CGroupContext", nullptr};
const host::RuntimeClass DocContext::kRuntimeClass{"CDocContext", nullptr};

}  // namespace klt::emu
