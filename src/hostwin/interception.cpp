#include "hostwin/interception.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>

#include "core/state.h"
#include "hostwin/picture_menu.h"
#include "hostwin/window_ops.h"
#include "hostwin/window_state.h"
#include "platform/diagnostics.h"
#include "text/literal.h"

namespace klt::hostwin {

using namespace klt::text::literals;

namespace {

constexpr const char* kAssignContextLibrary = "blang.dll";
constexpr const char* kAssignContextExport = "?AssignContext@CBLModule@@QAEXPAVCBLContext@@@Z";
constexpr const char* kSetIndicatorsLibrary = "frame.dll";
constexpr const char* kSetIndicatorsExport = "?SetIndicators@SECStatusBar@@QAEHPBIH@Z";

constexpr int kPocketWidth = 240;
constexpr int kPocketHeight = 270;

// The module the host last assigned to each group context. Kept here rather than inside the host's
// object, so nothing of ours is written into the host's memory.
std::map<host::Context*, host::Module*>& FormModules() {
    static std::map<host::Context*, host::Module*> table;
    return table;
}

// A patch is applied once for the process: patching again would save our own jump as the host's bytes.
struct HostPatches {
    platform::CodePatch assignContext;
    platform::CodePatch setIndicators;
    bool assignContextMissingTold = false;
    bool setIndicatorsMissingTold = false;
};

HostPatches& Patches() {
    static HostPatches patches;
    return patches;
}

bool IsRuntimeClass(const host::Context* context, const char* name) {
    const host::RuntimeClass* cls = context ? context->GetRuntimeClass() : nullptr;
    return cls && cls->className && std::strcmp(cls->className, name) == 0;
}

// Procedure by either name first, then function by either name; negative when none.
int FindFormEntry(host::Module& module, const std::string& russianName, const std::string& englishName) {
    int index = module.FindProc(russianName.c_str(), 0);
    if (index < 0) index = module.FindProc(englishName.c_str(), 0);
    if (index < 0) index = module.FindFunc(russianName.c_str());
    if (index < 0) index = module.FindFunc(englishName.c_str());
    return index;
}

// A procedure answers that it ran; anything else is tried as a function whose result is dropped.
void CallEntry(host::Module& module, int index, int count, host::Value** args) {
    if (module.CallAsProc(index, count, args) != 0) return;
    host::Value scratch;
    module.CallAsFunc(index, scratch, count, args);
}

std::string TrimBlanks(const std::string& text) {
    const char* blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The full name of the document's metadata object ("Обработка.ЧекП"); empty when it has none.
std::string FullNameOf(host::Document* document) {
    host::MetaData* metaData = core::State().metaData;
    if (!document || !metaData) return {};
    const std::string path = document->GetMetadataPath();
    return path.empty() ? std::string() : TrimBlanks(metaData->GetFullName(path));
}

bool IsReceiptForm(const std::string& fullName) {
    return fullName == "Обработка.ЧекП"_cp || fullName == "Обработка.ЧекЛ"_cp;
}

// A message the hook looks at: a host window's message with the host's main frame present.
struct Seen {
    host::Host& host;
    platform::Desktop& desktop;
    platform::ReturnedMessage message;
    std::string windowClass;
    platform::WindowHandle mainFrame;

    bool Shown() const {
        return message.message == platform::kMsgShowWindow && message.result == 0 && message.wParam;
    }
    bool Hidden() const {
        return message.message == platform::kMsgShowWindow && message.result == 0 && !message.wParam;
    }
    bool MovedOrSized() const {
        return message.message == platform::kMsgMove || message.message == platform::kMsgSize;
    }
};

template <typename Work>
std::intptr_t Watch(int code, std::uintptr_t wParam, std::intptr_t lParam, Work work) {
    host::Host* host = core::State().host;
    platform::Desktop* desktop = platform::Get().desktop;
    if (code >= 0 && lParam != 0 && host && desktop) {
        const platform::WindowHandle mainFrame = host->GetMainFrame();
        if (mainFrame) {
            // Copied: the work may run 1C code that shows other windows before the record is read again.
            const auto message = *reinterpret_cast<const platform::ReturnedMessage*>(lParam);
            // Nothing may unwind into the system's call of the hook.
            try {
                if (const char* windowClass = host->WindowClassOf(message.window))
                    work(Seen{*host, *desktop, message, windowClass, mainFrame});
            } catch (...) {
                platform::ReportCurrentException("form hook");
            }
        }
    }
    platform::Hooks* hooks = platform::Get().hooks;
    return hooks ? hooks->CallNext(code, wParam, lParam) : 0;
}

// Takes the main menu off the main frame, every time: the host puts it back now and then.
void RemoveMainMenu(const Seen& seen) {
    const int items = seen.desktop.MenuItemCount(seen.mainFrame);
    if (items >= 0) seen.desktop.RemoveMenu(seen.mainFrame, items >= 1);
}

// Keeps the host's main window at (0, 0) in the given size. Moving it makes the system tell this
// hook of the move again: that inner report is let pass, so the placing settles at once.
void KeepMainWindowPlaced(const Seen& seen, int width, int height) {
    static bool placing = false;
    const platform::WindowHandle main = core::State().hostMainWindow;
    if (placing || seen.mainFrame != main) return;
    struct Placing {
        Placing() { placing = true; }
        ~Placing() { placing = false; }
    } during;
    seen.desktop.Move(main, 0, 0, width, height, true);
}

// A receipt form is laid edge to edge over the main window's client area, hiding its own border,
// and the picture menu's caption refresh starts over.
void LayOutReceiptForm(const Seen& seen, platform::WindowHandle& recorded) {
    HostWindowState& state = WindowState();
    // The window recorded first is kept while it lives; one that has gone is replaced, or the
    // receipt form would never be laid out again after it was closed once.
    if (recorded == 0 || !seen.desktop.IsWindow(recorded)) recorded = seen.message.window;
    const platform::WindowHandle window = recorded;
    state.receiptFrame = seen.message.window;
    StripCaption(window);
    const platform::WindowBox client = seen.desktop.ClientBox(core::State().hostMainWindow);
    seen.desktop.Move(window, client.left - 5, client.top - 5, client.right + 10, client.bottom + 10, false);
    state.captionRefreshBusy = false;
    state.captionRefreshTimer.Reset();
    state.captionRefreshTimer = platform::ScopedTimer(100, &CaptionRefreshTick);
}

void WorkplaceShown(const Seen& seen) {
    HostWindowState& state = WindowState();
    const platform::WindowHandle window = seen.message.window;
    if (seen.windowClass == "CGetDlg") {
        state.currentWindow = window;
        if (host::Document* document = seen.host.GetTopmostDocument(window))
            CallFormProc(document, std::string("ПослеОткрытияФормы"_cp), "OnActivate", 0, nullptr);
    } else if (seen.windowClass == "CTabFrame") {
        state.currentWindow = window;
        host::Document* document = seen.host.GetActiveDocument(window);
        const std::string fullName = FullNameOf(document);
        if (fullName.empty()) return;
        if (fullName == "Обработка.ЧекП"_cp) {
            LayOutReceiptForm(seen, state.receiptWindowP);
        } else if (fullName == "Обработка.ЧекЛ"_cp) {
            LayOutReceiptForm(seen, state.receiptWindowL);
        } else if (fullName == "Обработка.Настройка"_cp) {
            state.settingsWindow = window;
        }
        CallFormProc(document, std::string("ПослеОткрытияФормы"_cp), "OnActivate", 0, nullptr);
    }
}

void WorkplaceHidden(const Seen& seen) {
    if (seen.windowClass != "CTabFrame") return;
    if (IsReceiptForm(FullNameOf(seen.host.GetActiveDocument(seen.message.window))))
        WindowState().captionRefreshTimer.Reset();
}

void PocketShown(const Seen& seen) {
    const platform::WindowHandle window = seen.message.window;
    if (seen.windowClass == "CGetDlg") {
        // A dialog form fills the small screen, without caption, in the middle of the main window.
        StripCaption(window);
        seen.desktop.Move(window, 2, 2, kPocketWidth - 4, kPocketHeight - 4, true);
        const platform::WindowBox client = seen.desktop.ClientBox(core::State().hostMainWindow);
        const platform::WindowBox box = seen.desktop.ScreenBox(window);
        seen.desktop.Move(window, (client.Width() - box.Width()) / 2, (client.Height() - box.Height()) / 2,
                          box.Width(), box.Height(), true);
    } else if (seen.windowClass == "CTabFrame") {
        if (host::Document* document = seen.host.GetActiveDocument(window))
            CallFormProc(document, std::string("ПослеОткрытияФормы"_cp), "OnActivate", 0, nullptr);
    }
}

void AdminShown(const Seen& seen) {
    HostWindowState& state = WindowState();
    const platform::WindowHandle window = seen.message.window;
    host::Document* document = nullptr;
    if (seen.windowClass == "CGetDlg") {
        state.currentWindow = window;
        document = seen.host.GetTopmostDocument(window);
    } else if (seen.windowClass == "CTabFrame") {
        state.currentWindow = window;
        document = seen.host.GetActiveDocument(window);
    }
    if (document) CallFormProc(document, std::string("ПослеОткрытияФормыАдм"_cp), "OnActivate", 0, nullptr);
}

void PatchOnce(const char* library, const char* exportName, void* detour, platform::CodePatch& patch,
               bool& missingTold) {
    if (patch.applied) return;
    platform::HostPatcher* patcher = platform::Get().patcher;
    if (patcher && patcher->Patch(library, exportName, detour, patch)) {
        patch.applied = true;
        return;
    }
    patch = platform::CodePatch();
    if (missingTold) return;
    missingTold = true;
    platform::Report("host patch", std::string(exportName) + " not found in " + library + ": left unpatched");
}

}  // namespace

std::intptr_t WorkplaceFormHook(int code, std::uintptr_t wParam, std::intptr_t lParam) {
    return Watch(code, wParam, lParam, [](const Seen& seen) {
        if (WindowState().developerMode != 1) RemoveMainMenu(seen);
        if (seen.MovedOrSized()) {
            KeepMainWindowPlaced(seen, seen.desktop.ScreenWidth(), seen.desktop.ScreenHeight());
        } else if (seen.Shown()) {
            WorkplaceShown(seen);
        } else if (seen.Hidden()) {
            WorkplaceHidden(seen);
        }
    });
}

std::intptr_t PocketFormHook(int code, std::uintptr_t wParam, std::intptr_t lParam) {
    return Watch(code, wParam, lParam, [](const Seen& seen) {
        RemoveMainMenu(seen);
        if (seen.MovedOrSized()) {
            KeepMainWindowPlaced(seen, kPocketWidth, kPocketHeight);
        } else if (seen.Shown()) {
            PocketShown(seen);
        }
    });
}

std::intptr_t AdminFormHook(int code, std::uintptr_t wParam, std::intptr_t lParam) {
    return Watch(code, wParam, lParam, [](const Seen& seen) {
        if (seen.Shown()) AdminShown(seen);
    });
}

void CallFormProc(host::Document* document, const std::string& russianName, const std::string& englishName,
                  int count, host::Value** args) {
    host::Host* host = core::State().host;
    host::Context* group = document ? document->GetGroupContext() : nullptr;
    if (!host || !group) return;
    // The form's document contexts accept new lines from the procedure.
    const int size = host->GroupSize(group);
    for (int i = 0; i < size; ++i) {
        host::Context* member = host->GroupMember(group, i);
        if (IsRuntimeClass(member, "CDocContext")) host->SetEnableNewLine(member, 1);
    }
    if (host::Module* module = FormModuleOf(group)) {
        const int index = FindFormEntry(*module, russianName, englishName);
        if (index >= 0) {
            CallEntry(*module, index, count, args);
            return;
        }
    }
    CallModuleProcForForm(group, russianName, englishName, count, args);
}

void CallModuleProcForForm(host::Context* groupContext, const std::string& russianName,
                           const std::string& englishName, int count, host::Value** args) {
    host::Host* host = core::State().host;
    if (!host) return;
    host::Module* found = nullptr;
    int index = -1;
    for (int id = host->GetFirstLoadedModuleID(); id != 0 && !found; id = host->GetNextLoadedModuleID(id)) {
        host::Module* module = host->GetLoadedModule(id);
        if (!module) continue;
        index = FindFormEntry(*module, russianName, englishName);
        if (index >= 0) found = module;
    }
    if (!found) return;

    // The group context first, then the caller's arguments: ten values in all at most.
    std::array<host::Value, 10> values;
    std::array<host::Value*, 10> pointers{};
    values[0].AssignContext(groupContext);
    const int passed = args ? std::clamp(count, 0, 9) : 0;
    for (int i = 0; i < passed; ++i)
        if (args[i]) values[i + 1] = *args[i];
    for (std::size_t i = 0; i < values.size(); ++i) pointers[i] = &values[i];
    CallEntry(*found, index, passed + 1, pointers.data());
}

host::Module* FormModuleOf(host::Context* groupContext) {
    auto& table = FormModules();
    const auto it = table.find(groupContext);
    return it == table.end() ? nullptr : it->second;
}

void ForgetFormModules() {
    FormModules().clear();
}

// A tick comes from the loop: nothing may unwind into it.
void CaptionRefreshTick(platform::TimerId) {
    try {
        RefreshPictureCaptions();
    } catch (...) {
        platform::ReportCurrentException("caption refresh");
    }
}

ReceiptForm CurrentReceiptForm() {
    host::Host* host = core::State().host;
    platform::Desktop* desktop = platform::Get().desktop;
    const platform::WindowHandle frame = WindowState().receiptFrame;
    if (!host || !desktop || !frame || !desktop->IsWindow(frame)) return {};
    host::Document* document = host->GetActiveDocument(frame);
    // A window handle may be used again for another window once its own has gone.
    if (!IsReceiptForm(FullNameOf(document))) return {};
    return {frame, document};
}

void InstallHostPatches() {
    HostPatches& p = Patches();
    PatchOnce(kAssignContextLibrary, kAssignContextExport, reinterpret_cast<void*>(&KltAssignContextDetour),
              p.assignContext, p.assignContextMissingTold);
    PatchOnce(kSetIndicatorsLibrary, kSetIndicatorsExport, reinterpret_cast<void*>(&KltSetIndicatorsDetour),
              p.setIndicators, p.setIndicatorsMissingTold);
}

bool HostPatched() {
    return Patches().assignContext.applied || Patches().setIndicators.applied;
}

void ForgetHostPatches() {
    Patches() = HostPatches();
}

namespace {

// Called as the host's member function is: the module in ECX on 32-bit Windows.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
using AssignContextEntry = void(KLT_THISCALL*)(void* module, void* context);
#pragma GCC diagnostic pop

// A module serves one context at a time: whatever it served before is no longer its form, and a
// group context whose module has moved on must not reach it.
void RememberAssignment(void* rawModule, void* rawContext) {
    host::Host* host = core::State().host;
    if (!host) return;  // shut down: the table is empty and stays so until the next start-up
    auto& table = FormModules();
    try {
        host::Module* module = host->ModuleAt(rawModule);
        std::erase_if(table, [&](const auto& entry) { return entry.second == module; });
        host::Context* context = rawContext ? host->ContextAt(rawContext) : nullptr;
        if (module && context && context->GetLoadedID() == 0 && IsRuntimeClass(context, "CGroupContext"))
            table[context] = module;
    } catch (...) {
        // Out of memory: the form's procedures are looked for in the loaded modules instead.
        platform::ReportCurrentException("AssignContext");
    }
}

}  // namespace

// The convention is spelt out here too: a definition outside the declaration's namespace would
// silently be an ordinary function, reading the object from the stack.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
extern "C" KLT_THISCALL void KltAssignContextDetour(void* module, void* context) {
    RememberAssignment(module, context);
    platform::HostPatcher* patcher = platform::Get().patcher;
    if (!patcher) return;
    patcher->CallOriginal(Patches().assignContext,
                          [&](void* entry) { reinterpret_cast<AssignContextEntry>(entry)(module, context); });
}

// The status bar gets no indicator panes: the host is told they are set.
extern "C" KLT_THISCALL int KltSetIndicatorsDetour(void*, const unsigned*, int) {
    return 1;
}
#pragma GCC diagnostic pop

}  // namespace klt::hostwin
