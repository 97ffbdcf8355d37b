#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace orx {

// A fixed team of threads working in lockstep rounds: in each round every lane runs the same
// function with its own lane number, the calling thread being lane 0, and Run returns once
// all lanes are done. For work that splits by kind rather than by data, such as several
// digests of the same block: the block stays put while the lanes read it, and the caller
// fills it again between rounds. Everything a lane wrote in a round is visible to the caller
// after Run, and everything the caller wrote before Run to every lane.
//
// Run belongs to one thread (the owner's); lanes never run outside Run.
class LaneGroup {
public:
    using Work = std::function<void(std::size_t lane)>;

    // Starts `lanes` - 1 threads (at least one lane: the caller's).
    explicit LaneGroup(std::size_t lanes);
    ~LaneGroup();
    LaneGroup(const LaneGroup&) = delete;
    LaneGroup& operator=(const LaneGroup&) = delete;

    [[nodiscard]] std::size_t Lanes() const { return threads_.size() + 1; }

    // One round: work(0) here, work(1) .. work(Lanes() - 1) on the other threads.
    void Run(const Work& work);

private:
    void Serve(std::size_t lane);

    std::mutex mutex_;
    std::condition_variable begin_;
    std::condition_variable end_;
    const Work* work_ = nullptr;
    std::uint64_t round_ = 0;
    std::size_t busy_ = 0;
    bool stop_ = false;
    std::vector<std::thread> threads_;
};

} // namespace orx
