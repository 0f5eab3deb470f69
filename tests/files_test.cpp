// Wildcards as the file system's search reads them, and the native file layer on host paths.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "text/literal.h"

#ifndef _WIN32
#include <stdlib.h>
#include <unistd.h>
#endif

namespace klt::test {
namespace {

using namespace klt::text::literals;
using platform::WildcardMatch;

TEST(Wildcard, StarsQuestionMarksAndCase) {
    EXPECT_TRUE(WildcardMatch("*", ""));
    EXPECT_TRUE(WildcardMatch("*.ini", "fileZal2.ini"));
    EXPECT_TRUE(WildcardMatch("FILEZAL?.INI", "fileZal2.ini"));
    EXPECT_FALSE(WildcardMatch("fileZal?.ini", "fileZal12.ini"));
    EXPECT_TRUE(WildcardMatch("*_*_*", "01_2_3"));
    EXPECT_FALSE(WildcardMatch("*_*_*", "01_23"));
    EXPECT_TRUE(WildcardMatch(std::string("*ЗАКАЗ*"_cp), std::string("мой_заказ_1"_cp)));
    EXPECT_FALSE(WildcardMatch("a", ""));
    // Many stars against a long name must stay fast (no exponential backtracking).
    EXPECT_FALSE(WildcardMatch(std::string(30, '*') + "b", std::string(5000, 'a')));
}

#ifndef _WIN32
TEST(PosixFiles, HostPathsWithDoubledBackslashesAndCyrillicNames) {
    char tmpl[] = "/tmp/klt-files-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    platform::FileSystem& fs = platform::Files();
    const std::string base = std::string(tmpl) + "\\\\";
    const std::string dir = base + std::string("ДАННЫЕ"_cp);
    ASSERT_TRUE(fs.MakeDirectory(dir));
    EXPECT_TRUE(fs.MakeDirectory(dir)) << "an existing folder is fine";
    EXPECT_TRUE(fs.IsDirectory(dir));
    const std::string file = dir + "\\\\" + std::string("Заказ_1.txt"_cp);
    ASSERT_TRUE(fs.WriteAll(file, std::string("ab\0c", 4)));
    std::string bytes;
    ASSERT_TRUE(fs.ReadAll(file, bytes, 100));
    EXPECT_EQ(bytes, std::string("ab\0c", 4));
    ASSERT_TRUE(fs.ReadAll(file, bytes, 2));
    EXPECT_EQ(bytes, "ab") << "reading is bounded";
    EXPECT_EQ(fs.List(dir, std::string("заказ_*"_cp), 10),
              std::vector<std::string>{std::string("Заказ_1.txt"_cp)});
    EXPECT_TRUE(fs.List(dir + "\\\\nowhere", "*", 10).empty());
    EXPECT_TRUE(fs.List(base, "*", 10).empty()) << "folders are not listed as files";
    // Links count as what they point at: a file is listed, a folder or nothing at all is not.
    const std::string native = std::string(tmpl) + "/" + "ДАННЫЕ";
    ASSERT_EQ(::symlink((native + "/" + "Заказ_1.txt").c_str(), (native + "/to_file").c_str()), 0);
    ASSERT_EQ(::symlink(tmpl, (native + "/to_folder").c_str()), 0);
    ASSERT_EQ(::symlink("/nonexistent/klt", (native + "/to_nothing").c_str()), 0);
    EXPECT_EQ(fs.List(dir, "to_*", 10), std::vector<std::string>{"to_file"});
    for (const char* link : {"/to_file", "/to_folder", "/to_nothing"}) ::unlink((native + link).c_str());

    const std::string moved = base + "moved.txt";
    ASSERT_TRUE(fs.Copy(file, moved, false));
    EXPECT_FALSE(fs.Copy(file, moved, false));
    EXPECT_FALSE(fs.Move(file, moved)) << "a move never replaces an existing file";
    EXPECT_TRUE(fs.Exists(file));
    ASSERT_TRUE(fs.Remove(moved));
    ASSERT_TRUE(fs.Move(file, moved));
    EXPECT_FALSE(fs.Exists(file));
    EXPECT_EQ(fs.Open(dir, platform::OpenMode::Read), nullptr) << "a folder is not a file";
    EXPECT_EQ(fs.Open(file, platform::OpenMode::Read), nullptr);
    ASSERT_TRUE(fs.Remove(moved));
    ::rmdir((std::string(tmpl) + "/" + "ДАННЫЕ").c_str());
    ::rmdir(tmpl);
}
#endif

}  // namespace
}  // namespace klt::test
