#include "document/EditableDocument.h"
#include "search/SearchEngine.h"
#include "support/TempDir.h"
#include "worker/JobRunner.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

namespace orx::test {
namespace {

using Runner = JobRunner<FindAllOutcome, std::vector<std::uint64_t>>;

std::uint64_t RunFindAll(Runner::Context& context, const IReadOnlyDocument* document,
                         const SearchPattern& pattern)
{
    const FindAllOutcome outcome = FindAll(
        document, pattern, std::numeric_limits<std::uint64_t>::max(),
        [&context] { return !context.StopRequested(); },
        [&context](std::uint64_t done, std::uint64_t total) { context.Progress(done, total); },
        [&](std::span<const std::uint64_t> offsets) {
            context.Hand({offsets.begin(), offsets.end()});
            return true;
        });
    return outcome.count;
}

// Find All reads the document on its worker while this thread reads it too, as the window
// paints during the search; under ThreadSanitizer any shared state the reads touch shows.
TEST(FindAllWorker, FindsWhatTheUiThreadSeesWhileBothRead)
{
    std::vector<std::uint8_t> bytes(3 << 20);
    std::mt19937 random(11);
    for (auto& byte : bytes) {
        byte = static_cast<std::uint8_t>(random() % 4); // "01" often enough to cross blocks
    }
    TempDir dir;
    EditableDocument document;
    ASSERT_TRUE(document.Open(dir.Write(u"hits.bin", bytes)));
    ASSERT_TRUE(document.InsertByte(1 << 20, 0)); // the reads go through the edit records too
    const SearchPattern pattern =
        BuildSearchPattern({kSearchKindHex, u"00 01"}, TextEncoding::Ascii);
    ASSERT_TRUE(pattern.errorKey.empty());

    Runner runner({});
    runner.Start([&](Runner::Context& context) {
        return FindAllOutcome{SearchStatus::Found, RunFindAll(context, &document, pattern)};
    });
    std::vector<std::uint64_t> found;
    std::uint64_t rowsRead = 0;
    for (bool done = false; !done;) {
        Runner::News news = runner.Collect();
        for (const auto& batch : news.items) {
            found.insert(found.end(), batch.begin(), batch.end());
        }
        done = news.Finished();
        rowsRead += document.Read((rowsRead * 16) % document.Size(), 16).bytes.size() / 16;
    }
    const std::vector<std::uint8_t> edited = document.Read(0, document.Size()).bytes;
    std::vector<std::uint64_t> expected;
    for (std::size_t i = 0; i + 1 < edited.size(); ++i) {
        if (edited[i] == 0 && edited[i + 1] == 1) {
            expected.push_back(i);
        }
    }
    EXPECT_GT(rowsRead, 0u);
    EXPECT_EQ(found, expected);
}

} // namespace
} // namespace orx::test
