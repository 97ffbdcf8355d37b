#pragma once

#include <condition_variable>
#include <mutex>

namespace orx::test {

// A door a worker's job waits at, so that tests decide when the worker is busy.
class Gate {
public:
    void Open()
    {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    void Pass()
    {
        std::unique_lock lock(mutex_);
        ++waiting_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return open_; });
    }
    // Returns once someone waits at the gate (or has passed it).
    void AwaitVisitor()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return waiting_ > 0; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
    int waiting_ = 0;
};

} // namespace orx::test
