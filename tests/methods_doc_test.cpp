// docs/methods.md must say what the method tables say; KLT_UPDATE_DOCS=1 rewrites it.
#include <gtest/gtest.h>

#if defined(KLT_SOURCE_DIR)
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "text/literal.h"
#include "tools/methods_doc/method_docs.h"

namespace klt::docs {
namespace {

using namespace klt::text::literals;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(MethodsDoc, FileMatchesTheTables) {
    const std::string path = std::string(KLT_SOURCE_DIR) + "/docs/methods.md";
    const std::string md = RenderReference(Classes());
    const char* update = std::getenv("KLT_UPDATE_DOCS");
    if (update != nullptr && std::string(update) == "1") {
        std::ofstream(path, std::ios::binary) << md;
    }
    std::ifstream in(path, std::ios::binary);
    std::stringstream file;
    file << in.rdbuf();
    if (file.str() == md) return;
    const std::vector<std::string> want = Lines(md), have = Lines(file.str());
    std::size_t i = 0;
    while (i < want.size() && i < have.size() && want[i] == have[i]) ++i;
    auto at = [i](const std::vector<std::string>& lines) {
        return i < lines.size() ? lines[i] : "(end of file)";
    };
    FAIL() << path << " is out of date with the method tables. Line " << i + 1 << " should read\n  "
           << at(want) << "\nbut reads\n  " << at(have)
           << "\nRegenerate it: cmake --build --preset native --target methods_doc (or KLT_UPDATE_DOCS=1)";
}

// A table row changed without its docs entry: each kind of change is named.
TEST(MethodsDoc, ChangedRowsAreNamed) {
    const ClassDoc& zaly = Classes().back();
    const core::MethodDef& monitor = zaly.info->methods[0];
    const core::MethodDef rows[] = {
        {"", monitor.russian, 0, monitor.params + 1},
        {"", "Редактор"_cp, 0, 0},
    };
    const core::ClassInfo info{nullptr, 5, "", "", rows, 2};
    ClassDoc changed = zaly;
    changed.info = &info;
    const std::vector<std::string> problems = Problems({&changed, 1});
    ASSERT_EQ(problems.size(), 5u) << ::testing::PrintToString(problems);
    EXPECT_EQ(problems[0], "Zaly.Монитор: the table has 4 parameters, the docs 3");
    EXPECT_EQ(problems[1], "Zaly.Монитор: a procedure whose docs give a result");
    EXPECT_EQ(problems[2].rfind("Zaly.Монитор: the example does not call", 0), 0u);
    EXPECT_EQ(problems[3], "Zaly.Редактор: 0 docs entries, not 1");
    EXPECT_EQ(problems[4], "Zaly.НастройкаЗалов: docs entry without a table row");
    EXPECT_THROW(RenderReference({&changed, 1}), std::logic_error);
}

}  // namespace
}  // namespace klt::docs
#endif
