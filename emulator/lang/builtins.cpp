#include "emulator/lang/builtins.h"

#include <algorithm>
#include <map>

#include "emulator/lang/forms.h"
#include "emulator/lang/interpreter.h"
#include "emulator/lang/lexer.h"
#include "emulator/lang/scripted_users.h"
#include "emulator/lang/value_list.h"
#include "text/cp1251.h"
#include "text/literal.h"

namespace klt::lang {

using namespace klt::text::literals;
using host::Numeric;
using host::Value;
using Args = std::vector<Value>;

namespace {

std::string Cp(std::string_view s) {
    return std::string(s);
}

// An argument left out reads as the empty value; these give its number or text.
std::string Str(const Args& a, std::size_t i) {
    return i < a.size() ? a[i].GetString() : std::string();
}

long Int(const Args& a, std::size_t i, long otherwise = 0) {
    if (i >= a.size() || a[i].IsEmpty()) return otherwise;
    return a[i].GetInt32();
}

Value Num(std::size_t n) {
    return Value(Numeric(static_cast<std::int64_t>(n)));
}

bool IsBlank(const std::string& s) {
    return std::all_of(s.begin(), s.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

std::string Trim(const std::string& s, bool left, bool right) {
    std::size_t b = 0, e = s.size();
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    if (left)
        while (b < e && blank(s[b])) ++b;
    if (right)
        while (e > b && blank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

unsigned char ToUpper(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0) return static_cast<unsigned char>(c - 32);
    if (c == 0xB8) return 0xA8;  // ё
    return c;
}

Value Message(Interpreter& in, Args& a) {
    in.Say(Present(a[0]));
    return {};
}

Value Warning(Interpreter& in, Args& a) {
    // No window in the emulated host: the text goes where messages go.
    in.Say(Cp("Предупреждение: "_cp) + Present(a[0]));
    return {};
}

Value CreateObject(Interpreter& in, Args& a) {
    const std::string name = a[0].GetString();
    if (text::EqualsNoCase(name, "СписокЗначений"_cp) || text::EqualsNoCase(name, "ValueList")) {
        return Value(static_cast<host::Context*>(new ValueList(&in.host())));
    }
    if (text::EqualsNoCase(name, "Эмулятор"_cp) || text::EqualsNoCase(name, "Emulator")) {
        return Value(
            static_cast<host::Context*>(new UserScriptObject(in.scriptedUsers(), &in.host(), in.forms())));
    }
    Value object = in.host().CreateObject(name);
    if (!object.GetContext()) throw BuiltinError{Cp("Неизвестный тип объекта ("_cp) + name + ")"};
    return object;
}

Value LoadAddIn(Interpreter& in, Args& a) {
    const std::string name = a[0].GetString();
    std::string error;
    Interpreter& global = in.global();
    if (global.loadAddIn && global.loadAddIn(name, error)) return Value(1);
    // As the host does: a message, and 0 for the module to decide.
    in.Say(Cp("Ошибка загрузки внешней компоненты "_cp) + name + (error.empty() ? "" : ": " + error));
    return Value(0);
}

Value OpenForm(Interpreter& in, Args& a) {
    Forms* forms = in.forms();
    if (!forms) throw BuiltinError{Cp("Форма не найдена ("_cp) + a[0].GetString() + ")"};
    return forms->Open(a[0].GetString());
}

Value EndOfWork(Interpreter& in, Args&) {
    in.RequestStop();
    return {};
}

Value String(Interpreter&, Args& a) {
    return Value(Present(a[0]));
}

Value Number(Interpreter&, Args& a) {
    return Value(a[0].GetNumeric());
}

Value StrLen(Interpreter&, Args& a) {
    return Num(Str(a, 0).size());
}

Value Left(Interpreter&, Args& a) {
    const std::string s = Str(a, 0);
    const long n = Int(a, 1);
    return Value(n <= 0 ? std::string() : s.substr(0, static_cast<std::size_t>(n)));
}

Value Right(Interpreter&, Args& a) {
    const std::string s = Str(a, 0);
    const long n = Int(a, 1);
    if (n <= 0) return Value(std::string());
    const std::size_t k = std::min(s.size(), static_cast<std::size_t>(n));
    return Value(s.substr(s.size() - k));
}

Value Mid(Interpreter&, Args& a) {
    const std::string s = Str(a, 0);
    long start = std::max(Int(a, 1, 1), 1L);
    if (static_cast<std::size_t>(start) > s.size()) return Value(std::string());
    const long count = Int(a, 2, static_cast<long>(s.size()));
    if (count <= 0) return Value(std::string());
    return Value(s.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count)));
}

Value Find(Interpreter&, Args& a) {
    const std::size_t at = Str(a, 0).find(Str(a, 1));
    return Num(at == std::string::npos ? 0 : at + 1);
}

Value Replace(Interpreter&, Args& a) {
    std::string s = Str(a, 0);
    const std::string what = Str(a, 1), with = Str(a, 2);
    if (what.empty()) return Value(s);
    std::string out;
    std::size_t from = 0;
    for (std::size_t at; (at = s.find(what, from)) != std::string::npos; from = at + what.size())
        out += s.substr(from, at - from) + with;
    out += s.substr(from);
    return Value(out);
}

Value Count(Interpreter&, Args& a) {
    const std::string s = Str(a, 0), what = Str(a, 1);
    if (what.empty()) return Num(0);
    std::size_t n = 0;
    for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + what.size())) ++n;
    return Num(n);
}

Value TrimAll(Interpreter&, Args& a) {
    return Value(Trim(Str(a, 0), true, true));
}

Value TrimLeft(Interpreter&, Args& a) {
    return Value(Trim(Str(a, 0), true, false));
}

Value TrimRight(Interpreter&, Args& a) {
    return Value(Trim(Str(a, 0), false, true));
}

Value Upper(Interpreter&, Args& a) {
    std::string s = Str(a, 0);
    for (char& c : s) c = static_cast<char>(ToUpper(static_cast<unsigned char>(c)));
    return Value(s);
}

Value Lower(Interpreter&, Args& a) {
    return Value(FoldName(Str(a, 0)));
}

Value Chr(Interpreter&, Args& a) {
    const long code = Int(a, 0);
    if (code < 0 || code > 255) return Value(std::string());
    return Value(std::string(1, static_cast<char>(code)));
}

Value Asc(Interpreter&, Args& a) {
    const std::string s = Str(a, 0);
    return Num(s.empty() ? 0 : static_cast<unsigned char>(s[0]));
}

Value WholePart(Interpreter&, Args& a) {
    return Value(a[0].GetNumeric().Truncated());
}

Value Round(Interpreter&, Args& a) {
    const long digits = Int(a, 1, 0);
    // Method 1 (the default) takes a half away from zero, 0 toward it.
    const bool halfUp = Int(a, 2, 1) != 0;
    return Value(a[0].GetNumeric().Rounded(static_cast<int>(std::clamp(digits, -30L, 30L)), halfUp));
}

Value MinMax(Args& a, bool max) {
    Value best = a[0];
    for (std::size_t i = 1; i < a.size(); ++i) {
        const int c = a[i].GetNumeric().Compare(best.GetNumeric());
        if (max ? c > 0 : c < 0) best = a[i];
    }
    return Value(best.GetNumeric());
}

Value Max(Interpreter&, Args& a) {
    return MinMax(a, true);
}

Value Min(Interpreter&, Args& a) {
    return MinMax(a, false);
}

Value TypeString(Interpreter&, Args& a) {
    return Value(a[0].GetTypeString());
}

Value IsEmptyValue(Interpreter&, Args& a) {
    const Value& v = a[0];
    bool empty = v.IsEmpty() || (v.kind() == host::ValueKind::Number && v.GetNumeric().IsZero()) ||
                 (v.kind() == host::ValueKind::String && IsBlank(v.GetString()));
    return Value(empty ? 1 : 0);
}

Value IsEmptyString(Interpreter&, Args& a) {
    return Value(IsBlank(Str(a, 0)) ? 1 : 0);
}

Value ErrorText(Interpreter& in, Args&) {
    return Value(in.LastErrorText());
}

const Builtin kBuiltins[] = {
    {"Сообщить"_cp, "Message", 1, 2, false, &Message},
    {"Предупреждение"_cp, "DoMessageBox", 1, 2, false, &Warning},
    {"СоздатьОбъект"_cp, "CreateObject", 1, 1, true, &CreateObject},
    {"ЗавершитьРаботуСистемы"_cp, "ExitSystem", 0, 1, false, &EndOfWork},
    {"ЗагрузитьВнешнююКомпоненту"_cp, "LoadAddIn", 1, 1, true, &LoadAddIn},
    {"ОткрытьФорму"_cp, "OpenForm", 1, 3, true, &OpenForm},
    {"Строка"_cp, "String", 1, 1, true, &String},
    {"Число"_cp, "Number", 1, 1, true, &Number},
    {"СтрДлина"_cp, "StrLen", 1, 1, true, &StrLen},
    {"Лев"_cp, "Left", 2, 2, true, &Left},
    {"Прав"_cp, "Right", 2, 2, true, &Right},
    {"Сред"_cp, "Mid", 2, 3, true, &Mid},
    {"Найти"_cp, "Find", 2, 2, true, &Find},
    {"СтрЗаменить"_cp, "StrReplace", 3, 3, true, &Replace},
    {"СтрЧислоВхождений"_cp, "StrCountOccur", 2, 2, true, &Count},
    {"СокрЛП"_cp, "TrimAll", 1, 1, true, &TrimAll},
    {"СокрЛ"_cp, "TrimL", 1, 1, true, &TrimLeft},
    {"СокрП"_cp, "TrimR", 1, 1, true, &TrimRight},
    {"ВРег"_cp, "Upper", 1, 1, true, &Upper},
    {"НРег"_cp, "Lower", 1, 1, true, &Lower},
    {"Симв"_cp, "Chr", 1, 1, true, &Chr},
    {"КодСимв"_cp, "Asc", 1, 1, true, &Asc},
    {"Цел"_cp, "Int", 1, 1, true, &WholePart},
    {"Окр"_cp, "Round", 1, 3, true, &Round},
    {"Макс"_cp, "Max", 1, 255, true, &Max},
    {"Мин"_cp, "Min", 1, 255, true, &Min},
    {"ТипЗначенияСтр"_cp, "ValueTypeStr", 1, 1, true, &TypeString},
    {"ПустоеЗначение"_cp, "EmptyValue", 1, 1, true, &IsEmptyValue},
    {"ПустаяСтрока"_cp, "EmptyStr", 1, 1, true, &IsEmptyString},
    {"ОписаниеОшибки"_cp, "ErrorDescription", 0, 0, true, &ErrorText},
};

}  // namespace

std::string Present(const host::Value& v) {
    if (v.kind() == host::ValueKind::Context) return v.GetTypeString();
    return v.GetString();
}

const Builtin* FindBuiltin(const std::string& key) {
    static const std::map<std::string, const Builtin*> table = [] {
        std::map<std::string, const Builtin*> t;
        for (const Builtin& b : kBuiltins) {
            t[FoldName(std::string(b.russian))] = &b;
            t[FoldName(std::string(b.english))] = &b;
        }
        return t;
    }();
    auto it = table.find(key);
    return it == table.end() ? nullptr : it->second;
}

}  // namespace klt::lang
