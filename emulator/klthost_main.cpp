// klthost: the emulated 1C:Enterprise host as a program. It makes its main frame, runs a module in
// the 1C language as the configuration's global module for a user of a given rights set on an
// information base, and loads and starts the add-in when the module asks for it (or the built-in
// demonstration).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "emulator/addin_connection.h"
#include "emulator/console.h"
#include "emulator/host_libraries.h"
#include "emulator/host_frame.h"
#include "emulator/lang/forms.h"
#include "emulator/lang/interpreter.h"
#include "emulator/lang/parser.h"
#include "emulator/lang/scripted_users.h"
#include "platform/platform.h"
#include "text/cp1251.h"
#include "text/literal.h"

using namespace klt;
using namespace klt::text::literals;

namespace {

struct Options {
    emu::HostSettings settings;
    std::string eventLog;
    std::string module;
    std::int64_t waitMs = 2000;
    bool demo = false;
    bool verbose = false;
    bool load = false;
    bool frame = true;
    bool windows = true;
};

void Usage() {
    std::fputs(
        "usage: klthost [options] MODULE     run MODULE (1C language) as the global module\n"
        "       klthost [options] --demo     the built-in demonstration\n"
        "  --ib DIR         information base directory the host reports (КаталогИБ)\n"
        "  --rights NAME    rights set of the current user (НазваниеНабораПрав)\n"
        "  --const N=V      a configuration constant (a number when V reads as one)\n"
        "  --events FILE    also write every external event received to FILE\n"
        "  --wait MS        after the module's body, keep handling external events for up to MS\n"
        "                   milliseconds unless ЗавершитьРаботуСистемы ends the work (default 2000;\n"
        "                   only when the module has ОбработкаВнешнегоСобытия)\n"
        "  --load           load and start the add-in before the module's body, for modules that do\n"
        "                   not call ЗагрузитьВнешнююКомпоненту themselves\n"
        "  --no-frame       no main frame (forms then have no windows): wine's X server shows the\n"
        "                   add-in's windows opened over the frame unpainted in screenshots\n"
        "  --no-windows     every window of the add-in fails to open, as on a host without a desktop\n"
        "                   (the linked add-in only)\n"
        "  --verbose        print start-up, every external event and the host's own calls on stderr\n"
        "  --demo           create one object of each type, call methods, print what happened\n"
        "exit status: 0 done, 1 error in the module, 2 bad usage or no add-in\n",
        stderr);
}

bool Parse(const std::vector<std::string>& args, Options& o) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto next = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--ib" && next(v)) {
            o.settings.ibDirectory = text::Utf8ToCp1251(v);
        } else if (a == "--rights" && next(v)) {
            o.settings.rightsSetName = text::Utf8ToCp1251(v);
        } else if (a == "--const" && next(v)) {
            std::size_t eq = v.find('=');
            if (eq == std::string::npos || eq == 0) {
                std::fprintf(stderr, "klthost: --const wants NAME=VALUE, got '%s'\n", v.c_str());
                return false;
            }
            std::string value = text::Utf8ToCp1251(v.substr(eq + 1));
            std::size_t used = 0;
            host::Numeric n = host::Numeric::Parse(value, &used);
            o.settings.constants[text::Utf8ToCp1251(v.substr(0, eq))] =
                used == value.size() && !value.empty() ? host::Value(n) : host::Value(value);
        } else if (a == "--events" && next(o.eventLog)) {
        } else if (a == "--wait" && next(v)) {
            char* end = nullptr;
            o.waitMs = std::strtoll(v.c_str(), &end, 10);
            if (v.empty() || *end != '\0' || o.waitMs < 0) {
                std::fprintf(stderr, "klthost: --wait wants milliseconds, got '%s'\n", v.c_str());
                return false;
            }
        } else if (a == "--verbose") {
            o.verbose = true;
        } else if (a == "--load") {
            o.load = true;
        } else if (a == "--no-frame") {
            o.frame = false;
        } else if (a == "--no-windows") {
            o.windows = false;
        } else if (a == "--demo") {
            o.demo = true;
        } else if (!a.empty() && a[0] != '-' && o.module.empty()) {
            o.module = a;
        } else {
            std::fprintf(stderr, "klthost: unknown or incomplete option '%s'\n", a.c_str());
            return false;
        }
    }
    if (o.demo == !o.module.empty()) {
        std::fputs(o.demo ? "klthost: --demo takes no module\n" : "klthost: no module given\n", stderr);
        return false;
    }
    return true;
}

std::string U(const std::string& cp1251) {
    return text::Cp1251ToUtf8(cp1251);
}

struct Call {
    const char* type;
    const char* method;  // UTF-8
    std::vector<host::Value> args;
};

int RunDemo(emu::EmulatedHost& host) {
    const char* types[] = {"Vkusnica", "Windows", "Aura", "Nippon", "Tablo", "Zaly"};
    std::vector<host::Value> objects;
    for (const char* type : types) {
        host::Value object = host.CreateObject(type);
        host::Context* c = object.GetContext();
        if (!c) {
            std::printf("create %s: not registered\n", type);
            return 1;
        }
        std::printf("created %s: class %s, type \"%s\", %d methods\n", type, c->GetRuntimeClass()->className,
                    U(c->GetTypeString()).c_str(), c->GetNMethods());
        objects.push_back(std::move(object));
    }
    auto find = [&](const char* type) -> host::Context* {
        for (std::size_t i = 0; i < objects.size(); ++i)
            if (std::string(types[i]) == type) return objects[i].GetContext();
        return nullptr;
    };

    const std::vector<Call> calls = {
        {"Vkusnica", "СлушатьПорт", {host::Value(5000)}},
        {"Vkusnica", "ПорядокОтображенияСумм", {host::Value(1)}},
        {"Tablo", "ТипТабло", {host::Value(4)}},
        {"Tablo", "СтрокаПростой1", {host::Value(text::Utf8ToCp1251("Добро пожаловать"))}},
        {"Aura", "SetBit", {}},
        {"Windows", "РежимЭкрана", {host::Value(2)}},
        {"Windows", "УстановитьХЭНД", {}},
        {"Windows", "ОжиданиеЗакрытияФормы", {}},
        {"Windows", "НетТакогоМетода", {}},  // the host reports a missing method
    };
    for (const Call& call : calls) {
        host::Value result;
        bool ok = host.CallMethod(*find(call.type), text::Utf8ToCp1251(call.method), call.args, &result);
        std::printf("call %s.%s: %s", call.type, call.method, ok ? "ok" : "error");
        if (!result.IsEmpty()) std::printf(", result %s", U(result.GetString()).c_str());
        std::printf("\n");
        for (const emu::RuntimeError& e : host.TakeErrors())
            std::printf("  run-time error %d: %s\n", e.code, U(e.text).c_str());
    }

    // The handle wait reports through the external-event interface once its window is gone; the
    // host's message loop must turn for the add-in's timer to fire.
    platform::Get().loop->RunUntil([&] { return !host.Events().empty(); }, 3000);
    return host.Events().empty() ? 1 : 0;
}

std::filesystem::path Utf8Path(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// The module's text, parsed; null after printing why not.
std::unique_ptr<lang::Program> LoadModule(const std::string& path) {
    std::ifstream in(Utf8Path(path), std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "klthost: не удаётся открыть модуль '%s'\n", path.c_str());
        return nullptr;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    try {
        return lang::Parse(lang::ModuleTextToCp1251(bytes.str()));
    } catch (const lang::LangError& e) {
        std::fprintf(stderr, "%s\n", lang::DescribeError(path, e).c_str());
        return nullptr;
    }
}

int RunDemoSession(const Options& o) {
    emu::EmulatedHost host(o.settings);
    emu::HostFrame frame(host);
    frame.Create();
    std::ofstream log;
    if (!o.eventLog.empty()) log.open(o.eventLog, std::ios::binary);
    host.onEvent = [&](const emu::RecordedEvent& e) {
        std::printf("event: %s | %s | %s\n", U(e.source).c_str(), U(e.message).c_str(), U(e.data).c_str());
        if (log) log << U(e.source) << '\t' << U(e.message) << '\t' << U(e.data) << '\n' << std::flush;
    };

    std::printf("klthost: information base '%s', rights set '%s'\n", U(o.settings.ibDirectory).c_str(),
                U(o.settings.rightsSetName).c_str());
    std::unique_ptr<emu::AddInConnection> addin = emu::CreateAddInConnection();
    std::string error;
    if (!addin->Load(error)) {
        std::fprintf(stderr, "klthost: cannot load the add-in: %s\n", error.c_str());
        return 1;
    }
    std::printf("GetInfo: %d\n", addin->GetInfo());
    std::printf("RegisterExtensionAs: %s\n", U(addin->RegisterExtensionAs()).c_str());
    addin->Init(host);
    std::printf("registered:");
    for (const std::string& name : host.RegisteredNames()) std::printf(" %s", name.c_str());
    std::printf("\n%s", addin->DescribeStartUp().c_str());

    // What the host's patched entries do now: AssignContext still reaches the host's own code,
    // SetIndicators (two panes asked for) need not.
    emu::HostLibraries& libraries = frame.Libraries();
    const int assignBefore = frame.AssignCallsReached(), indicatorsBefore = frame.IndicatorCallsReached();
    const unsigned panes[2] = {0xE001, 0xE002};
    libraries.AssignContext(&host.GlobalModule(), nullptr);
    const int answer = libraries.SetIndicators(panes, 2);
    std::printf(
        "host libraries %s: AssignContext reached the host %d time(s); SetIndicators answered %d, "
        "reached the host %d time(s)\n",
        libraries.Patchable() ? "patchable" : "called directly", frame.AssignCallsReached() - assignBefore,
        answer, frame.IndicatorCallsReached() - indicatorsBefore);

    int rc = RunDemo(host);
    std::printf("events received: %zu\n", host.Events().size());
    addin->Done();
    std::printf("done\n");
    return rc;
}

int RunModuleSession(const Options& o) {
    std::unique_ptr<lang::Program> program = LoadModule(o.module);
    if (!program) return 1;

    emu::EmulatedHost host(o.settings);
    // The host's own frame is there before any add-in: the add-in's start-up takes the active
    // window for it.
    emu::HostFrame frame(host);
    if (o.frame) frame.Create();
    lang::Interpreter module(host, std::move(program));
    module.output = [](const std::string& line) { std::printf("%s\n", U(line).c_str()); };
    host.SetGlobalModule(&module);
#ifndef _WIN32
    // The linked add-in opens its windows in the headless window system: scripted users answer them.
    lang::ScriptedUsers users;
    module.SetScriptedUsers(&users);
    ui::NoWindowing noWindows;
    if (!o.windows) ui::ReplaceWindowing(&noWindows);
#endif

    std::ofstream log;
    if (!o.eventLog.empty()) log.open(Utf8Path(o.eventLog), std::ios::binary);
    host.onEvent = [&](const emu::RecordedEvent& e) {
        if (o.verbose)
            std::fprintf(stderr, "event: %s | %s | %s\n", U(e.source).c_str(), U(e.message).c_str(),
                         U(e.data).c_str());
        if (log) log << U(e.source) << '\t' << U(e.message) << '\t' << U(e.data) << '\n' << std::flush;
        module.OnExternalEvent(e);
    };

    lang::Forms forms(host, frame, module);
    module.SetForms(&forms);

    emu::AddInLoader addin(host);
    if (o.verbose)
        addin.onStarted = [&](emu::AddInConnection& started) {
            std::fprintf(stderr, "GetInfo: %d\nRegisterExtensionAs: %s\nregistered:", started.GetInfo(),
                         U(started.RegisterExtensionAs()).c_str());
            for (const std::string& name : host.RegisteredNames()) std::fprintf(stderr, " %s", name.c_str());
            std::fprintf(stderr, "\n%s", started.DescribeStartUp().c_str());
        };
    module.loadAddIn = [&](const std::string& fileName, std::string& error) {
        return addin.Load(fileName, error);
    };
    if (o.load) {
        std::string error;
        if (!addin.Load(error)) {
            std::fprintf(stderr, "klthost: cannot load the add-in: %s\n", error.c_str());
            return 2;
        }
    }

    int rc = 0;
    try {
        module.Run();
        // As the host's message loop does after start-up: external events keep reaching the module.
        if (!module.Stopping() && module.HasRoutine(std::string("ОбработкаВнешнегоСобытия"_cp)))
            module.ServeEvents(o.waitMs);
        if (std::optional<lang::LangError> late = module.TakePendingError()) throw *late;
    } catch (const lang::LangError& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", lang::DescribeError(o.module, e).c_str());
        rc = 1;
    }
    forms.CloseAll();
    module.ReleaseValues();
    addin.Done();
    if (o.verbose)
        std::fprintf(stderr, "host calls reached: SetIndicators %d, AssignContext %d\n",
                     frame.IndicatorCallsReached(), frame.AssignCallsReached());
    host.SetGlobalModule(nullptr);
    return rc;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!Parse(emu::Utf8Arguments(argc, argv), o)) {
        Usage();
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    return o.demo ? RunDemoSession(o) : RunModuleSession(o);
}
