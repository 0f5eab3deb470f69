// A module in the 1C language as the configuration's global module of the emulated host: objects of
// the add-in and the host, method calls as the host makes them, the add-in's run-time errors, the
// module seen by the add-in through host::Module, and external events.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "emulator/addin_connection.h"
#include "emulator/host_frame.h"
#include "emulator/lang/forms.h"
#include "emulator/lang/interpreter.h"
#include "emulator/lang/parser.h"
#include "emulator/lang/scripted_users.h"
#include "hostwin/window_state.h"
#include "platform/files.h"
#include "halls/editor_dialogs.h"
#include "res/dialogs.h"
#include "test_support.h"

namespace klt::test {
namespace {

using lang::LangError;

// An object of the host's own kind for the tests: "Ждать" raises an external event and turns the
// loop as a modal window does, then answers whether module code called "Отметить" meanwhile;
// "Поднять" only raises one.
class Probe : public host::Context {
  public:
    static inline emu::EmulatedHost* host = nullptr;
    static inline int marks = 0;
    static inline int alive = 0;
    static const host::RuntimeClass kClass;

    Probe() { ++alive; }
    ~Probe() override { --alive; }

    const host::RuntimeClass* GetRuntimeClass() const override { return &kClass; }
    const char* GetTypeString() const override { return "Probe"; }
    int FindMethod(const char* name) const override {
        if (text::EqualsNoCase(name, "Ждать"_cp)) return 0;
        if (text::EqualsNoCase(name, "Отметить"_cp)) return 1;
        if (text::EqualsNoCase(name, "Поднять"_cp)) return 2;
        return -1;
    }
    int HasRetVal(int number) const override { return number == 0 ? 1 : 0; }
    int CallAsFunc(int number, host::Value& result, host::Value**) override {
        if (number != 0) return 1;
        const int before = marks;
        host->ExternalEvent("Probe", "Wait", "1");
        platform::Get().loop->RunUntil([&] { return marks > before; }, 100);
        result.AssignInt(marks > before ? 1 : 0);
        return 0;
    }
    int CallAsProc(int number, host::Value**) override {
        if (number == 2) host->ExternalEvent("Probe", "Raise", "");
        if (number == 1) ++marks;
        return number == 1 || number == 2 ? 0 : 1;
    }
};
const host::RuntimeClass Probe::kClass{"CProbe", [] { return static_cast<host::Context*>(new Probe()); }};

class LangHost : public AddInFixture {
  protected:
    void SetUp() override {
        Start(Cp("РабочееМесто"_cp), {{Cp("ВыводитьЦену"_cp), host::Value(2)}}, "C:\\Base\\");
    }
    void TearDown() override {
        if (module_) host().SetGlobalModule(nullptr);
        module_.reset();
        AddInFixture::TearDown();
    }

    // Parses the module and makes it the global module, receiving the host's external events.
    lang::Interpreter& Load(const char* utf8) {
        module_ = std::make_unique<lang::Interpreter>(host(), lang::Parse(text::Utf8ToCp1251(utf8)));
        module_->output = [this](const std::string& line) { out_ += text::Cp1251ToUtf8(line) + "\n"; };
        host().SetGlobalModule(module_.get());
        host().onEvent = [this](const emu::RecordedEvent& e) { module_->OnExternalEvent(e); };
        return *module_;
    }

    // Runs the body; "line:column message" of the error it stops with, or "ok".
    std::string RunBody() {
        try {
            module_->Run();
        } catch (const LangError& e) {
            code_ = e.code();
            return std::to_string(e.pos().line) + ":" + std::to_string(e.pos().column) + " " +
                   text::Cp1251ToUtf8(e.message());
        }
        return "ok";
    }

    host::Module& FirstModule() { return *host().GetLoadedModule(host().GetFirstLoadedModuleID()); }

    std::unique_ptr<lang::Interpreter> module_;
    std::string out_;
    int code_ = 0;
};

// ---- objects ----

TEST_F(LangHost, CreatesTheSixAddInTypesAndAValueList) {
    Load(
        "Сообщить(ТипЗначенияСтр(СоздатьОбъект(\"Vkusnica\")) + \"|\" + "
        "ТипЗначенияСтр(СоздатьОбъект(\"windows\")));\n"
        "Сообщить(ТипЗначенияСтр(СоздатьОбъект(\"Aura\")) + \"|\" + "
        "ТипЗначенияСтр(СоздатьОбъект(\"Nippon\")));\n"
        "Сообщить(ТипЗначенияСтр(СоздатьОбъект(\"Tablo\")) + \"|\" + "
        "ТипЗначенияСтр(СоздатьОбъект(\"Zaly\")));\n"
        "Сообщить(ТипЗначенияСтр(СоздатьОбъект(\"СписокЗначений\")));\n"
        "а = СоздатьОбъект(\"Справочник.Товары\");");
    EXPECT_EQ(RunBody(), "5:5 Неизвестный тип объекта (Справочник.Товары)");
    // Each of the six answers its own type string; the list answers the host's.
    std::vector<std::string> lines;
    for (std::size_t at = 0, next; (next = out_.find('\n', at)) != std::string::npos; at = next + 1)
        lines.push_back(out_.substr(at, next - at));
    ASSERT_EQ(lines.size(), 4u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(lines[i].find('|'), std::string::npos);
        EXPECT_NE(lines[i].front(), '|') << "an add-in object without a type string: " << lines[i];
        EXPECT_NE(lines[i].back(), '|') << "an add-in object without a type string: " << lines[i];
    }
    EXPECT_EQ(lines[3], "СписокЗначений");
}

TEST_F(LangHost, ValueListKeepsValuesAndRepresentationsByPosition) {
    Load(
        "С = СоздатьОбъект(\"СписокЗначений\");\n"
        "С.ДобавитьЗначение(10, \"десять\"); С.ДобавитьЗначение(\"x\"); С.AddValue(0.5, \"половина\");\n"
        "Пред = \"\";\n"
        "Сообщить(С.РазмерСписка());\n"
        "Сообщить(Строка(С.ПолучитьЗначение(1, Пред)) + \" \" + Пред);\n"
        "Сообщить(\"\" + С.ПолучитьЗначение(3, Пред) + \" \" + Пред);\n"
        "Сообщить(С.ПолучитьЗначение(2) + \"[\" + С.НайтиЗначение(0.5) + \"]\");\n"
        "С.УдалитьЗначение(1); Сообщить(С.GetListSize());\n"
        "С.ПолучитьЗначение(5, Пред);");
    EXPECT_EQ(RunBody(), "9:3 Неверное значение позиции в списке значений");
    EXPECT_EQ(out_, "3\n10 десять\n0.5 половина\nx[3]\n2\n");
}

// ---- method calls ----

TEST_F(LangHost, MethodsTakeOmittedTrailingArgumentsAsEmptyValues) {
    Load(
        "Окна = СоздатьОбъект(\"Windows\");\n"
        "Окна.РежимЭкрана(3);\n"
        "Сообщить(\"после 3\");\n"
        "Окна.РежимЭкрана();\n"
        "Окна.УстановитьСтроку(1);\n"
        "Окна.РежимЭкрана(1, 2);");
    EXPECT_EQ(RunBody(), "6:6 Слишком много фактических параметров");
    EXPECT_EQ(out_, "после 3\n");
    // The omitted mode read as 0, which the object turns into its first mode.
    EXPECT_EQ(core::State().screenMode, 1);
}

// A window that cannot be made is an exception inside the add-in's call: the module hears
// "Error: exception" and stops there, or its Попытка takes it.
TEST_F(LangHost, AddInRunTimeErrorsStopTheModuleAtTheCall) {
    ui::NoWindowing noWindows;
    Swap<ui::Windowing> windowing(ui::ReplaceWindowing, &noWindows);
    Load(
        "Окна = СоздатьОбъект(\"Windows\");\n"
        "В = СоздатьОбъект(\"Vkusnica\");\n"
        "  Курс = В.ВыборКурса();\n"
        "Сообщить(\"не дошли\");");
    const std::string error = RunBody();
    EXPECT_EQ(error.substr(0, 5), "3:12 ") << error;
    EXPECT_NE(error.find("Error: exception"), std::string::npos) << error;
    EXPECT_NE(error.find("1006"), std::string::npos) << error;
    EXPECT_EQ(code_, 1006);
    EXPECT_EQ(out_, "");
    EXPECT_TRUE(host().Errors().empty()) << "the error was taken, not left for the next call";
}

TEST_F(LangHost, MissingMethodsAndTryAroundAddInErrors) {
    ui::NoWindowing noWindows;
    Swap<ui::Windowing> windowing(ui::ReplaceWindowing, &noWindows);
    Load(
        "В = СоздатьОбъект(\"Vkusnica\");\n"
        "Попытка\n Курс = В.ВыборКурса();\nИсключение\n Сообщить(\"поймали\");\nКонецПопытки;\n"
        "В.НетТакого(1);");
    EXPECT_EQ(RunBody(), "7:3 Метод объекта не обнаружен (НетТакого)");
    EXPECT_EQ(out_, "поймали\n");
}

TEST_F(LangHost, HostGlobalsAreReachableByName) {
    Load(
        "Сообщить(НазваниеНабораПрав());\nСообщить(КаталогИБ());\nСообщить(Константа.ВыводитьЦену + 1);\n"
        "а = Константа.НетТакой;");
    EXPECT_EQ(RunBody(), "4:15 Поле объекта не обнаружено (НетТакой)");
    EXPECT_EQ(out_, "РабочееМесто\nC:\\Base\\\n3\n");
}

// ---- the module seen by the add-in ----

TEST_F(LangHost, TheAddInFindsAndCallsGlobalFunctionsAsTheHostDoes) {
    Load(
        "Функция глРазрешитьВнестиЗаказ(Зал, Стол) Экспорт\n"
        " Если Зал = 2 Тогда Возврат \"Да\"; КонецЕсли;\n"
        " Стол = Стол * 10;\n"
        " Возврат 0;\n"
        "КонецФункции\n"
        "Процедура ПослеОткрытияФормы()\n"
        " Сообщить(\"форма\");\n"
        "КонецПроцедуры\n");
    ASSERT_EQ(RunBody(), "ok");
    host::Module& m = FirstModule();
    EXPECT_EQ(&m, host().GetExecutedModule());
    const int f = m.FindFunc("ГЛРАЗРЕШИТЬВНЕСТИЗАКАЗ"_cp.data());
    ASSERT_GE(f, 0);
    host::Value hall(2), table(5), result;
    host::Value* args[] = {&hall, &table};
    ASSERT_EQ(m.CallAsFunc(f, result, 2, args), 1);
    EXPECT_EQ(result, host::Value(Cp("Да"_cp)));

    hall.AssignInt(1);
    ASSERT_EQ(m.CallAsFunc(f, result, 2, args), 1);
    EXPECT_EQ(result.GetInt32(), 0);
    EXPECT_EQ(result.kind(), host::ValueKind::Number);
    EXPECT_EQ(table.GetInt32(), 50) << "parameters are the host's values, passed by reference";

    // A procedure is no function, but may be run as a procedure.
    EXPECT_LT(m.FindFunc("ПослеОткрытияФормы"_cp.data()), 0);
    const int p = m.FindProc("ПослеОткрытияФормы"_cp.data(), 0);
    ASSERT_GE(p, 0);
    EXPECT_EQ(m.CallAsProc(p, 0, nullptr), 1);
    EXPECT_EQ(out_, "форма\n");
    EXPECT_LT(m.FindFunc("НетТакой"), 0);
    EXPECT_EQ(m.CallAsFunc(p, result, 0, nullptr), 0) << "a procedure answers no value";
}

TEST_F(LangHost, AnErrorInCodeTheAddInCalledReachesTheModuleLater) {
    Load("Функция ПолЗал(Н) Экспорт\n Возврат 1 / Н;\nКонецФункции\n");
    ASSERT_EQ(RunBody(), "ok");
    host::Module& m = FirstModule();
    host::Value zero(0), result;
    host::Value* args[] = {&zero};
    EXPECT_EQ(m.CallAsFunc(m.FindFunc("ПолЗал"_cp.data()), result, 1, args), 0) << "the call failed";
    std::optional<LangError> e = module_->TakePendingError();
    ASSERT_TRUE(e);
    EXPECT_EQ(e->pos().line, 2);
    EXPECT_EQ(e->pos().column, 12);
}

TEST_F(LangHost, ModuleVariablesAreSetByTheAddIn) {
    Load(
        "Перем глЗакрытьОкнаГлобально Экспорт;\nПерем Другая;\n"
        "Процедура Показать() Экспорт\n Сообщить(глЗакрытьОкнаГлобально);\nКонецПроцедуры\n"
        "глЗакрытьОкнаГлобально = 0;");
    ASSERT_EQ(RunBody(), "ok");
    host::Module& m = FirstModule();
    const int v = m.FindStaticVar("глЗакрытьОкнаГлобально"_cp.data());
    ASSERT_GE(v, 0);
    EXPECT_LT(m.FindStaticVar("НетТакой"), 0);
    EXPECT_EQ(m.SetStaticVarValue(v, host::Value(1), 0), 1);
    EXPECT_EQ(m.SetStaticVarValue(99, host::Value(1), 0), 0);
    m.CallAsProc(m.FindProc("Показать"_cp.data(), 0), 0, nullptr);
    EXPECT_EQ(out_, "1\n");
    EXPECT_EQ(*module_->ModuleVariable(Cp("глЗакрытьОкнаГлобально"_cp)), host::Value(1));
}

// ---- external events and the end of work ----

TEST_F(LangHost, EventsWaitUntilTheRunningCodeHasReturned) {
    Probe::host = &host();
    ASSERT_TRUE(host().RegisterContextClass(&Probe::kClass, "Probe", host::kAddInObjectType));
    Load(
        "Процедура ОбработкаВнешнегоСобытия(Источник, Событие, Данные)\n"
        " Сообщить(Источник + \"/\" + Событие + \"/\" + Данные);\n"
        "КонецПроцедуры\n"
        "Процедура Работа()\n П = СоздатьОбъект(\"Probe\");\n П.Поднять();\n Сообщить(\"после вызова\");\n"
        "КонецПроцедуры\n"
        "Работа();\nСообщить(\"первый\");\nСообщить(\"второй\");");
    host().ExternalEvent("A", "B", "C");
    ASSERT_EQ(RunBody(), "ok");
    EXPECT_EQ(out_, "после вызова\nпервый\nвторой\nA/B/C\nProbe/Raise/\n");
    EXPECT_EQ(platform_.loop.ActiveTimers(), 0u) << "nothing is left posted once the events are handed over";
    host().UnRegisterContextClass(&Probe::kClass);
}

TEST_F(LangHost, EventsReachTheModuleWhileTheAddInWaits) {
    Probe::host = &host();
    Probe::marks = 0;
    ASSERT_TRUE(host().RegisterContextClass(&Probe::kClass, "Probe", host::kAddInObjectType));
    Load(
        "Перем П;\n"
        "Процедура ОбработкаВнешнегоСобытия(Источник, Событие, Данные)\n П.Отметить();\nКонецПроцедуры\n"
        "П = СоздатьОбъект(\"Probe\");\nСообщить(П.Ждать());");
    EXPECT_EQ(RunBody(), "ok");
    EXPECT_EQ(out_, "1\n");
    EXPECT_EQ(Probe::marks, 1);
    host().UnRegisterContextClass(&Probe::kClass);
}

TEST_F(LangHost, ReleasingValuesLetsGoOfTheObjectsModuleVariablesHold) {
    Probe::alive = 0;
    ASSERT_TRUE(host().RegisterContextClass(&Probe::kClass, "Probe", host::kAddInObjectType));
    Load(
        "Перем Объект, Список;\n"
        "Объект = СоздатьОбъект(\"Probe\");\n"
        "Список = СоздатьОбъект(\"СписокЗначений\");\nСписок.ДобавитьЗначение(СоздатьОбъект(\"Probe\"));\n"
        "Местный = СоздатьОбъект(\"Probe\");");
    ASSERT_EQ(RunBody(), "ok");
    EXPECT_EQ(Probe::alive, 2) << "the body's own variable went with the body";
    module_->ReleaseValues();
    EXPECT_EQ(Probe::alive, 0);
    host().UnRegisterContextClass(&Probe::kClass);
}

TEST_F(LangHost, TheWindowWaitEventArrivesWhileServingAndEndOfWorkStops) {
    Load(
        "Процедура ОбработкаВнешнегоСобытия(Источник, Событие, Данные)\n"
        " Сообщить(Источник + \"|\" + Событие);\n"
        " ЗавершитьРаботуСистемы();\n"
        " Сообщить(\"не дошли\");\n"
        "КонецПроцедуры\n"
        "Окна = СоздатьОбъект(\"Windows\");\nОкна.УстановитьХЭНД();\nОкна.ОжиданиеЗакрытияФормы();\n"
        "Сообщить(\"ждём\");");
    ASSERT_EQ(RunBody(), "ok");
    EXPECT_FALSE(module_->Stopping());
    const std::int64_t start = platform_.clock.MonotonicMs();
    module_->ServeEvents(10000);
    EXPECT_EQ(out_, "ждём\nКомпонента|Таймер\n");
    EXPECT_TRUE(module_->Stopping());
    EXPECT_TRUE(host().ShutdownRequested());
    EXPECT_LT(platform_.clock.MonotonicMs() - start, 1000) << "the wait ended with the work, not by time";
}

TEST_F(LangHost, ErrorsInTheEventHandlerCarryItsPlace) {
    Load(
        "Процедура ОбработкаВнешнегоСобытия(Источник, Событие, Данные)\n"
        " а = НетТакой;\n"
        "КонецПроцедуры\n"
        "Окна = СоздатьОбъект(\"Windows\");\nОкна.ОжиданиеЗакрытияФормы();");
    ASSERT_EQ(RunBody(), "ok");
    try {
        module_->ServeEvents(1000);
        FAIL() << "the handler's error must come out";
    } catch (const LangError& e) {
        EXPECT_EQ(e.pos().line, 2);
        EXPECT_EQ(e.pos().column, 6);
    }
}

TEST_F(LangHost, EndOfWorkStopsTheBody) {
    Load("Сообщить(1);\nЗавершитьРаботуСистемы();\nСообщить(2);");
    EXPECT_EQ(RunBody(), "ok");
    EXPECT_EQ(out_, "1\n");
    EXPECT_TRUE(module_->Stopping());
    module_->ServeEvents(1000);  // answers at once
}

// ---- scripted users ----

TEST_F(LangHost, ScriptedUsersAnswerTheModalWindowsInOrder) {
    lang::ScriptedUsers users;
    const std::string source =
        "Эм = СоздатьОбъект(\"Эмулятор\");\n"
        "Эм.Окно(); Эм.Нажать(" +
        std::to_string(res::kPadKey2) + "); Эм.Нажать(" + std::to_string(res::kPadKey5) + "); Эм.Нажать(" +
        std::to_string(res::kPadConfirm) +
        ");\n"
        "Эм.Окно(); Эм.Клавиша(27);\n"
        "Сообщить(Эм.ОсталосьОкон());\n"
        "В = СоздатьОбъект(\"Vkusnica\");\n"
        "Сообщить(В.ЗапросЧисла(\"0\", \"Гостей\", 2));\n"
        "Сообщить(В.ЗапросЧисла(\"0\", \"Гостей\", 2));\n"
        "Сообщить(Эм.ОсталосьОкон());\n"
        "Сообщить(В.ЗапросЧисла(\"0\", \"Гостей\", 2));\n"
        "Сообщить(\"не дошли\");";
    Load(source.c_str());
    module_->SetScriptedUsers(&users);
    // The third window finds no script: it is closed for nobody and the call fails.
    EXPECT_EQ(RunBody(),
              "9:12 Модальное окно 291 \"Гостей\" ждало пользователя, а сценарий его действий исчерпан: "
              "окно закрыто клавишей Esc");
    EXPECT_EQ(out_, "2\n25.00\n-1\n0\n");
    ASSERT_EQ(users.history().size(), 3u);
    EXPECT_FALSE(users.history()[0].abandoned);
    EXPECT_FALSE(users.history()[1].abandoned) << "Esc was the user's own answer";
    EXPECT_TRUE(users.history()[2].abandoned);
}

// A window showing a hall plan at half its size, 10 pixels in, under a row of tabs: the point a
// click lands on and the tab chosen.
constexpr int kPlanTabs = 304;
constexpr ui::ControlTemplate kPlanControls[] = {
    {kPlanTabs, ui::ControlKind::Tab, "", 0, 0, 300, 12, 0, 0, 0}};
class PlanWindow final : public ui::DialogController {
  public:
    void OnOpen(ui::DialogView& view) override { view.SetTabs(kPlanTabs, {"1", "2", "3"}); }
    void OnNotify(ui::DialogView& view, int id, unsigned code) override {
        if (code == ui::kTabSelectionChanged) tabs.push_back(view.SelectedTab(id));
    }
    void OnClick(ui::DialogView& view, ui::Point p) override {
        clicked = p;
        view.Close(ui::kIdOk);
    }
    std::optional<ui::Point> PlanToClient(ui::Point plan) const override {
        return ui::Point{10 + plan.x / 2, 10 + plan.y / 2};
    }
    std::optional<ui::Point> clicked;
    std::vector<int> tabs;
};
constexpr ui::DialogTemplate kPlanTemplate{9002, "Plan", 300, 200, 0, 8, "MS Sans Serif", kPlanControls};

TEST_F(LangHost, ScriptedUsersTakeSnapshotsChooseTabsAndTouchHallPlans) {
    lang::ScriptedUsers users;
    const std::filesystem::path shot =
        std::filesystem::temp_directory_path() /
        ("klt_snapshot_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".svg");
    const std::string source =
        "Эм = СоздатьОбъект(\"Эмулятор\");\n"
        "Эм.Окно(); Эм.Нажать(" +
        std::to_string(res::kPadKey7) + "); Эм.Снимок(\"" + shot.string() + "\"); Эм.Нажать(" +
        std::to_string(res::kPadConfirm) +
        ");\n"
        "Эм.Окно(); Эм.ВыбратьВкладку(304, 2); Эм.ВыбратьВкладку(304, 2); Эм.ЩелкнутьНаПлане(400, 200);\n"
        "В = СоздатьОбъект(\"Vkusnica\");\n"
        "Сообщить(В.ЗапросЧисла(\"0\", \"Гости <2>\", 2));";
    Load(source.c_str());
    module_->SetScriptedUsers(&users);
    ASSERT_EQ(RunBody(), "ok");
    EXPECT_EQ(out_, "7.00\n");
    std::string svg;
    ASSERT_TRUE(platform::Files().ReadAll(shot.string(), svg, 1 << 22));
    std::filesystem::remove(shot);
    // The caption, escaped, in UTF-8; the display as the colour label paints it; each key's picture.
    EXPECT_NE(svg.find("<title>Гости &lt;2&gt;</title>"), std::string::npos);
    EXPECT_NE(svg.find(">7.00</tspan>"), std::string::npos);
    std::size_t pictures = 0;
    for (std::size_t at = 0;
         (at = svg.find("xlink:href=\"data:image/png;base64,iVBORw0KGgo", at)) != std::string::npos; ++at)
        ++pictures;
    EXPECT_EQ(pictures, std::size(res::kNumberPadControls) - 2);  // all but the frame and the display
    EXPECT_TRUE(svg.ends_with("</svg>\n"));

    // The third tab, told once; the plan's point 400, 200 is where this window shows it.
    PlanWindow plan;
    EXPECT_EQ(ui::CurrentWindowing().RunModal(kPlanTemplate, plan), ui::kIdOk);
    EXPECT_EQ(plan.tabs, std::vector<int>{2});
    EXPECT_EQ(plan.clicked, (ui::Point{210, 110}));
}

TEST_F(LangHost, ScriptedUsersAnswerTheSystemDialogsAndFillFields) {
    lang::ScriptedUsers users;
    Load(
        "Эм = СоздатьОбъект(\"Эмулятор\");\n"
        "Эм.ВыбратьЦвет(255); Эм.ВыбратьЦвет(-1); Эм.ВыбратьШрифт(\"Arial\", 12, 65280);\n"
        "Эм.ВыбратьФайл(\"C:\\base\\зал.bmp\");\n"
        "Эм.Окно(); Эм.ВвестиВПоле(1005, \"Бар\"); Эм.Нажать(1);");
    module_->SetScriptedUsers(&users);
    ASSERT_EQ(RunBody(), "ok");
    EXPECT_EQ(users.ChooseColour(0), std::optional<ui::Colour>(255));
    EXPECT_EQ(users.ChooseColour(0), std::nullopt);
    ui::Font font;
    ui::Colour colour = 1;
    ASSERT_TRUE(users.ChooseFont(font, colour));
    EXPECT_EQ(font.face, "Arial");
    EXPECT_EQ(font.height, -16);
    EXPECT_EQ(colour, 65280u);
    EXPECT_FALSE(users.ChooseFont(font, colour));
    EXPECT_EQ(users.ChooseOpenFile("*.bmp", "File  (*.bmp)|*.bmp|"),
              std::optional<std::string>("C:\\base\\зал.bmp"_cp));
    EXPECT_EQ(users.ChooseOpenFile("*.bmp", ""), std::nullopt);
    halls::Plan plan;
    plan.tables.emplace_back();
    plan.tables[0].record = halls::NewTableRecord(3, 0, halls::Shape::Rectangle, {0, 0, 50, 50});
    ASSERT_TRUE(halls::RunTableProperties(plan, 0, halls::PlanKind::Bar));
    EXPECT_EQ(plan.tables[0].record.name, "Бар"_cp);
}

TEST_F(LangHost, WithoutScriptedUsersTheirObjectRefuses) {
    Load("Эм = СоздатьОбъект(\"Эмулятор\");\nЭм.Нажать(1);");
    EXPECT_EQ(RunBody(), "2:4 Сценарии пользователя недоступны: окна показывает klt_drv.dll, а не эмулятор");
}

// ---- the host's session: main frame, forms, the add-in loaded by the module ----

// Natively the host's windows are the fake desktop's, which the tests read back; under Windows the
// window factory makes real ones.
#if !defined(_WIN32)
namespace fs = std::filesystem;

// The add-in linked in, started and stopped as the host's loader does it.
class LinkedAddIn final : public emu::AddInConnection {
  public:
    bool Load(std::string&) override { return true; }
    int GetInfo() override { return 0; }
    std::string RegisterExtensionAs() override { return {}; }
    void Init(emu::EmulatedHost& host) override { assembly::Init(&host, &host); }
    void Done() override { assembly::Done(); }
};

// A host as klthost runs it: its main frame made first, forms from an information base of the
// test's own, and the add-in loaded only when the module asks for it.
class LangSession : public ::testing::Test {
  protected:
    void SetUp() override {
        ib_ = fs::temp_directory_path() /
              ("klt_forms_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(ib_);
        emu::HostSettings settings;
        settings.rightsSetName = rights_;
        settings.ibDirectory = text::Utf8ToCp1251(ib_.string() + "/");
        host_ = std::make_unique<emu::EmulatedHost>(std::move(settings));
        frame_ = std::make_unique<emu::HostFrame>(*host_);
        ASSERT_TRUE(frame_->Create());
        loader_ = std::make_unique<emu::AddInLoader>(
            *host_, [] { return std::unique_ptr<emu::AddInConnection>(new LinkedAddIn()); });
        session = this;
    }
    void TearDown() override {
        if (forms_) forms_->CloseAll();
        if (module_) module_->ReleaseValues();
        loader_->Done();
        host_->SetGlobalModule(nullptr);
        forms_.reset();
        module_.reset();
        frame_.reset();
        session = nullptr;
        fs::remove_all(ib_);
    }

    void WriteForm(const std::string& name, const std::string& ini, const std::string& module = "") {
        const fs::path dir = ib_ / "Forms" / fs::path(std::u8string(name.begin(), name.end()));
        fs::create_directories(dir);
        std::ofstream(dir / "form.ini", std::ios::binary) << ini;
        if (!module.empty()) std::ofstream(dir / "module.1c", std::ios::binary) << module;
    }

    std::string Run(const char* utf8) {
        module_ = std::make_unique<lang::Interpreter>(*host_, lang::Parse(text::Utf8ToCp1251(utf8)));
        module_->output = [this](const std::string& line) { out_ += text::Cp1251ToUtf8(line) + "\n"; };
        module_->loadAddIn = [this](const std::string& file, std::string& error) {
            return loader_->Load(file, error);
        };
        forms_ = std::make_unique<lang::Forms>(*host_, *frame_, *module_);
        module_->SetForms(forms_.get());
        host_->SetGlobalModule(module_.get());
        try {
            module_->Run();
        } catch (const LangError& e) {
            return std::to_string(e.pos().line) + ":" + std::to_string(e.pos().column) + " " +
                   text::Cp1251ToUtf8(e.message());
        }
        return "ok";
    }

    host::Context* FormValue(const char* variable) {
        return module_->ModuleVariable(text::Utf8ToCp1251(variable))->GetContext();
    }

    // What a window-procedure return hook sees of forms shown and hidden: the window, shown or
    // hidden, and whether the host then knew the form's document and module.
    struct Seen {
        platform::WindowHandle window;
        bool shown, documentKnown, moduleAssigned;
    };
    static std::intptr_t Watch(int code, std::uintptr_t wParam, std::intptr_t lParam) {
        const auto* m = reinterpret_cast<const platform::ReturnedMessage*>(lParam);
        if (session && m->message == platform::kMsgShowWindow && session->host_->WindowClassOf(m->window)) {
            emu::EmulatedHost& h = *session->host_;
            host::Document* d = h.GetActiveDocument(m->window);
            if (!d) d = h.GetTopmostDocument(m->window);
            auto* doc = static_cast<emu::FormDocument*>(d);
            lang::Interpreter* module = doc ? session->forms_->ModuleOf(doc->form) : nullptr;
            session->seen.push_back(
                {m->window, m->wParam != 0, doc != nullptr,
                 doc && session->frame_->AssignedContext(module) == doc->GetGroupContext()});
        }
        return platform::Get().hooks->CallNext(code, wParam, lParam);
    }

    static inline LangSession* session = nullptr;
    std::string rights_ = Cp("Администратор"_cp);
    std::vector<Seen> seen;
    TestPlatform platform_;
    fs::path ib_;
    std::unique_ptr<emu::EmulatedHost> host_;
    std::unique_ptr<emu::HostFrame> frame_;
    std::unique_ptr<emu::AddInLoader> loader_;
    std::unique_ptr<lang::Interpreter> module_;
    std::unique_ptr<lang::Forms> forms_;
    std::string out_;
};

TEST_F(LangSession, TheAddInsTypesExistOnlyOnceTheModuleHasLoadedIt) {
    EXPECT_EQ(Run("Попытка\n В = СоздатьОбъект(\"Vkusnica\");\nИсключение\n Сообщить(ОписаниеОшибки());\n"
                  "КонецПопытки;\n"
                  "Сообщить(ЗагрузитьВнешнююКомпоненту(\"other.dll\"));\n"
                  "Сообщить(ЗагрузитьВнешнююКомпоненту(\"C:\\1C\\KLT_DRV.DLL\"));\n"
                  "ЗагрузитьВнешнююКомпоненту(\"klt_drv.dll\");\n"
                  "Сообщить(ТипЗначенияСтр(СоздатьОбъект(\"Windows\")));"),
              "ok");
    EXPECT_EQ(out_,
              "Неизвестный тип объекта (Vkusnica)\n"
              "Ошибка загрузки внешней компоненты other.dll: файл не найден\n0\n1\nВкусница\n");
    // Made before the add-in started, the host's main frame is what it took for the main window.
    EXPECT_EQ(core::State().hostMainWindow, frame_->MainFrame());
}

TEST_F(LangSession, AFormOpensWithItsWindowDocumentGroupContextAndModule) {
    WriteForm("Обработка.ЧекП", "kind=frame\ntitle=Чек\nwidth=600\nheight=400\nfield=Сумма\n",
              "Процедура ПриОткрытии()\n Отметить(\"открыта \" + ТипЗначенияСтр(Форма));\nКонецПроцедуры\n"
              "Отметить(\"модуль\");\n");
    WriteForm("Диалог", "kind=dialog\nmetadata=no\n");
    platform::ScopedHook watch(platform::HookKind::CallWndProcRet, &Watch);
    EXPECT_EQ(Run("Перем Журнал Экспорт;\nПерем Ф, Д;\n"
                  "Процедура Отметить(Текст) Экспорт\n Журнал = Журнал + Текст + \";\";\nКонецПроцедуры\n"
                  "Журнал = \"\";\nФ = ОткрытьФорму(\"Обработка.ЧекП\");\nД = ОткрытьФорму(\"Диалог\");\n"
                  "Сообщить(Журнал + Ф.Заголовок());\nОткрытьФорму(\"Обработка.Нет\");"),
              "10:1 Форма не найдена (Обработка.Нет)");
    // The form's body, then ПриОткрытии; its module sees Форма and the global module's exports.
    EXPECT_EQ(out_, "модуль;открыта Форма;Чек\n");

    // The main frame's children in the frame's order, the status bar by its identifier.
    platform::NativeDesktop& desk = platform_.desktop;
    const platform::WindowHandle main = frame_->MainFrame();
    std::vector<std::string> children;
    for (auto c = desk.FirstChild(main); c; c = desk.NextSibling(c)) children.push_back(desk.ClassName(c));
    EXPECT_EQ(children, (std::vector<std::string>{"AfxControlBar42", "Afx:400000:0:0:10:0",
                                                  "msctls_statusbar32", "MDIClient", "AfxControlBar42"}));
    EXPECT_EQ(desk.ChildWithId(main, emu::kStatusBarId), frame_->StatusBar());
    EXPECT_STREQ(host_->WindowClassOf(main), "CMainFrame");
    EXPECT_EQ(host_->GetMainFrame(), main);

    // The frame form: a child of the MDI client, shown, its document found by frame and by value.
    host::Context* f = FormValue("Ф");
    host::Document* doc = host_->GetFormDocument(f);
    ASSERT_NE(doc, nullptr);
    const platform::WindowHandle frame = doc->GetFrame();
    EXPECT_EQ(desk.FirstChild(frame_->MdiClient()), frame);
    EXPECT_STREQ(host_->WindowClassOf(frame), "CTabFrame");
    EXPECT_EQ(desk.Text(frame), Cp("Чек"_cp));
    EXPECT_TRUE(desk.IsVisible(frame));
    EXPECT_EQ(host_->GetActiveDocument(frame), doc);
    EXPECT_EQ(host_->GetTopmostDocument(frame), nullptr);
    EXPECT_EQ(host_->GetMetaData()->GetFullName(doc->GetMetadataPath()), Cp("Обработка.ЧекП"_cp));
    host::Context* group = doc->GetGroupContext();
    EXPECT_STREQ(group->GetRuntimeClass()->className, "CGroupContext");
    EXPECT_EQ(group->GetLoadedID(), 0);
    ASSERT_EQ(host_->GroupSize(group), 2);
    EXPECT_STREQ(host_->GroupMember(group, 0)->GetRuntimeClass()->className, "CDocContext");
    EXPECT_EQ(host_->GroupMember(group, 1), f);

    // The dialog form: a window of its own, the topmost document of it, no metadata object.
    host::Document* dialogDoc = host_->GetFormDocument(FormValue("Д"));
    ASSERT_NE(dialogDoc, nullptr);
    const platform::WindowHandle dialog = dialogDoc->GetFrame();
    EXPECT_STREQ(host_->WindowClassOf(dialog), "CGetDlg");
    EXPECT_EQ(host_->GetTopmostDocument(dialog), dialogDoc);
    EXPECT_EQ(host_->GetActiveDocument(dialog), nullptr);
    EXPECT_EQ(dialogDoc->GetMetadataPath(), "");
    EXPECT_TRUE(desk.IsVisible(dialog));

    // Each window shown once, its module already assigned to its group context through the
    // host library; the status bar's panes set when made and as each form became active.
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[0].shown && seen[0].documentKnown && seen[0].moduleAssigned);
    EXPECT_TRUE(seen[1].shown && seen[1].documentKnown && seen[1].moduleAssigned);
    EXPECT_EQ(frame_->IndicatorCallsReached(), 3);
    EXPECT_EQ(frame_->Indicators().size(), 4u);
}

TEST_F(LangSession, FormsCloseByTheirValueTheUserOrTheirFrameGoingAndLetGoOfEverything) {
    Probe::alive = 0;
    ASSERT_TRUE(host_->RegisterContextClass(&Probe::kClass, "Probe", host::kAddInObjectType));
    const std::string holder = "Перем О;\nО = СоздатьОбъект(\"Probe\");\n";
    WriteForm("Обработка.ЧекП", "title=П\n", holder);
    WriteForm("Обработка.ЧекЛ", "title=Л\n", holder);
    WriteForm("Обработка.Настройка", "title=Н\n", holder);
    platform::ScopedHook watch(platform::HookKind::CallWndProcRet, &Watch);
    EXPECT_EQ(Run("Перем П, Н;\nП = ОткрытьФорму(\"Обработка.ЧекП\");\nОткрытьФорму(\"Обработка.ЧекЛ\");\n"
                  "Н = ОткрытьФорму(\"Обработка.Настройка\");\n"
                  "П.Закрыть();\nП.Закрыть();\nСоздатьОбъект(\"Эмулятор\").ЗакрытьФорму(\"Л\");"),
              "ok");
    EXPECT_EQ(forms_->OpenCount(), 1u);
    EXPECT_EQ(host_->GetFormDocument(FormValue("П")), nullptr);
    // Both hidden while the host still knew their documents, then destroyed.
    ASSERT_EQ(seen.size(), 5u);
    for (int i : {3, 4}) {
        EXPECT_FALSE(seen[i].shown);
        EXPECT_TRUE(seen[i].documentKnown);
        EXPECT_FALSE(platform_.desktop.IsWindow(seen[i].window));
    }
    EXPECT_EQ(Probe::alive, 1) << "the closed forms' modules let go of their objects";

    // The add-in destroys the last frame: the host closes its document when idle.
    const platform::WindowHandle last = host_->GetFormDocument(FormValue("Н"))->GetFrame();
    platform_.desktop.Destroy(last);
    EXPECT_EQ(host_->Documents().size(), 1u);
    module_->ServeEvents(0);
    EXPECT_TRUE(host_->Documents().empty());
    EXPECT_EQ(host_->WindowClassOf(last), nullptr);
    EXPECT_EQ(Probe::alive, 0);
    host_->UnRegisterContextClass(&Probe::kClass);
}

TEST_F(LangSession, FormFieldsHaveControlsInTheFrameAndAPressedButtonRunsItsFormulaInTheFormsModule) {
    WriteForm("Обработка.ЧекП",
              "title=Чек\nfield=Сумма\n"
              "field=Кнопка; kind=picture; box=10,20,100,80; formula=Отметить(\"к\" + Свой + Номер)\n"
              "field=Подпись; kind=label; id=2000; box=10,100,100,20; title=Верх\n"
              "field=Ввод; kind=edit; box=0,130,50,20\n"
              "field=Закрыть; kind=button; id=2001; box=0,160,50,20; title=X; formula=Форма.Закрыть()\n"
              "field=Пустая; kind=button; box=0,190,50,20\n"
              "field=Сбой; kind=button; box=0,220,50,20; formula=Отметить(Нет + \";\")\n",
              "Перем Свой;\nСвой = \"-\";\n");
    EXPECT_EQ(Run("Перем Журнал Экспорт;\nПерем Номер Экспорт;\nПерем Ф, Э;\n"
                  "Процедура Отметить(Т) Экспорт\n Журнал = Журнал + Т + \";\";\nКонецПроцедуры\n"
                  "Журнал = \"\";\nНомер = 7;\nФ = ОткрытьФорму(\"Обработка.ЧекП\");\n"
                  "Э = СоздатьОбъект(\"Эмулятор\");\nЭ.НажатьКнопкуФормы(Ф, 1);\n"
                  "Э.НажатьКнопкуФормы(\"Чек\", 5);\n"
                  "Попытка\n Э.НажатьКнопкуФормы(Ф, 2);\nИсключение\n Отметить(ОписаниеОшибки());\n"
                  "КонецПопытки;\nЭ.НажатьКнопкуФормы(Ф, 6);"),
              "1:10 Переменная не определена (Нет)");
    // The formula sees the form module's variables and the global module's exported ones.
    EXPECT_EQ(text::Cp1251ToUtf8(module_->ModuleVariable(Cp("Журнал"_cp))->GetString().substr(0, 4)), "к-7;");
    EXPECT_NE(text::Cp1251ToUtf8(module_->ModuleVariable(Cp("Журнал"_cp))->GetString()).find("не кнопка"),
              std::string::npos);

    host::Document* doc = host_->GetFormDocument(FormValue("Ф"));
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->FieldCount(), 7);
    EXPECT_EQ(doc->FieldControlId(0), -1);
    EXPECT_EQ(doc->FieldControlId(1), lang::kFirstFieldControlId + 1);
    EXPECT_EQ(doc->FieldControlId(2), 2000);
    EXPECT_EQ(doc->FieldControlId(7), -1);
    platform::NativeDesktop& desk = platform_.desktop;
    const platform::WindowHandle frame = doc->GetFrame();
    const platform::WindowHandle button = desk.ChildWithId(frame, lang::kFirstFieldControlId + 1);
    EXPECT_EQ(desk.ClassName(button), "Button");
    EXPECT_EQ(desk.PlacedBox(button), (platform::WindowBox{10, 20, 110, 100}));
    EXPECT_EQ(desk.ClassName(desk.ChildWithId(frame, 2000)), "Static");
    EXPECT_EQ(desk.Text(desk.ChildWithId(frame, 2000)), Cp("Верх"_cp));
    EXPECT_EQ(desk.ClassName(desk.ChildWithId(frame, lang::kFirstFieldControlId + 3)), "Edit");

    // A new formula is what the next press runs; a title changes the description, not the window.
    doc->SetFieldFormula(1, Cp("Отметить(\"новая\")"_cp));
    doc->SetFieldTitle(2, Cp("Низ"_cp));
    doc->SetFieldTitle(0, "x");  // a field without a control takes nothing
    EXPECT_EQ(desk.Text(desk.ChildWithId(frame, 2000)), Cp("Верх"_cp));
    module_->RunFormula(Cp("Э.НажатьКнопкуФормы(Ф, 1)"_cp), "test");
    EXPECT_FALSE(module_->TakePendingError());
    EXPECT_NE(module_->ModuleVariable(Cp("Журнал"_cp))->GetString().find(Cp("новая;"_cp)), std::string::npos);

    // A hidden button takes no press; the button whose formula closes the form closes it.
    desk.Show(button, false);
    module_->RunFormula(Cp("Э.НажатьКнопкуФормы(Ф, 1)"_cp), "test");
    EXPECT_TRUE(module_->TakePendingError());
    module_->RunFormula(Cp("Э.НажатьКнопкуФормы(Ф, 4)"_cp), "test");
    EXPECT_FALSE(module_->TakePendingError());
    EXPECT_EQ(forms_->OpenCount(), 0u);
    EXPECT_FALSE(desk.IsWindow(button));
}

TEST(FormLayout, FieldsAreCheckedAsTheyAreRead) {
    const char* wrong[] = {
        "field=; kind=button; box=0,0,1,1",
        "field=A; kind=round; box=0,0,1,1",
        "field=A; kind=button",
        "field=A; kind=button; box=0,0,0,1",
        "field=A; kind=button; box=0,0,1",
        "field=A; id=5",
        "field=A; kind=label; box=0,0,1,1; id=70000",
        "field=A; kind=label; box=0,0,1,1; colour=1",
        "field=A; kind=label; id=9; box=0,0,1,1\nfield=B; kind=edit; id=9; box=0,0,1,1",
    };
    for (const char* ini : wrong) {
        lang::FormLayout desc;
        std::string error;
        EXPECT_FALSE(lang::ParseFormLayout(ini, desc, error)) << ini;
    }
    lang::FormLayout desc;
    std::string error;
    ASSERT_TRUE(lang::ParseFormLayout("field=A; kind=picture; box=1,2,3,4; formula=Ф(\"a;b\")", desc, error));
    EXPECT_EQ(desc.fields[0].formula, "Ф(\"a;b\")"_cp);
    EXPECT_EQ(desc.fields[0].box, (platform::WindowBox{1, 2, 4, 6}));
}

// The waiter's workplace, end to end from 1C: forms opened by the module reach their procedures
// through the add-in's form hook and its patch of the host's AssignContext.
class WorkplaceSession : public LangSession {
  protected:
    void SetUp() override {
        rights_ = Cp("РабочееМесто"_cp);
        LangSession::SetUp();
    }
};

TEST_F(WorkplaceSession, FormsReachTheirOwnOrTheGlobalProcedureAndTheReceiptCoversTheWorkArea) {
    WriteForm("Обработка.ЧекП", "title=Чек\n",
              "Процедура ПослеОткрытияФормы()\n Отметить(\"свой\");\nКонецПроцедуры\n");
    WriteForm("Обработка.Настройка", "title=Н\n", "Процедура Другая()\nКонецПроцедуры\n");
    WriteForm("Без", "metadata=no\n",
              "Процедура ПослеОткрытияФормы()\n Отметить(\"без имени\");\nКонецПроцедуры\n");
    EXPECT_EQ(Run("Перем Журнал Экспорт;\nПерем Ч, Н, Б, Переданный;\n"
                  "Процедура Отметить(Т) Экспорт\n Журнал = Журнал + Т + \";\";\nКонецПроцедуры\n"
                  "Процедура ПослеОткрытияФормы(Контекст) Экспорт\n Переданный = Контекст;\n"
                  " Отметить(\"общий\");\nКонецПроцедуры\n"
                  "Журнал = \"\";\nЗагрузитьВнешнююКомпоненту(\"klt_drv.dll\");\n"
                  "О = СоздатьОбъект(\"Windows\");\nО.Отладка(2);\n"
                  "Н = ОткрытьФорму(\"Обработка.Настройка\");\nБ = ОткрытьФорму(\"Без\");\n"
                  "Ч = ОткрытьФорму(\"Обработка.ЧекП\");\nСообщить(Журнал);"),
              "ok");
    // Else the global procedure with the form's group context; a form without a full name gets no
    // call; the receipt's own procedure with no arguments, no other module searched.
    EXPECT_EQ(out_, "общий;свой;\n");
    EXPECT_EQ(FormValue("Переданный"), host_->GetFormDocument(FormValue("Н"))->GetGroupContext());
    EXPECT_EQ(hostwin::WindowState().settingsWindow, host_->GetFormDocument(FormValue("Н"))->GetFrame());
    // Developer mode 2 does not keep the main menu from the hook.
    EXPECT_EQ(platform_.desktop.MenuItemCount(frame_->MainFrame()), -1);

    // The receipt frame lies over the main window's client area with its border beyond the edges.
    const platform::WindowHandle receipt = host_->GetFormDocument(FormValue("Ч"))->GetFrame();
    EXPECT_EQ(hostwin::WindowState().receiptWindowP, receipt);
    const platform::WindowBox client = platform_.desktop.ClientBox(frame_->MainFrame());
    EXPECT_EQ(platform_.desktop.PlacedBox(receipt),
              (platform::WindowBox{-5, -5, client.right + 5, client.bottom + 5}));
    EXPECT_EQ(platform_.desktop.Style(receipt) & platform::kStyleCaption, 0u);
    EXPECT_EQ(hostwin::WindowState().currentWindow, receipt);
}

#endif

}  // namespace
}  // namespace klt::test
