#include "checksum/ChecksumEngine.h"

#include "worker/LaneGroup.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <numeric>
#include <thread>

namespace orx {
namespace {

// Nanoseconds per byte of each algorithm on a current x86-64 processor, for the first split
// of the digests over the lanes; the split is made again from measured times after a few
// blocks.
double InitialCost(DigestAlgorithm algorithm)
{
    switch (algorithm) {
    case DigestAlgorithm::Crc32: return 0.35;
    case DigestAlgorithm::Adler32: return 0.1;
    case DigestAlgorithm::Md5: return 1.3;
    case DigestAlgorithm::Sha1: return 0.55;
    case DigestAlgorithm::Sha256: return 0.55;
    case DigestAlgorithm::Sha512: return 1.2;
    }
    return 1.0;
}

// Blocks timed before the digests are spread again by their measured cost.
constexpr std::uint64_t kCalibrationBlocks = 4;

std::size_t ChooseLanes(const ChecksumOptions& options, std::size_t digests)
{
    std::size_t lanes = options.lanes;
    if (lanes == 0) {
        lanes = std::max(1u, std::thread::hardware_concurrency());
    }
    return std::max<std::size_t>(1, std::min(lanes, digests));
}

} // namespace

std::vector<std::vector<std::size_t>> BalanceLanes(std::span<const double> costs, std::size_t lanes)
{
    lanes = std::max<std::size_t>(1, lanes);
    std::vector<std::size_t> order(costs.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return costs[a] > costs[b]; });
    std::vector<std::vector<std::size_t>> groups(lanes);
    std::vector<double> load(lanes, 0.0);
    for (const std::size_t item : order) {
        const auto lightest =
            static_cast<std::size_t>(std::min_element(load.begin(), load.end()) - load.begin());
        groups[lightest].push_back(item);
        load[lightest] += costs[item];
    }
    std::erase_if(groups, [](const std::vector<std::size_t>& group) { return group.empty(); });
    for (std::vector<std::size_t>& group : groups) {
        std::sort(group.begin(), group.end());
    }
    return groups;
}

ChecksumOutcome ComputeChecksums(const IReadOnlyDocument& document, ChecksumRange range,
                                 std::span<const DigestAlgorithm> algorithms, std::stop_token stop,
                                 const ProgressCallback& progress, const ChecksumOptions& options)
{
    ChecksumOutcome outcome;
    std::vector<DigestAlgorithm> chosen;
    for (const DigestAlgorithm algorithm : algorithms) {
        if (std::find(chosen.begin(), chosen.end(), algorithm) == chosen.end()) {
            chosen.push_back(algorithm);
        }
    }
    std::vector<std::unique_ptr<platform::Digest>> digests;
    for (const DigestAlgorithm algorithm : chosen) {
        digests.push_back(platform::CreateDigest(algorithm));
        if (!digests.back()) {
            outcome.status = ChecksumStatus::Unavailable;
            outcome.failedAlgorithm = algorithm;
            return outcome;
        }
    }
    const std::uint64_t size = document.Size();
    if (range.offset > size || range.length > size - range.offset) {
        outcome.status = ChecksumStatus::Unreadable;
        outcome.failedOffset = size;
        return outcome;
    }

    // Each digest is fed by one lane; the time each took so far decides the next split.
    std::vector<double> costs;
    for (const DigestAlgorithm algorithm : chosen) {
        costs.push_back(InitialCost(algorithm));
    }
    const std::size_t lanes = ChooseLanes(options, digests.size());
    std::vector<std::vector<std::size_t>> split = BalanceLanes(costs, lanes);
    std::vector<std::chrono::steady_clock::duration> spent(digests.size());
    LaneGroup group(split.size());

    const std::size_t blockSize = std::max<std::size_t>(1, options.blockSize);
    std::vector<std::uint8_t> buffer(
        static_cast<std::size_t>(std::min<std::uint64_t>(blockSize, range.length)));
    std::span<const std::uint8_t> block;
    const LaneGroup::Work feed = [&](std::size_t lane) {
        for (const std::size_t index : split[lane]) {
            const auto start = std::chrono::steady_clock::now();
            digests[index]->Update(block);
            spent[index] += std::chrono::steady_clock::now() - start;
        }
    };

    std::uint64_t done = 0;
    std::uint64_t blocks = 0;
    while (done < range.length) {
        if (stop.stop_requested()) {
            outcome.status = ChecksumStatus::Stopped;
            return outcome;
        }
        const auto want =
            static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), range.length - done));
        const std::uint64_t got = document.ReadInto(range.offset + done, buffer.data(), want);
        if (got < want) {
            outcome.status = ChecksumStatus::Unreadable;
            outcome.failedOffset = range.offset + done + got;
            return outcome;
        }
        block = std::span<const std::uint8_t>(buffer.data(), want);
        group.Run(feed);
        done += want;
        if (++blocks == kCalibrationBlocks && group.Lanes() > 1) {
            for (std::size_t i = 0; i < spent.size(); ++i) {
                costs[i] = std::chrono::duration<double>(spent[i]).count();
            }
            split = BalanceLanes(costs, group.Lanes());
            split.resize(group.Lanes()); // a lane left without digests idles
        }
        if (progress) {
            progress(done, range.length);
        }
    }
    if (stop.stop_requested()) {
        outcome.status = ChecksumStatus::Stopped;
        return outcome;
    }
    for (std::size_t i = 0; i < digests.size(); ++i) {
        ChecksumValue value{chosen[i], digests[i]->Finish()};
        if (value.bytes.size() != platform::DigestSize(chosen[i])) {
            outcome = ChecksumOutcome{};
            outcome.status = ChecksumStatus::Unavailable;
            outcome.failedAlgorithm = chosen[i];
            return outcome;
        }
        outcome.values.push_back(std::move(value));
    }
    return outcome;
}

} // namespace orx
