#include "localization/StringKeys.h"
#include "localization/StringTable.h"
#include "support/SourceDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

// Holds the key list, the two string files and the code together:
//  - both string files define exactly the keys of kStringKeys, each once, none with an empty text;
//  - every key-like string literal in src/ (a dotted lower-case name whose first part is the
//    first part of some listed key, e.g. "menu.file") is in the list;
//  - every listed key is used as a literal somewhere in src/ outside the list itself.
// The source tree is found through ORX_SOURCE_DIR, which ctest sets.

namespace orx {
namespace {

namespace fs = std::filesystem;

fs::path SourceDir()
{
    return test::ToPath(test::SourceDirectory());
}

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> ListedKeys()
{
    return std::set<std::string>(kStringKeys.begin(), kStringKeys.end());
}

std::string Prefix(const std::string& key)
{
    return key.substr(0, key.find('.'));
}

// Key-like literal -> the files (relative to src/) that use it.
std::map<std::string, std::set<std::string>> KeyLiteralsInSources()
{
    std::set<std::string> prefixes;
    for (const char* key : kStringKeys) {
        prefixes.insert(Prefix(key));
    }
    static const std::regex literal(R"re("([a-z][a-z0-9_]*(?:\.[a-z0-9_]+)+)")re");
    const fs::path src = SourceDir() / "src";
    const fs::path list = fs::path("localization") / "StringKeys.h";
    std::map<std::string, std::set<std::string>> uses;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        const auto extension = entry.path().extension();
        if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) {
            continue;
        }
        const fs::path relative = entry.path().lexically_relative(src);
        if (relative == list) {
            continue;
        }
        const std::string text = ReadText(entry.path());
        for (std::sregex_iterator it(text.begin(), text.end(), literal), end; it != end; ++it) {
            const std::string key = (*it)[1];
            if (prefixes.contains(Prefix(key))) {
                uses[key].insert(relative.generic_string());
            }
        }
    }
    return uses;
}

class StringKeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!fs::is_directory(SourceDir() / "src")) {
            GTEST_SKIP() << "the source tree is not found; run through ctest";
        }
    }
};

// A key spelled otherwise is found in no source file, so EveryListedKeyIsUsed fails for it.
TEST_F(StringKeysTest, ListHasNoDuplicates)
{
    EXPECT_EQ(ListedKeys().size(), kStringKeys.size());
}

TEST_F(StringKeysTest, BothStringFilesDefineExactlyTheListedKeys)
{
    const std::set<std::string> listed = ListedKeys();
    for (const char* file : {"en-US.txt", "ja-JP.txt"}) {
        SCOPED_TRACE(file);
        const std::string text = ReadText(SourceDir() / "resources" / "strings" / file);
        ASSERT_FALSE(text.empty());
        const StringMap map = ParseStringFile(text);
        for (const auto& [key, value] : map) {
            EXPECT_TRUE(listed.contains(key)) << "not in the key list: " << key;
            EXPECT_FALSE(value.empty()) << "empty text: " << key;
        }
        for (const auto& key : listed) {
            EXPECT_TRUE(map.contains(key)) << "missing: " << key;
        }
        // A second definition would be silently ignored; count the defining lines.
        std::istringstream lines(text);
        std::size_t definitions = 0;
        for (std::string line; std::getline(lines, line);) {
            definitions +=
                !line.empty() && line.front() != '#' && line.find('=') != std::string::npos;
        }
        EXPECT_EQ(definitions, map.size()) << "a key is defined twice";
    }
}

TEST_F(StringKeysTest, EveryKeyLiteralInTheCodeIsListed)
{
    const std::set<std::string> listed = ListedKeys();
    for (const auto& [key, files] : KeyLiteralsInSources()) {
        EXPECT_TRUE(listed.contains(key)) << key << " is used in " << *files.begin()
                                          << " but is not in localization/StringKeys.h";
    }
}

TEST_F(StringKeysTest, EveryListedKeyIsUsed)
{
    const auto uses = KeyLiteralsInSources();
    for (const auto& key : ListedKeys()) {
        EXPECT_TRUE(uses.contains(key)) << key << " is never looked up in src/";
    }
}

} // namespace
} // namespace orx
