// Patterns written before the language grew must load and lay out exactly as they did: the
// rows of every shipped pattern and of the fuzz corpus, frozen as copies in compat/, over one
// fixed byte string in two value formats, against the rows captured when they were written.
// ORX_UPDATE_GOLDEN=1 rewrites compat/rows.golden instead of comparing.
#include "PatternTestSupport.h"
#include "platform/Utf.h"
#include "structview/PatternText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace orx {
namespace {

std::string RowsOfEveryPattern(const std::filesystem::path& directory)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        if (entry.path().extension() == ".orpat") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    std::vector<std::uint8_t> bytes(700);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
    }
    std::string out;
    for (const std::filesystem::path& path : files) {
        out += "== " + path.filename().string() + "\n";
        auto file = std::make_shared<StructPatternFile>();
        std::u16string error;
        if (!LoadStructPatternFile(test::FromPath(path), *file, error)) {
            out += "error: " + platform::Narrow(error) + "\n";
            continue;
        }
        for (const StructValueOptions options :
             {StructValueOptions{}, StructValueOptions{1, 1, 1}}) {
            StructRowsInput input{0x40, bytes, file, u"?", options};
            for (const StructViewRow& row : BuildStructRows(input)) {
                out += platform::Narrow(row.offset + u"\t" + row.value + u"\t" + row.size + u"\t" +
                                        row.name) +
                       "\n";
            }
        }
    }
    return out;
}

TEST(PatternCompatibility, EarlierPatternsLayOutAsTheyDid)
{
    const std::filesystem::path directory =
        std::filesystem::path(platform::Narrow(test::SourceDirectory())) / "tests" / "structview" /
        "compat";
    const std::string rows = RowsOfEveryPattern(directory);
    const std::filesystem::path golden = directory / "rows.golden";
    if (std::getenv("ORX_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(golden, std::ios::binary) << rows;
        return;
    }
    std::ifstream in(golden, std::ios::binary);
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(expected.str(), rows);
}

} // namespace
} // namespace orx
