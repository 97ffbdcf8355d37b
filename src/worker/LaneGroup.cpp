#include "worker/LaneGroup.h"

namespace orx {

LaneGroup::LaneGroup(std::size_t lanes)
{
    for (std::size_t lane = 1; lane < lanes; ++lane) {
        threads_.emplace_back([this, lane] { Serve(lane); });
    }
}

LaneGroup::~LaneGroup()
{
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    begin_.notify_all();
    for (std::thread& thread : threads_) {
        thread.join();
    }
}

void LaneGroup::Run(const Work& work)
{
    if (threads_.empty()) {
        work(0);
        return;
    }
    {
        std::lock_guard lock(mutex_);
        work_ = &work;
        busy_ = threads_.size();
        ++round_;
    }
    begin_.notify_all();
    work(0);
    std::unique_lock lock(mutex_);
    end_.wait(lock, [this] { return busy_ == 0; });
    work_ = nullptr;
}

void LaneGroup::Serve(std::size_t lane)
{
    std::uint64_t seen = 0;
    for (;;) {
        const Work* work = nullptr;
        {
            std::unique_lock lock(mutex_);
            begin_.wait(lock, [&] { return stop_ || round_ != seen; });
            if (stop_) {
                return;
            }
            seen = round_;
            work = work_;
        }
        (*work)(lane);
        bool last = false;
        {
            std::lock_guard lock(mutex_);
            last = --busy_ == 0;
        }
        if (last) {
            end_.notify_one();
        }
    }
}

} // namespace orx
