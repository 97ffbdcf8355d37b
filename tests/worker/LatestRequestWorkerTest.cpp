#include "worker/LatestRequestWorker.h"

#include "worker/Gate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace orx {
namespace {

// A result that counts its live instances, so that a leak or a double free shows.
struct Counted {
    static inline std::atomic<int> live{0};
    std::string text;
    explicit Counted(std::string value) : text(std::move(value)) { ++live; }
    Counted(const Counted& other) : text(other.text) { ++live; }
    Counted(Counted&& other) noexcept : text(std::move(other.text)) { ++live; }
    Counted& operator=(const Counted&) = default;
    Counted& operator=(Counted&&) = default;
    ~Counted() { --live; }
};

using test::Gate;
using Worker = LatestRequestWorker<int, Counted>;
using Delivered = std::unique_ptr<WorkerResult<Counted>>;

// What a receiving window does: keeps what arrives until it is looked at.
class Inbox {
public:
    void Put(Delivered result)
    {
        std::lock_guard lock(mutex_);
        results_.push_back(std::move(result));
        arrived_.notify_all();
    }
    // Waits until a result with `number` arrived; false after ten seconds.
    bool AwaitNumber(std::uint64_t number)
    {
        std::unique_lock lock(mutex_);
        return arrived_.wait_for(lock, std::chrono::seconds(10), [&] {
            return !results_.empty() && results_.back()->number == number;
        });
    }
    std::vector<Delivered> Take()
    {
        std::lock_guard lock(mutex_);
        return std::move(results_);
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Delivered> results_;
};

class LatestRequestWorkerTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(Counted::live.load(), 0); }

    void RecordComputed(int request)
    {
        std::lock_guard lock(computedMutex_);
        computed_.push_back(request);
    }
    std::vector<int> Computed()
    {
        std::lock_guard lock(computedMutex_);
        return computed_;
    }

    // Computes a request, the first one only once `gate` opens; delivers to `inbox`.
    Worker GatedWorker(Gate& gate, Inbox& inbox)
    {
        return Worker(
            [this, &gate](const int& request) {
                RecordComputed(request);
                if (request == 1) {
                    gate.Pass();
                }
                return Counted(std::to_string(request));
            },
            [&inbox](Delivered result) { inbox.Put(std::move(result)); });
    }

    std::mutex computedMutex_;
    std::vector<int> computed_;
};

TEST_F(LatestRequestWorkerTest, ManyProducersEndWithTheNewestRequestAnswered)
{
    constexpr int kProducers = 4;
    constexpr int kPerProducer = 3000;
    Inbox inbox;
    Worker worker([](const int& request) { return Counted(std::to_string(request)); },
                  [&](Delivered result) { inbox.Put(std::move(result)); });

    std::vector<std::map<std::uint64_t, int>> given(kProducers);
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p) {
        producers.emplace_back([&, p] {
            for (int i = 0; i < kPerProducer; ++i) {
                const int request = p * kPerProducer + i;
                given[p][worker.Submit(request)] = request;
            }
        });
    }
    for (auto& producer : producers) {
        producer.join();
    }
    const std::uint64_t last = worker.LatestNumber();
    EXPECT_EQ(last, std::uint64_t{kProducers * kPerProducer});
    ASSERT_TRUE(inbox.AwaitNumber(last));
    worker.Stop();

    std::map<std::uint64_t, int> all;
    for (const auto& map : given) {
        all.insert(map.begin(), map.end());
    }
    ASSERT_EQ(all.size(), std::size_t{kProducers * kPerProducer}) << "numbers must be unique";
    std::uint64_t previous = 0;
    for (const auto& result : inbox.Take()) {
        EXPECT_GT(result->number, previous) << "results arrive newest last";
        previous = result->number;
        EXPECT_EQ(result->value.text, std::to_string(all.at(result->number)))
            << "a result answers the request its number was given to";
    }
}

TEST_F(LatestRequestWorkerTest, OnlyTheNewestOfAQueuedBurstIsComputedAndDelivered)
{
    Gate gate;
    Inbox inbox;
    Worker worker = GatedWorker(gate, inbox);

    EXPECT_EQ(worker.Submit(1), 1u);
    gate.AwaitVisitor();
    for (int request = 2; request <= 50; ++request) {
        worker.Submit(request);
    }
    EXPECT_FALSE(worker.IsCurrent(1));
    EXPECT_TRUE(worker.IsCurrent(50));
    gate.Open();
    ASSERT_TRUE(inbox.AwaitNumber(50));
    worker.Stop();

    EXPECT_EQ(Computed(), (std::vector<int>{1, 50}));
    const auto results = inbox.Take();
    ASSERT_EQ(results.size(), 1u) << "the overtaken first result is not delivered";
    EXPECT_EQ(results[0]->value.text, "50");
}

TEST_F(LatestRequestWorkerTest, StopEndsTheWorkerWithoutDeliveringOrComputingMore)
{
    // clang-format off
    struct Case { const char* name; bool withPending; bool dropFirst; };
    // clang-format on
    const Case cases[] = {
        {"stop while busy", false, false},
        {"stop with a request pending", true, false},
        {"drop the pending request, then stop", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        computed_.clear();
        Gate gate;
        Inbox inbox;
        {
            Worker worker = GatedWorker(gate, inbox);
            worker.Submit(1);
            gate.AwaitVisitor();
            if (c.withPending) {
                worker.Submit(2);
            }
            if (c.dropFirst) {
                worker.DropPending();
            }
            worker.RequestStop();
            gate.Open();
            worker.Stop();
            worker.Stop(); // again, as the destructor will
            worker.Submit(3);
        }
        EXPECT_EQ(Computed(), std::vector<int>{1});
        EXPECT_TRUE(inbox.Take().empty());
    }
}

// A computation can tell that a newer request came while it ran, and only then.
TEST_F(LatestRequestWorkerTest, AComputationSeesWhenANewerRequestOvertookIt)
{
    Gate gate;
    Inbox inbox;
    std::vector<std::pair<int, bool>> seen; // request, overtaken at its end
    std::optional<Worker> worker;
    worker.emplace(
        [&](const int& request) {
            const bool before = worker->Overtaken();
            if (request == 1) {
                gate.Pass();
            }
            seen.emplace_back(request, !before && worker->Overtaken());
            return Counted(std::to_string(request));
        },
        [&inbox](Delivered result) { inbox.Put(std::move(result)); });
    worker->Submit(1);
    gate.AwaitVisitor();
    const std::uint64_t last = worker->Submit(2);
    gate.Open();
    ASSERT_TRUE(inbox.AwaitNumber(last));
    worker->Stop();
    EXPECT_EQ(seen, (std::vector<std::pair<int, bool>>{{1, true}, {2, false}}));
}

// A settling request is begun only when nothing newer came during its settle time: a
// burst of them costs one computation, of the last, and Stop does not wait out the time.
TEST_F(LatestRequestWorkerTest, ASettlingRequestStartsOnlyWhenNoNewerOneCame)
{
    using std::chrono::milliseconds;
    Inbox inbox;
    {
        Worker worker(
            [this](const int& request) {
                RecordComputed(request);
                return Counted(std::to_string(request));
            },
            [&inbox](Delivered result) { inbox.Put(std::move(result)); });
        worker.Submit(1, std::chrono::hours(1)); // overtaken while it settles
        worker.Submit(2, std::chrono::hours(1)); // overtaken too, maybe before it was taken
        const auto start = std::chrono::steady_clock::now();
        const std::uint64_t last = worker.Submit(3, milliseconds(30));
        ASSERT_TRUE(inbox.AwaitNumber(last));
        EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(30));
        EXPECT_EQ(Computed(), std::vector<int>{3});

        worker.Submit(4, std::chrono::hours(1)); // left settling: Stop ends the wait
        worker.Stop();
    }
    EXPECT_EQ(Computed(), std::vector<int>{3});
    EXPECT_EQ(inbox.Take().size(), 1u);
}

TEST_F(LatestRequestWorkerTest, DropPendingKeepsTheWorkerAnsweringLaterRequests)
{
    Gate gate;
    Inbox inbox;
    Worker worker = GatedWorker(gate, inbox);
    worker.Submit(1);
    gate.AwaitVisitor();
    worker.Submit(2);
    worker.DropPending();
    gate.Open();
    const std::uint64_t third = worker.Submit(3);
    ASSERT_TRUE(inbox.AwaitNumber(third));
    worker.Stop();
    EXPECT_EQ(Computed(), (std::vector<int>{1, 3}));
}

} // namespace
} // namespace orx
