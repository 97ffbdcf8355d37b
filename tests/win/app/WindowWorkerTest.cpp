#include "app/win/WindowWorker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

namespace orx {
namespace {

constexpr UINT kResultMessage = WM_APP + 40;

// Counts live results, so that a leak or a double free shows.
struct Counted {
    static inline std::atomic<int> live{0};
    int value = 0;
    explicit Counted(int v) : value(v) { ++live; }
    Counted(const Counted& other) : value(other.value) { ++live; }
    Counted& operator=(const Counted&) = default;
    ~Counted() { --live; }
};

using Worker = WindowWorker<int, Counted>;

// A message-only window to post to.
class Target {
public:
    Target()
    {
        window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    }
    ~Target() { DestroyWindow(window_); }
    HWND Get() const { return window_; }

    // Waits until a result message is queued; false after five seconds.
    bool AwaitQueued() const
    {
        const ULONGLONG end = GetTickCount64() + 5000;
        MSG message{};
        while (!PeekMessageW(&message, window_, kResultMessage, kResultMessage, PM_NOREMOVE)) {
            if (GetTickCount64() > end) {
                return false;
            }
            Sleep(5);
        }
        return true;
    }

private:
    HWND window_ = nullptr;
};

TEST(WindowWorker, PostsTheNewestResultAndTheReceiverOwnsIt)
{
    Target target;
    ASSERT_NE(target.Get(), nullptr);
    {
        Worker worker(kResultMessage);
        worker.Start([](const int& request) { return Counted(request * 2); });
        worker.SetTarget(target.Get());
        worker.Submit(21);
        ASSERT_TRUE(target.AwaitQueued());
        MSG message{};
        ASSERT_TRUE(
            PeekMessageW(&message, target.Get(), kResultMessage, kResultMessage, PM_REMOVE));
        const auto result = Worker::Receive(message.lParam);
        ASSERT_NE(result, nullptr);
        EXPECT_TRUE(worker.IsCurrent(result->number));
        EXPECT_EQ(result->value.value, 42);
        worker.Submit(1);
        EXPECT_FALSE(worker.IsCurrent(result->number)) << "a newer request makes it stale";
    }
    EXPECT_EQ(Counted::live.load(), 0);
}

TEST(WindowWorker, StoppingFreesResultsLeftInTheQueue)
{
    Target target;
    Worker worker(kResultMessage);
    worker.Start([](const int& request) { return Counted(request); });
    worker.SetTarget(target.Get());
    worker.Submit(7);
    ASSERT_TRUE(target.AwaitQueued());
    EXPECT_EQ(Counted::live.load(), 1) << "travelling in the queue";
    worker.Stop();
    EXPECT_EQ(Counted::live.load(), 0);
    MSG message{};
    EXPECT_FALSE(PeekMessageW(&message, target.Get(), kResultMessage, kResultMessage, PM_REMOVE));
    worker.Submit(8); // after Stop: nothing is computed
    EXPECT_FALSE(worker.IsCurrent(1));
}

} // namespace
} // namespace orx
