// klthost: the emulated 1C:Enterprise host as a program. It loads the add-in as the host does,
// starts it for a user of a given rights set on an information base, and runs a scenario.
#include <cstdio>
#include <fstream>

#include "emulator/addin_connection.h"
#include "emulator/console.h"
#include "platform/platform.h"
#include "text/cp1251.h"

using namespace klt;

namespace {

struct Options {
    emu::HostSettings settings;
    std::string eventLog;
    bool demo = false;
};

void Usage() {
    std::fputs(
        "usage: klthost [--ib DIR] [--rights NAME] [--const NAME=VALUE]... [--events FILE] --demo\n"
        "  --ib DIR         information base directory the host reports\n"
        "  --rights NAME    rights set of the current user\n"
        "  --const N=V      a configuration constant (a number when V reads as one)\n"
        "  --events FILE    also write every external event received to FILE\n"
        "  --demo           create one object of each type, call methods, print what happened\n",
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
        } else if (a == "--demo") {
            o.demo = true;
        } else {
            std::fprintf(stderr, "klthost: unknown or incomplete option '%s'\n", a.c_str());
            return false;
        }
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

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!Parse(emu::Utf8Arguments(argc, argv), o) || !o.demo) {
        Usage();
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    emu::EmulatedHost host(o.settings);
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

    int rc = RunDemo(host);
    std::printf("events received: %zu\n", host.Events().size());
    addin->Done();
    std::printf("done\n");
    return rc;
}
