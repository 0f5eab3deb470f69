// klthost as a program running modules: what it prints, where errors point, and its exit status.
#include <gtest/gtest.h>

#if defined(KLT_KLTHOST_PATH) && !defined(_WIN32)
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace klt::test {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out, err;
};

class KlthostModule : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("klthost_module_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_ / "ports");
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return (dir_ / name).string();
    }

    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // Runs klthost with the arguments (already quoted for the shell), with no serial device.
    Outcome Run(const std::string& args) {
        const std::string command = "KLT_SERIAL_DIR='" + (dir_ / "ports").string() +
                                    "' '" KLT_KLTHOST_PATH "' " + args + " >'" + (dir_ / "out").string() +
                                    "' 2>'" + (dir_ / "err").string() + "'";
        const int raw = std::system(command.c_str());
        Outcome o;
        o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        o.out = Read(dir_ / "out");
        o.err = Read(dir_ / "err");
        return o;
    }

    fs::path dir_;
};

TEST_F(KlthostModule, RunsAModuleAndPrintsItsMessages) {
    const std::string m =
        Write("m.1c", "Сообщить(0.1 + 0.2);\nСообщить(\"Права: \" + НазваниеНабораПрав());\n");
    Outcome o = Run("--rights Кассир '" + m + "'");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "0.3\nПрава: Кассир\n");
    EXPECT_EQ(o.err, "");
}

TEST_F(KlthostModule, ReadsCp1251ModulesToo) {
    // "Сообщить("Привет");" in CP1251: not valid UTF-8, so read as CP1251.
    const std::string m = Write("cp.1c", "\xD1\xEE\xEE\xE1\xF9\xE8\xF2\xFC(\"\xCF\xF0\xE8\xE2\xE5\xF2\");");
    Outcome o = Run("'" + m + "'");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "Привет\n");
}

TEST_F(KlthostModule, SyntaxErrorsGiveFileLineColumnAndStatus1) {
    const std::string m = Write("bad.1c", "Сообщить(1);\nЕсли 1 Тогда\n  а = ;\nКонецЕсли;");
    Outcome o = Run("'" + m + "'");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "") << "nothing runs before the module parses";
    EXPECT_EQ(o.err, m + ":3:7: ошибка: Ожидается выражение, а встретилось \";\"\n");
}

TEST_F(KlthostModule, RunTimeErrorsOfTheAddInStopTheRunWithStatus1) {
    const std::string m = Write(
        "rt.1c",
        "В = СоздатьОбъект(\"Vkusnica\");\nСообщить(\"до\");\nК = В.ВыборКурса();\nСообщить(\"после\");");
    // No window can be made: the add-in's call ends in an exception.
    Outcome o = Run("--load --no-windows '" + m + "'");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "до\n");
    EXPECT_EQ(o.err.rfind(m + ":3:7: ошибка: Error: exception", 0), 0u) << o.err;
    EXPECT_NE(o.err.find("(код 1006)"), std::string::npos) << o.err;
}

TEST_F(KlthostModule, EventsReachTheHandlerAndEndOfWorkEndsTheWait) {
    const std::string log = (dir_ / "events.log").string();
    Outcome o = Run("--load --events '" + log + "' --wait 20000 '" KLT_EXAMPLES_DIR "/windows_wait.1c'");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.out.find("Ждём...\nСобытие 1: Компонента | Таймер | \n"), std::string::npos) << o.out;
    EXPECT_EQ(Read(log), "Компонента\tТаймер\t\n");
}

TEST_F(KlthostModule, AWindowLeftWithoutAUserFailsTheCall) {
    const std::string m =
        Write("w.1c", "В = СоздатьОбъект(\"Vkusnica\");\nГостей = В.ЗапросЧисла(\"1\", \"Гостей\", 0);");
    Outcome o = Run("--load '" + m + "'");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err.rfind(m + ":2:12: ошибка: Модальное окно 291", 0), 0u) << o.err;
}

TEST_F(KlthostModule, BadUsageIsStatus2) {
    EXPECT_EQ(Run("").status, 2);
    EXPECT_EQ(Run("'" + (dir_ / "missing.1c").string() + "'").status, 1);
    EXPECT_EQ(Run("--wait x m.1c").status, 2);
    EXPECT_EQ(Run("--demo m.1c").status, 2);
}

TEST_F(KlthostModule, TheLanguageExampleRuns) {
    Outcome o = Run("'" KLT_EXAMPLES_DIR "/language.1c'");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.out.find("0.1 + 0.2 = 0.3\n1 / 3 = 0.333333333, 2 / 3 = 0.666666667\n"), std::string::npos)
        << o.out;
    EXPECT_NE(o.out.find("Сумма нечётных до 10: 25\n"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("Первая строка\nВторая строка, в ней \"кавычки\"\n"), std::string::npos) << o.out;
}

}  // namespace
}  // namespace klt::test
#endif
