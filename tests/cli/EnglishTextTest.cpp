#include "cli/BuiltInStrings.h"
#include "cli/CommandSupport.h"
#include "cli/CommandTestSupport.h"
#include "localization/StringTable.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace orx::cli {
namespace {

TEST(BuiltInEnglishStrings, AreTheStringFileOfTheSourceTree)
{
    const std::filesystem::path path =
        orx::test::ToPath(test::SourceDirectory()) / "resources" / "strings" / "en-US.txt";
    std::ifstream file(path, std::ios::binary);
    ASSERT_TRUE(file) << path;
    const std::string source((std::istreambuf_iterator<char>(file)),
                             std::istreambuf_iterator<char>());
    const StringMap builtIn = ParseStringFile(BuiltInEnglishStrings());
    EXPECT_GT(builtIn.size(), 50u);
    EXPECT_EQ(builtIn, ParseStringFile(source));
}

TEST(EnglishText, AStringFileTakesPrecedenceAndTheBuiltInTextsFillItsGaps)
{
    orx::test::TempDir withFile;
    std::filesystem::create_directories(withFile.Dir() / "resources" / "strings");
    (void)withFile.Write(u"resources/strings/en-US.txt", "status.mode = Local mode\n");
    const orx::test::TempDir empty;
    const std::u16string builtInMode = ParseStringFile(BuiltInEnglishStrings()).at("status.mode");

    // clang-format off
    struct Case { std::u16string directory; std::string key; std::u16string expected; };
    // clang-format on
    const Case cases[] = {
        {orx::test::FromPath(withFile.Dir()), "status.mode", u"Local mode"},
        {orx::test::FromPath(withFile.Dir()), "error.search_not_found", u"No match was found."},
        {orx::test::FromPath(empty.Dir()), "status.mode", builtInMode},
        {orx::test::FromPath(empty.Dir()), "no.such.key", u"no.such.key"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EnglishText(c.key, c.directory), c.expected) << c.key;
    }
}

} // namespace
} // namespace orx::cli
