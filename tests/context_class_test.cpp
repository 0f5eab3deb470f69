// The six context classes as the host sees them: method tables, lookup, slot answers, entries.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "drivers/aura.h"
#include "drivers/nippon.h"
#include "drivers/tablo.h"
#include "frontdesk/vkusnica.h"
#include "halls/zaly.h"
#include "hostwin/windows_object.h"
#include "platform/diagnostics.h"
#include "test_support.h"
#include "text/cp1251.h"

namespace klt::test {
namespace {

struct ClassCase {
    const char* registered;
    const core::ClassInfo* info;
    int methods;
    std::string typeString;
    const char* word;
    const char* runtimeName;
    bool english;
};

std::vector<ClassCase> Classes() {
    return {
        {"Vkusnica", &frontdesk::CWin::kInfo, 14, Cp("Вкусница"_cp), "Service", "CWin", false},
        {"Windows", &hostwin::CWin1::kInfo, 40, Cp("Вкусница"_cp), "Service", "CWin1", false},
        {"Aura", &drivers::CAura::kInfo, 30, "KLT Aura", "Aura", "CAura", true},
        {"Nippon", &drivers::CNippon::kInfo, 23, "KLT Nippon", "Nippon", "CNippon", true},
        {"Tablo", &drivers::CTablo::kInfo, 12, "KLT Tablo", "Service", "CTablo", false},
        {"Zaly", &halls::CZal::kInfo, 2, "KLT Zaly", "Zaly", "CZal", false},
    };
}

class ContextClasses : public AddInFixture {
  protected:
    void SetUp() override { Start(Cp("Администратор"_cp)); }
    host::Value Make(const char* name) { return host().CreateObject(name); }
};

TEST_F(ContextClasses, EachClassHasItsIdentityAndSlotAnswers) {
    for (const ClassCase& c : Classes()) {
        SCOPED_TRACE(c.registered);
        host::Value v = Make(c.registered);
        host::Context* o = v.GetContext();
        ASSERT_NE(o, nullptr);
        EXPECT_STREQ(o->GetRuntimeClass()->className, c.runtimeName);
        EXPECT_EQ(o->GetTypeString(), c.typeString);
        EXPECT_EQ(o->GetNMethods(), c.methods);
        std::string word;
        EXPECT_EQ(o->GetClassWord(word), 1);
        EXPECT_EQ(word, c.word);
        EXPECT_EQ(o->Query7(), 1);
        EXPECT_EQ(o->Query8(), 0);
        EXPECT_EQ(o->Query12(), 0);
        EXPECT_EQ(o->Query13(), 0);
        EXPECT_EQ(o->Query33(), 0);
        EXPECT_EQ(o->GetValueType(), host::kAddInObjectType);
        EXPECT_EQ(o->GetTypeNumber(), 100);
        // No class has properties.
        EXPECT_EQ(o->GetNProps(), 0);
        EXPECT_EQ(o->FindProp("Anything"), -1);
        EXPECT_EQ(o->GetPropName(0, 0), nullptr);
        host::Value untouched(7);
        EXPECT_EQ(o->GetPropVal(0, untouched), -1);
        EXPECT_EQ(untouched, host::Value(7));
        EXPECT_EQ(o->SetPropVal(0, untouched), -1);
        EXPECT_EQ(o->IsPropReadable(0), 0);
        EXPECT_EQ(o->IsPropWritable(0), 0);
        // Every parameter has a default and the value is left as the host gave it.
        host::Value def(3);
        EXPECT_EQ(o->GetParamDefValue(0, 0, &def), 1);
        EXPECT_EQ(def, host::Value(3));
        EXPECT_EQ(v.GetTypeString(), c.typeString);
    }
}

TEST_F(ContextClasses, EveryRowIsFoundByEachOfItsNamesInAnyCase) {
    for (const ClassCase& c : Classes()) {
        SCOPED_TRACE(c.registered);
        host::Value v = Make(c.registered);
        host::Context* o = v.GetContext();
        std::set<std::string> russian;
        for (int i = 0; i < c.methods; ++i) {
            std::string en = o->GetMethodName(i, 0);
            std::string ru = o->GetMethodName(i, 1);
            EXPECT_TRUE(russian.insert(ru).second) << "duplicate name at " << i;
            EXPECT_EQ(o->FindMethod(ru.c_str()), i);
            std::string upper, lower;
            for (char ch : ru) lower += static_cast<char>(text::ToLower(static_cast<unsigned char>(ch)));
            EXPECT_EQ(o->FindMethod(lower.c_str()), i) << "Cyrillic case must fold";
            if (c.english) {
                EXPECT_FALSE(en.empty());
                EXPECT_EQ(o->FindMethod(en.c_str()), i);
                for (char ch : en) upper += static_cast<char>(ch >= 'a' && ch <= 'z' ? ch - 32 : ch);
                EXPECT_EQ(o->FindMethod(upper.c_str()), i);
            } else {
                EXPECT_EQ(en, "");
            }
            EXPECT_GE(o->GetNParams(i), 0);
            EXPECT_TRUE(o->HasRetVal(i) == 0 || o->HasRetVal(i) == 1);
        }
        EXPECT_STREQ(o->GetMethodName(c.methods, 0), "mError");
        EXPECT_STREQ(o->GetMethodName(c.methods, 1), "mError");
        EXPECT_STREQ(o->GetMethodName(-1, 1), "mError");
        EXPECT_EQ(o->FindMethod("NoSuchMethod"), -1);
        EXPECT_EQ(o->FindMethod(Cp("НетТакогоМетода"_cp).c_str()), -1);
        // Numbers the host never obtained from lookup read as an empty row, not past the table.
        EXPECT_EQ(o->GetNParams(c.methods + 5), 0);
        EXPECT_EQ(o->HasRetVal(-3), 0);
    }
}

TEST_F(ContextClasses, PrinterNamesAndTheirSpellings) {
    host::Value aura = Make("Aura");
    host::Context* a = aura.GetContext();
    EXPECT_EQ(a->FindMethod("openport"), 0);
    EXPECT_EQ(a->FindMethod("OPENPORT"), 0);
    EXPECT_EQ(a->FindMethod(Cp("ОткрытьПорт"_cp).c_str()), 0);
    EXPECT_EQ(a->FindMethod(Cp("ОТКРЫТЬПОРТ"_cp).c_str()), 0);
    EXPECT_STREQ(a->GetMethodName(0, 1), Cp("ОткрытьПорт"_cp).c_str());
    EXPECT_STREQ(a->GetMethodName(0, 0), "OpenPort");
    EXPECT_STREQ(a->GetMethodName(30, 0), "mError");
    EXPECT_EQ(a->FindMethod("SetFont"), 21);
    EXPECT_EQ(a->GetNParams(0), 3);
    EXPECT_EQ(a->GetNParams(1), 5);
    EXPECT_EQ(a->HasRetVal(29), 1);
    EXPECT_EQ(a->HasRetVal(28), 1);
    EXPECT_EQ(a->HasRetVal(25), 0);

    host::Value nippon = Make("Nippon");
    host::Context* n = nippon.GetContext();
    EXPECT_EQ(n->FindMethod("SetFont"), -1) << "Nippon has no SetFont; SetFontPrint must not match a prefix";
    EXPECT_EQ(n->FindMethod("SetFontBar"), 16);
    EXPECT_EQ(n->FindMethod("SaveBuf"), 22);
    EXPECT_EQ(n->GetNParams(0), 5);
}

TEST_F(ContextClasses, RussianOnlyTablesAndTheirParameterCounts) {
    host::Value zaly = Make("Zaly");
    EXPECT_EQ(zaly.GetContext()->FindMethod(Cp("Монитор"_cp).c_str()), 0);
    EXPECT_EQ(zaly.GetContext()->FindMethod(Cp("НастройкаЗалов"_cp).c_str()), 1);
    EXPECT_EQ(zaly.GetContext()->GetNParams(0), 3);
    // Every English name is empty, so the empty name finds the first row.
    EXPECT_EQ(zaly.GetContext()->FindMethod(""), 0);

    host::Value vk = Make("Vkusnica");
    EXPECT_EQ(vk.GetContext()->FindMethod(Cp("ОткрытьЗал"_cp).c_str()), 10);
    EXPECT_EQ(vk.GetContext()->GetNParams(10), 11);
    EXPECT_EQ(vk.GetContext()->GetNParams(11), 8);
    EXPECT_EQ(vk.GetContext()->HasRetVal(5), 1);

    host::Value win = Make("Windows");
    host::Context* w = win.GetContext();
    EXPECT_EQ(w->FindMethod(Cp("УстановитьРазмеры"_cp).c_str()), 11);
    EXPECT_EQ(w->GetNParams(11), 3);
    EXPECT_EQ(w->GetNParams(31), 2);
    EXPECT_EQ(w->GetNParams(34), 2);
    EXPECT_EQ(w->GetNParams(39), 2);
    EXPECT_EQ(w->FindMethod(Cp("ПроверкаВерсииDLL"_cp).c_str()), 19);
    EXPECT_EQ(w->FindMethod(Cp("проверкаверсииdll"_cp).c_str()), 19);
    EXPECT_EQ(w->FindMethod(Cp("ПодборМЕНЮ_КПК"_cp).c_str()), 39);

    host::Value tablo = Make("Tablo");
    EXPECT_EQ(tablo.GetContext()->FindMethod(Cp("ОткрытьПорт"_cp).c_str()), 6);
    EXPECT_EQ(tablo.GetContext()->HasRetVal(6), 1);
}

TEST_F(ContextClasses, EntriesRefuseTheWrongKindAndOutOfRangeNumbers) {
    host::Value aura = Make("Aura");
    host::Context* a = aura.GetContext();
    host::Value result;
    host::Value arg(1);
    host::Value* args[5] = {&arg, &arg, &arg, &arg, &arg};
    EXPECT_EQ(a->CallAsFunc(16, result, args), 1) << "procedure through the function entry";
    EXPECT_EQ(a->CallAsProc(0, args), 1) << "function through the procedure entry";
    EXPECT_EQ(a->CallAsProc(30, args), 1);
    EXPECT_EQ(a->CallAsProc(-1, args), 1);
    EXPECT_TRUE(result.IsEmpty());
    EXPECT_TRUE(host().Errors().empty()) << "a refused number does nothing, not even an error";
    EXPECT_EQ(a->CallAsProc(16, args), 0) << "SetBit does nothing and returns normally";
}

// A class of the test's own whose bodies throw, to see the entries' catch-all, and whose row
// without a body is a method built later.
class Throwing : public core::ContextClassBase {
  public:
    Throwing();
    void Boom(core::MethodCall&) { throw std::runtime_error("boom"); }
    void BoomF(core::MethodCall&) { throw 42; }
};
const core::MethodDef kThrowingMethods[] = {{"Boom", "Взрыв"_cp, 0, 0, core::Body<&Throwing::Boom>},
                                            {"BoomF", "ВзрывФ"_cp, 1, 0, core::Body<&Throwing::BoomF>},
                                            {"", "Позже"_cp, 1, 0}};
host::Context* MakeThrowing() {
    return new Throwing();
}
const host::RuntimeClass kThrowingClass{"CThrowing", &MakeThrowing};
const core::ClassInfo kThrowingInfo{&kThrowingClass, 0, "Throwing", "Test", kThrowingMethods, 3};
Throwing::Throwing() : ContextClassBase(kThrowingInfo) {}

TEST_F(ContextClasses, AMethodNotYetBuiltIsARuntimeErrorNamingIt) {
    host::Value later(static_cast<host::Context*>(new Throwing()));
    host::Value result;
    EXPECT_EQ(later.GetContext()->CallAsFunc(2, result, nullptr), 1);
    ASSERT_EQ(host().Errors().size(), 1u);
    EXPECT_EQ(host().Errors()[0].code, 1006);
    EXPECT_NE(host().Errors()[0].text.find(Cp("Позже"_cp)), std::string::npos);
    EXPECT_NE(host().Errors()[0].text.find("CThrowing"), std::string::npos);
    EXPECT_TRUE(result.IsEmpty());
}

// The trace keeps what the configuration is not told.
TEST_F(ContextClasses, AnExceptionInEitherEntryBecomesErrorException1006) {
    RecordingSink sink;
    Swap<platform::DiagnosticsSink> diagnostics(platform::ReplaceDiagnostics, &sink);
    host::Value v(static_cast<host::Context*>(new Throwing()));
    host::Value result;
    EXPECT_EQ(v.GetContext()->CallAsProc(0, nullptr), 1);
    EXPECT_EQ(v.GetContext()->CallAsFunc(1, result, nullptr), 1);
    ASSERT_EQ(host().Errors().size(), 2u);
    for (const emu::RuntimeError& e : host().Errors()) {
        EXPECT_EQ(e.text, "Error: exception");
        EXPECT_EQ(e.code, 1006);
    }
    EXPECT_EQ(sink.lines,
              (std::vector<std::string>{Cp("klt: CThrowing.Взрыв: boom"_cp),
                                        Cp("klt: CThrowing.ВзрывФ: exception of an unknown type"_cp)}));
}

TEST_F(ContextClasses, OmittedTrailingArgumentsReadAsEmpty) {
    host::Value win = Make("Windows");
    // УстановитьСтроку(2) without the text: line 2 becomes the bare version text.
    ASSERT_TRUE(host().CallMethod(*win.GetContext(), Cp("УстановитьСтроку"_cp), {host::Value(2)}, nullptr));
    EXPECT_FALSE(
        host().CallMethod(*win.GetContext(), Cp("Отладка"_cp), {host::Value(1), host::Value(2)}, nullptr))
        << "more arguments than parameters is the host's error";
    EXPECT_FALSE(host().CallMethod(*win.GetContext(), "Missing", {}, nullptr));
}

}  // namespace
}  // namespace klt::test
