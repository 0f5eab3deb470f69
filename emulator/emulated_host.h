#pragma once
// The emulated 1C:Enterprise host: the global context (rights set, constants, end of work), the
// context with the information-base directory, modules whose procedures are written in C++, class
// registration, run-time errors and the external events it receives, kept in order.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/host.h"
#include "emulator/host_forms.h"
#include "platform/platform.h"

namespace klt::emu {

struct RecordedEvent {
    std::string source, message, data;
    friend bool operator==(const RecordedEvent&, const RecordedEvent&) = default;
};

struct RuntimeError {
    std::string text;
    int code = 0;
};

// A module whose procedures and functions are C++ callables.
class EmulatedModule : public host::Module {
  public:
    using Proc = std::function<void(std::vector<host::Value*>& args)>;
    using Func = std::function<host::Value(std::vector<host::Value*>& args)>;

    void AddProcedure(const std::string& name, Proc proc);
    void AddFunction(const std::string& name, Func func);
    void AddVariable(const std::string& name, host::Value initial = host::Value());
    const host::Value* Variable(const std::string& name) const;

    int FindProc(const char* name, int flag) override;
    int FindFunc(const char* name) override;
    int CallAsProc(int index, int count, host::Value** args) override;
    int CallAsFunc(int index, host::Value& result, int count, host::Value** args) override;
    int FindStaticVar(const char* name) override;
    int SetStaticVarValue(int index, const host::Value& value, int flag) override;

  private:
    struct Entry {
        std::string name;
        Proc proc;  // one of the two is set
        Func func;
    };
    std::vector<Entry> entries_;
    std::vector<std::pair<std::string, host::Value>> variables_;
};

struct HostSettings {
    std::string ibDirectory;                       // as the host reports it, e.g. C:\Base\ or a native path
    std::string rightsSetName;                     // CP1251
    std::map<std::string, host::Value> constants;  // CP1251 names
    bool hasConstants = true;                      // false: the global context lacks "Константа"
};

class EmulatedHost : public host::Host, public host::EventSink {
  public:
    explicit EmulatedHost(HostSettings settings);
    ~EmulatedHost();
    EmulatedHost(const EmulatedHost&) = delete;
    EmulatedHost& operator=(const EmulatedHost&) = delete;

    const HostSettings& settings() const { return settings_; }

    // The configuration's global module: first in the walk of loaded modules, and the executed one.
    EmulatedModule& GlobalModule() { return *modules_.front(); }
    EmulatedModule& AddModule();
    // Puts another module (a module in the 1C language) in the first place of the walk and makes it
    // the executed one; the C++ global module is then out of the add-in's sight. Null puts it back.
    void SetGlobalModule(host::Module* module) { globalOverride_ = module; }

    // As 1C code's СоздатьОбъект: a new object of a registered class, holding one reference, or
    // null for an unknown name. Names compare without regard to case.
    host::Value CreateObject(const std::string& name);
    std::vector<std::string> RegisteredNames() const;

    // Calls a method by name as the host does (FindMethod, GetNParams, HasRetVal, entry), filling
    // omitted trailing arguments with empty values. Answers false and records a run-time error
    // when the method is missing or the entry refuses.
    bool CallMethod(host::Context& object, const std::string& name, std::vector<host::Value> args,
                    host::Value* result);
    // The same, leaving in `args` what the method left in its parameters (the host passes them by
    // reference), the filled-in trailing ones included.
    bool CallMethodInPlace(host::Context& object, const std::string& name, std::vector<host::Value>& args,
                           host::Value* result);

    // Every external event the host's buffer took, in order (those it lost are not here).
    const std::vector<RecordedEvent>& Events() const { return events_; }
    // The buffer: events wait in it until the host is idle. It holds EventBufferDepth() events, 1
    // until the add-in sets more, as the real host's does; an event that finds it full is lost,
    // counted here and reported to the diagnostics.
    long EventBufferDepth() const { return bufferDepth_; }
    std::size_t BufferedEvents() const { return buffer_.size(); }
    std::size_t DroppedEvents() const { return dropped_; }
    // The configuration's module takes the oldest waiting event when it is idle; nothing when none.
    std::optional<RecordedEvent> TakeEvent();
    // IAsyncEvent::CleanBuffer: the waiting events are thrown away.
    void CleanBuffer() { buffer_.clear(); }
    // Set when a configuration module takes the events (TakeEvent). Unset, the host empties the
    // buffer itself each time its loop turns, as for a configuration that handles no event.
    bool moduleTakesEvents = false;
    const std::vector<RuntimeError>& Errors() const { return errors_; }
    std::vector<RuntimeError> TakeErrors();
    bool ShutdownRequested() const { return shutdownRequested_; }
    void RequestShutdown() { shutdownRequested_ = true; }

    // The host's own windows: the main frame, and the runtime class of each window the host keeps an
    // object for (WindowClassOf); a null class forgets the window.
    void SetMainFrame(host::WindowHandle frame) { mainFrame_ = frame; }
    void SetWindowClass(host::WindowHandle window, const char* className);
    // Open form documents, in the order they opened. The host does not own them.
    void AddDocument(FormDocument* document) { documents_.push_back(document); }
    void RemoveDocument(FormDocument* document) { std::erase(documents_, document); }
    const std::vector<FormDocument*>& Documents() const { return documents_; }

    // Called for every external event the buffer takes, after it is recorded.
    std::function<void(const RecordedEvent&)> onEvent;

    // host::EventSink
    void ExternalEvent(const std::string& source, const std::string& message,
                       const std::string& data) override;
    void SetEventBufferDepth(long depth) override;

    // host::Host
    host::MetaData* GetMetaData() override;
    bool RegisterContextClass(const host::RuntimeClass* cls, const char* name, host::TypeCode type) override;
    void UnRegisterContextClass(const host::RuntimeClass* cls) override;
    host::Context* GetLoadedContext(int number) override;
    int GetFirstLoadedModuleID() override;
    int GetNextLoadedModuleID(int id) override;
    host::Module* GetLoadedModule(int id) override;
    host::Module* GetExecutedModule() override;
    void RaiseExtRuntimeError(const char* text, int code) override;
    host::WindowHandle GetMainFrame() override;
    host::Document* GetTopmostDocument(host::WindowHandle dialog) override;
    host::Document* GetActiveDocument(host::WindowHandle frame) override;
    host::Document* GetFormDocument(host::Context* form) override;
    const char* WindowClassOf(host::WindowHandle window) override;
    int GroupSize(host::Context* group) override;
    host::Context* GroupMember(host::Context* group, int index) override;
    void SetEnableNewLine(host::Context* docContext, int enable) override;
    host::Module* ModuleAt(void* address) override { return static_cast<host::Module*>(address); }
    host::Context* ContextAt(void* address) override { return static_cast<host::Context*>(address); }

  private:
    class MetaDataImpl;
    struct Registration {
        const host::RuntimeClass* cls;
        std::string name;
        host::TypeCode type;
    };

    HostSettings settings_;
    std::unique_ptr<MetaDataImpl> metaData_;
    std::vector<std::unique_ptr<EmulatedModule>> modules_;
    host::Module* globalOverride_ = nullptr;
    std::vector<Registration> registrations_;
    host::Value globalContext_;
    host::Value ibContext_;
    std::vector<RecordedEvent> events_;
    std::deque<RecordedEvent> buffer_;
    long bufferDepth_ = 1;
    std::size_t dropped_ = 0;
    platform::TimerId drainTimer_ = 0;
    platform::Loop* drainLoop_ = nullptr;  // where the drain waits; it may be gone before the host
    std::vector<RuntimeError> errors_;
    bool shutdownRequested_ = false;
    host::WindowHandle mainFrame_ = 0;
    std::map<host::WindowHandle, const char*> windowClasses_;
    std::vector<FormDocument*> documents_;
};

}  // namespace klt::emu
