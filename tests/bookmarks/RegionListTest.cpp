#include "bookmarks/RegionList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

namespace orx {
namespace {

Region At(std::uint64_t offset, std::uint64_t length, const char16_t* note = u"")
{
    return Region{offset, length, RegionColour::Red, note};
}

// The document as a list of byte identities, each region as the set of identities it
// covers: an inserted byte belongs to a region only when both its neighbours do.
struct NaiveModel {
    std::vector<std::uint64_t> bytes;
    std::map<std::u16string, std::vector<std::uint64_t>> regions; // note -> identities
    std::uint64_t nextId = 0;

    void Insert(std::uint64_t at, std::uint64_t count)
    {
        std::vector<std::uint64_t> fresh(count);
        for (auto& id : fresh) {
            id = nextId++;
        }
        for (auto& region : regions) {
            std::vector<std::uint64_t>& ids = region.second;
            const auto has = [&](std::uint64_t index) {
                return std::find(ids.begin(), ids.end(), bytes[index]) != ids.end();
            };
            if (at > 0 && at < bytes.size() && has(at - 1) && has(at)) {
                ids.insert(ids.end(), fresh.begin(), fresh.end());
            }
        }
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), fresh.begin(), fresh.end());
    }
    void Delete(std::uint64_t at, std::uint64_t count)
    {
        const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(at);
        const std::vector<std::uint64_t> gone(first, first + static_cast<std::ptrdiff_t>(count));
        bytes.erase(first, first + static_cast<std::ptrdiff_t>(count));
        for (auto it = regions.begin(); it != regions.end();) {
            std::erase_if(it->second, [&](std::uint64_t id) {
                return std::find(gone.begin(), gone.end(), id) != gone.end();
            });
            it = it->second.empty() ? regions.erase(it) : std::next(it);
        }
    }
    // Each region's first and last position; a region whose bytes are not contiguous fails.
    std::map<std::u16string, std::pair<std::uint64_t, std::uint64_t>> Spans() const
    {
        std::map<std::u16string, std::pair<std::uint64_t, std::uint64_t>> spans;
        for (const auto& [note, ids] : regions) {
            std::vector<std::uint64_t> positions;
            for (std::uint64_t i = 0; i < bytes.size(); ++i) {
                if (std::find(ids.begin(), ids.end(), bytes[i]) != ids.end()) {
                    positions.push_back(i);
                }
            }
            EXPECT_EQ(positions.back() - positions.front() + 1, positions.size()) << "gap";
            spans[note] = {positions.front(), positions.size()};
        }
        return spans;
    }
};

TEST(RegionListTest, FollowsInsertsAndDeletesAsEachByteDoes)
{
    std::mt19937_64 random(32);
    for (int round = 0; round < 200; ++round) {
        NaiveModel model;
        model.Insert(0, 64);
        RegionList list;
        for (int r = 0; r < 6; ++r) {
            const std::uint64_t offset = random() % 60;
            const std::uint64_t length = 1 + random() % (64 - offset);
            const std::u16string note = u"r" + std::u16string(1, static_cast<char16_t>(u'0' + r));
            ASSERT_TRUE(list.Add(At(offset, length, note.c_str())));
            model.regions[note].assign(model.bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                                       model.bytes.begin() +
                                           static_cast<std::ptrdiff_t>(offset + length));
        }
        for (int step = 0; step < 30; ++step) {
            const std::uint64_t size = model.bytes.size();
            const std::size_t before = list.Count();
            if (size < 2 || random() % 2 == 0) {
                const std::uint64_t at = random() % (size + 1);
                const std::uint64_t count = 1 + random() % 5;
                model.Insert(at, count);
                list.Inserted(at, count);
            } else {
                const std::uint64_t at = random() % size;
                const std::uint64_t count = 1 + random() % std::min<std::uint64_t>(12, size - at);
                model.Delete(at, count);
                EXPECT_EQ(list.Deleted(at, count), before - model.regions.size());
            }
            std::map<std::u16string, std::pair<std::uint64_t, std::uint64_t>> actual;
            for (const Region& region : list.Items()) {
                actual[region.note] = {region.offset, region.length};
            }
            ASSERT_EQ(actual, model.Spans()) << "round " << round << " step " << step;
            ASSERT_TRUE(std::is_sorted(
                list.Items().begin(), list.Items().end(),
                [](const Region& a, const Region& b) { return a.offset < b.offset; }));
        }
    }
}

TEST(RegionListTest, ClampsToANewSizeAndStepsBetweenStarts)
{
    RegionList list;
    list.Assign({At(40, 10), At(0, 4), At(10, 20), At(10, 2), At(60, 1), At(5, 0)});
    ASSERT_EQ(list.Count(), 5u); // the empty one is dropped

    const struct {
        std::uint64_t from;
        std::optional<std::uint64_t> next;
        std::optional<std::uint64_t> previous;
    } steps[] = {
        {0, 10, std::nullopt},  {3, 10, 0}, {10, 40, 0}, {11, 40, 10}, {60, std::nullopt, 40},
        {99, std::nullopt, 60},
    };
    for (const auto& step : steps) {
        const auto next = list.Next(step.from);
        const auto previous = list.Previous(step.from);
        EXPECT_EQ(next ? std::optional(list.Items()[*next].offset) : std::nullopt, step.next)
            << step.from;
        EXPECT_EQ(previous ? std::optional(list.Items()[*previous].offset) : std::nullopt,
                  step.previous)
            << step.from;
    }

    EXPECT_EQ(list.ClampTo(45), 1u);
    std::vector<std::pair<std::uint64_t, std::uint64_t>> spans;
    for (const Region& region : list.Items()) {
        spans.emplace_back(region.offset, region.length);
    }
    const std::vector<std::pair<std::uint64_t, std::uint64_t>> expected = {
        {0, 4}, {10, 2}, {10, 20}, {40, 5}};
    EXPECT_EQ(spans, expected);

    std::vector<MarkedRange> marks;
    list.MarksIn(11, 40, marks);
    EXPECT_EQ(marks.size(), 2u); // the two at 10; the one at 40 starts at the span's end
}

} // namespace
} // namespace orx
