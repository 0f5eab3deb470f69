// The 1C language of the emulated host: tokens and syntax errors with their places, statements,
// procedures and functions, expressions, built-ins and run-time errors.
#include <gtest/gtest.h>

#include "emulator/lang/interpreter.h"
#include "emulator/lang/lexer.h"
#include "emulator/lang/parser.h"
#include "test_support.h"

namespace klt::test {
namespace {

using lang::LangError;

// A module written in UTF-8 here, run as the global module of a host with the add-in started.
class LangFixture : public AddInFixture {
  protected:
    void SetUp() override { Start(Cp("Администратор"_cp)); }
    void TearDown() override {
        module_.reset();
        AddInFixture::TearDown();
    }

    // The module's messages, one UTF-8 line each; a run-time error fails the test.
    std::string Run(const char* utf8) {
        std::optional<LangError> e = Try(utf8);
        if (e)
            ADD_FAILURE() << "unexpected error " << e->pos().line << ":" << e->pos().column << " "
                          << text::Cp1251ToUtf8(e->message());
        return out_;
    }

    // The error the module stops with, or none.
    std::optional<LangError> Try(const char* utf8) {
        out_.clear();
        try {
            module_ = std::make_unique<lang::Interpreter>(host(), lang::Parse(text::Utf8ToCp1251(utf8)));
            module_->output = [this](const std::string& line) { out_ += text::Cp1251ToUtf8(line) + "\n"; };
            host().SetGlobalModule(module_.get());
            module_->Run();
        } catch (const LangError& e) {
            return e;
        }
        return std::nullopt;
    }

    // "line:column message" of the error the module must stop with.
    std::string Error(const char* utf8) {
        std::optional<LangError> e = Try(utf8);
        if (!e) return "no error";
        return std::to_string(e->pos().line) + ":" + std::to_string(e->pos().column) + " " +
               text::Cp1251ToUtf8(e->message());
    }

    std::unique_ptr<lang::Interpreter> module_;
    std::string out_;
};

// ---- tokens and syntax ----

TEST(LangTokens, KeywordsAndNamesIgnoreCaseAndKeepTheirPlaces) {
    auto t = lang::Tokenize(text::Utf8ToCp1251("если Икс тогда\n  ENDIF // прочее\n  \"a\"\"b\" 12.50"));
    ASSERT_EQ(t.size(), 7u);
    EXPECT_EQ(t[0].keyword, lang::Keyword::If);
    EXPECT_EQ(t[1].kind, lang::TokenKind::Name);
    EXPECT_EQ(t[2].keyword, lang::Keyword::Then);
    EXPECT_EQ(t[3].keyword, lang::Keyword::EndIf);
    EXPECT_EQ(t[3].pos.line, 2);
    EXPECT_EQ(t[3].pos.column, 3);
    EXPECT_EQ(t[4].text, "a\"b");
    EXPECT_EQ(t[5].number.ToString(), "12.5");
    EXPECT_EQ(t[5].pos.column, 10);
    EXPECT_EQ(t[6].kind, lang::TokenKind::End);
}

TEST(LangTokens, ContinuedStringsAndUnclosedOnes) {
    auto t = lang::Tokenize(text::Utf8ToCp1251("\"один\n   |два\""));
    EXPECT_EQ(text::Cp1251ToUtf8(t[0].text), "один\nдва");
    try {
        lang::Tokenize(text::Utf8ToCp1251("а = 1;\nб = \"один\nдва\";"));
        FAIL() << "a line without | must not continue a string";
    } catch (const LangError& e) {
        EXPECT_EQ(e.pos().line, 2);
        EXPECT_EQ(e.pos().column, 5);
    }
}

TEST(LangTokens, ModuleFilesAreUtf8OrElseCp1251) {
    EXPECT_EQ(lang::ModuleTextToCp1251("\xEF\xBB\xBF"
                                       "Сообщить"),
              Cp("Сообщить"_cp));
    EXPECT_EQ(lang::ModuleTextToCp1251("Сообщить"), Cp("Сообщить"_cp));
    const std::string cp1251(Cp("Сообщить(\"Привет\");"_cp));
    EXPECT_FALSE(lang::IsValidUtf8(cp1251));
    EXPECT_EQ(lang::ModuleTextToCp1251(cp1251), cp1251);
    EXPECT_FALSE(lang::IsValidUtf8("\xC0\x80"));      // overlong
    EXPECT_FALSE(lang::IsValidUtf8("\xED\xA0\x80"));  // surrogate
    EXPECT_FALSE(lang::IsValidUtf8("\xD0"));          // cut short
}

TEST_F(LangFixture, SyntaxErrorsNameLineAndColumn) {
    EXPECT_EQ(Error("а = 1;\nЕсли а Тогда\n  б = 2\nКонецЦикла;"),
              "4:1 Ожидается \"КонецЕсли\", а встретилось \"КонецЦикла\"");
    EXPECT_EQ(Error("а = (1 + 2;"), "1:11 Ожидается \")\", а встретилось \";\"");
    EXPECT_EQ(Error("а = 1\nб = 2;"), "2:1 Ожидается \";\", а встретилось \"б\"");
    EXPECT_EQ(Error("Прервать;"), "1:1 Оператор Прервать вне цикла");
    EXPECT_EQ(Error("Процедура П()\n  Возврат 1;\nКонецПроцедуры"),
              "2:11 Процедура не может возвращать значение");
    EXPECT_EQ(Error("а = 1 $ 2;"), "1:7 Недопустимый символ \"$\"");
    EXPECT_EQ(Error("Функция Ф()\nКонецФункции\nФункция ф()\nКонецФункции"),
              "3:9 Процедура или функция с таким именем уже определена (ф)");
    EXPECT_EQ(Error("Перем А;\nПерем а;"), "2:7 Переменная уже объявлена (а)");
    EXPECT_EQ(Error("а = ?(1, 2);"), "1:5 Операция ?() требует трёх выражений");
    EXPECT_EQ(Error("а = 00012345678901234567890;"), "1:5 Слишком большое число");
    EXPECT_EQ(Error("а = 9223372036854775808.5;"), "1:5 Слишком большое число");
    EXPECT_EQ(Error("а = 9223372036854775807;"), "no error");
}

TEST_F(LangFixture, NestingTooDeepIsAnErrorNotACrash) {
    std::string deep = "а = " + std::string(500, '(') + "1" + std::string(500, ')') + ";";
    EXPECT_NE(Error(deep.c_str()).find("Слишком глубокая вложенность"), std::string::npos);
}

TEST_F(LangFixture, EnglishAliasesParseAsKeywords) {
    EXPECT_EQ(Run("Function Twice(Val x) Export\n Return x * 2;\nEndFunction\n"
                  "For k = 1 To 2 Do\n If k = 1 Then Message(Twice(k)); ElsIf k = 2 Then Message(\"two\"); "
                  "EndIf;\nEndDo;"),
              "2\ntwo\n");
}

// ---- statements ----

TEST_F(LangFixture, ConditionsAndLoops) {
    EXPECT_EQ(Run("Для к = 1 По 6 Цикл\n"
                  "  Если к = 2 Тогда Продолжить;\n"
                  "  ИначеЕсли к % 2 = 0 Тогда Сообщить(\"чёт \" + к);\n"
                  "  ИначеЕсли к = 5 Тогда Прервать;\n"
                  "  Иначе Сообщить(\"нечет \" + к)\n"
                  "  КонецЕсли;\n"
                  "КонецЦикла;\n"
                  "н = 3; Пока н > 0 Цикл н = н - 1; КонецЦикла; Сообщить(н);\n"
                  "Сообщить(к);"),
              "нечет 1\nнечет 3\nчёт 4\n0\n5\n");
}

TEST_F(LangFixture, ForLoopEvaluatesItsBoundsOnceAndEndsPastTheLast) {
    EXPECT_EQ(Run("п = 3; Для к = 1 По п Цикл п = 10; КонецЦикла; Сообщить(к);\n"
                  "Для м = 5 По 1 Цикл Сообщить(\"никогда\"); КонецЦикла; Сообщить(м);"),
              "4\n5\n");
}

TEST_F(LangFixture, ProceduresPassByReferenceUnlessVal) {
    EXPECT_EQ(Run("Процедура Изменить(а, Знач б)\n а = а + 1; б = б + 1;\nКонецПроцедуры\n"
                  "х = 1; у = 1; Изменить(х, у); Изменить(х + 0, у);\n"
                  "Сообщить(Строка(х) + \" \" + у);"),
              "2 1\n");
}

TEST_F(LangFixture, DefaultsAndOmittedArguments) {
    EXPECT_EQ(Run("Функция Ф(а, б = 10, в = \"x\")\n Возврат Строка(а) + \"/\" + б + \"/\" + в + \"/\" + "
                  "ТипЗначенияСтр(а);\nКонецФункции\n"
                  "Сообщить(Ф(1)); Сообщить(Ф(1, , \"y\")); Сообщить(Ф(, -2));"),
              "1/10/x/Число\n1/10/y/Число\n/-2/x/\n");
    EXPECT_EQ(Error("Процедура П(а)\nКонецПроцедуры\nП(1, 2);"),
              "3:1 Слишком много фактических параметров (П)");
}

TEST_F(LangFixture, FunctionsReturnAndProceduresDoNot) {
    EXPECT_EQ(Run("Функция Факт(н)\n Если н <= 1 Тогда Возврат 1; КонецЕсли;\n Возврат н * Факт(н - "
                  "1);\nКонецФункции\n"
                  "Процедура П()\n Сообщить(\"п\"); Возврат;\n Сообщить(\"после\");\nКонецПроцедуры\n"
                  "Сообщить(Факт(20)); П(); Факт(3);"),
              "2432902008176640000\nп\n");
    EXPECT_EQ(Error("Процедура П()\nКонецПроцедуры\nа = П();"), "3:5 Процедура не возвращает значение (П)");
}

TEST_F(LangFixture, ModuleVariablesAreSharedAndBodyVariablesAreNot) {
    EXPECT_EQ(Run("Перем Счёт;\nПроцедура Плюс()\n Счёт = Счёт + 1;\nКонецПроцедуры\n"
                  "Счёт = 0; Плюс(); Плюс(); Сообщить(Счёт);"),
              "2\n");
    EXPECT_EQ(Error("Процедура П()\n Сообщить(Местная);\nКонецПроцедуры\nМестная = 1; П();"),
              "2:11 Переменная не определена (Местная)");
}

TEST_F(LangFixture, RunawayRecursionIsARunTimeError) {
    EXPECT_EQ(Error("Процедура П()\n П();\nКонецПроцедуры\nП();"),
              "2:2 Слишком глубокая вложенность вызовов (П)");
}

TEST_F(LangFixture, TryCatchesRunTimeErrorsAndRaiseRethrows) {
    EXPECT_EQ(Run("Попытка\n а = 1 / 0;\n Сообщить(\"не дошли\");\nИсключение\n "
                  "Сообщить(ОписаниеОшибки());\nКонецПопытки;"),
              "Деление на 0\n");
    EXPECT_EQ(Error("Попытка\n ВызватьИсключение \"своё\";\nИсключение\n ВызватьИсключение;\nКонецПопытки;"),
              "4:2 своё");
}

// ---- expressions ----

TEST_F(LangFixture, NumbersBehaveAsDecimals) {
    EXPECT_EQ(Run("Сообщить(0.1 + 0.2);\nСообщить(0.1 + 0.2 = 0.3);\nСообщить(Строка(1.10 * 3));\n"
                  "Сообщить(1 / 3);\nСообщить(-7 % 3);\nСообщить(2 + 3 * 4 - -1);"),
              "0.3\n1\n3.3\n0.333333333\n-1\n15\n");
    EXPECT_EQ(Error("а = 5;\nб = а / (а - 5);"), "2:7 Деление на 0");
    EXPECT_EQ(Error("а = 9000000000000000000 * 10;"), "1:25 Арифметическое переполнение");
}

TEST_F(LangFixture, TextsConcatenateAndCompareByTheLeftOperand) {
    EXPECT_EQ(Run("Сообщить(\"а\" + 1 + 2);\nСообщить(1 + \"2\");\nСообщить(\"10\" = 10);\n"
                  "Сообщить(\"абв\" < \"абг\");\nСообщить(\"Я\" > \"А\");\nСообщить(\"б\" < \"аб\");"),
              "а12\n3\n1\n1\n1\n0\n");
}

TEST_F(LangFixture, LogicShortCircuitsAndChoiceEvaluatesOneBranch) {
    EXPECT_EQ(Run("Функция Громко(з)\n Сообщить(\"вызов \" + з); Возврат з;\nКонецФункции\n"
                  "Сообщить(0 И Громко(1));\nСообщить(1 ИЛИ Громко(2));\nСообщить(НЕ 1 = 2 И 2 = 2);\n"
                  "Сообщить(?(1 > 2, Громко(3), \"иначе\"));"),
              "0\n1\n1\nиначе\n");
}

TEST_F(LangFixture, UndefinedNamesAreRunTimeErrorsWithPlaces) {
    EXPECT_EQ(Error("а = 1;\n  б = в + 1;"), "2:7 Переменная не определена (в)");
    EXPECT_EQ(Error("НетТакой(1);"), "1:1 Процедура или функция не определена (НетТакой)");
    EXPECT_EQ(Error("а = 1;\nа.Метод();"), "2:3 Значение не является объектом (Метод)");
}

// ---- built-ins ----

TEST_F(LangFixture, StringBuiltIns) {
    EXPECT_EQ(Run("с = \"Привет, мир\";\n"
                  "Сообщить(СтрДлина(с));\nСообщить(Лев(с, 6) + \"|\" + Прав(с, 3) + \"|\" + Сред(с, 9) + "
                  "\"|\" + Сред(с, 2, 3));\n"
                  "Сообщить(Найти(с, \"мир\"));\nСообщить(Найти(с, \"нет\"));\n"
                  "Сообщить(СтрЗаменить(\"1_2_3\", \"_\", \"--\"));\nСообщить(\"[\" + СокрЛП(\"  x y \") + "
                  "\"]\");\n"
                  "Сообщить(ВРег(\"ёжик\") + НРег(\"ЁЖ\"));\nСообщить(СтрЧислоВхождений(\"a_b_c\", \"_\"));\n"
                  "Сообщить(Лев(с, 0) + Прав(с, -1) + Сред(с, 50));"),
              "11\nПривет|мир|мир|рив\n9\n0\n1--2--3\n[x y]\nЁЖИКёж\n2\n\n");
}

TEST_F(LangFixture, NumberBuiltIns) {
    EXPECT_EQ(Run("Сообщить(Число(\" 12.50 руб\") + 1);\nСообщить(Цел(-7.9));\nСообщить(Окр(2.345, 2));\n"
                  "Сообщить(Окр(2.345, 2, 0));\nСообщить(Окр(1250, -2));\nСообщить(Окр(7.5));\n"
                  "Сообщить(Строка(100 / 8));\nСообщить(Макс(3, 9, 4) - Мин(3, 9, "
                  "4));\nСообщить(КодСимв(Симв(200)));"),
              "13.5\n-7\n2.35\n2.34\n1300\n8\n12.5\n6\n200\n");
    EXPECT_EQ(Error("а = Лев(\"x\");"), "1:5 Недостаточно фактических параметров (Лев)");
    EXPECT_EQ(Error("Сообщить(1, 2, 3);"), "1:1 Слишком много фактических параметров (Сообщить)");
    EXPECT_EQ(Error("а = Сообщить(1);"), "1:5 Процедура не возвращает значение (Сообщить)");
}

TEST_F(LangFixture, EmptyValuesAndTypes) {
    EXPECT_EQ(Run("Перем П;\nСообщить(ТипЗначенияСтр(П) + \"|\" + ТипЗначенияСтр(1) + \"|\" + "
                  "ТипЗначенияСтр(\"\"));\n"
                  "Сообщить(ПустоеЗначение(П) + ПустоеЗначение(0) + ПустоеЗначение(\"  \") + "
                  "ПустоеЗначение(\"x\"));\n"
                  "Сообщить(ПустаяСтрока(\" \"));"),
              "|Число|Строка\n3\n1\n");
}

}  // namespace
}  // namespace klt::test
