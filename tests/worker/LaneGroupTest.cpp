#include "worker/LaneGroup.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace orx {
namespace {

TEST(LaneGroup, EveryLaneRunsOncePerRoundLaneZeroOnTheCaller)
{
    for (const std::size_t lanes : {std::size_t{1}, std::size_t{2}, std::size_t{5}}) {
        SCOPED_TRACE(lanes);
        LaneGroup group(lanes);
        const std::thread::id caller = std::this_thread::get_id();
        for (int round = 0; round < 50; ++round) {
            std::vector<int> runs(lanes, 0);
            std::vector<std::thread::id> threads(lanes);
            group.Run([&](std::size_t lane) {
                ++runs[lane];
                threads[lane] = std::this_thread::get_id();
            });
            EXPECT_EQ(runs, std::vector<int>(lanes, 1));
            EXPECT_EQ(threads[0], caller);
        }
    }
}

// The pattern of the checksum engine: the caller fills a block between rounds, every lane
// reads all of it during a round and keeps its own running sum. Plain (non-atomic) data on
// both sides: the rounds' hand-over is what makes it safe, which ThreadSanitizer checks.
TEST(LaneGroup, WhatTheCallerWroteBeforeARoundEveryLaneSeesAndViceVersa)
{
    constexpr std::size_t kLanes = 4;
    LaneGroup group(kLanes);
    std::vector<std::uint64_t> block(4096);
    std::vector<std::uint64_t> sums(kLanes, 0);
    std::uint64_t expected = 0;
    for (std::uint64_t round = 1; round <= 300; ++round) {
        for (std::size_t i = 0; i < block.size(); ++i) {
            block[i] = round * 7919 + i;
            expected += block[i];
        }
        group.Run([&](std::size_t lane) {
            for (const std::uint64_t value : block) {
                sums[lane] += value;
            }
        });
        for (std::size_t lane = 0; lane < kLanes; ++lane) {
            ASSERT_EQ(sums[lane], expected) << "round " << round << ", lane " << lane;
        }
    }
}

} // namespace
} // namespace orx
