#pragma once

// A deliberately naive edit overlay, written straight from the record rules (a map of
// insertion runs, a set of deleted file offsets, a map of replaced bytes, everything walked
// byte by byte). The real overlay must agree with it on content, size, IsModified and the
// save strategy; a plain vector checks that both agree with ordinary editing.

#include <cstdint>
#include <map>
#include <set>
#include <vector>

namespace orx::test {

class ReferenceOverlay {
public:
    explicit ReferenceOverlay(std::vector<std::uint8_t> file) : file_(std::move(file)) {}

    [[nodiscard]] std::uint64_t Size() const
    {
        std::uint64_t runs = 0;
        for (const auto& [key, run] : insertions_)
            runs += run.size();
        return file_.size() - deletions_.size() + runs;
    }

    [[nodiscard]] std::vector<std::uint8_t> Content() const
    {
        std::vector<std::uint8_t> out;
        for (std::uint64_t k = 0; k <= file_.size(); ++k) {
            if (auto it = insertions_.find(k); it != insertions_.end()) {
                out.insert(out.end(), it->second.begin(), it->second.end());
            }
            if (k < file_.size() && deletions_.count(k) == 0) {
                auto ov = overwrites_.find(k);
                out.push_back(ov != overwrites_.end() ? ov->second : file_[k]);
            }
        }
        return out;
    }

    [[nodiscard]] bool IsModified() const
    {
        return !insertions_.empty() || !deletions_.empty() || !overwrites_.empty();
    }

    [[nodiscard]] bool SavesInPlace() const
    {
        const std::uint64_t n = file_.size();
        const bool append =
            insertions_.empty() || (insertions_.size() == 1 && insertions_.begin()->first == n);
        bool tail = true;
        std::uint64_t expected = n - deletions_.size();
        for (std::uint64_t d : deletions_) {
            tail = tail && d == expected++;
        }
        return append && tail;
    }

    bool Overwrite(std::uint64_t p, std::uint8_t v)
    {
        const Where w = Locate(p);
        if (!w.valid)
            return false;
        if (w.inRun) {
            insertions_[w.key][w.index] = v;
        } else if (file_[w.key] != v) {
            overwrites_[w.key] = v;
        } else {
            overwrites_.erase(w.key);
        }
        return true;
    }

    bool Insert(std::uint64_t p, std::uint8_t v)
    {
        const std::uint64_t size = Size();
        if (p > size)
            return false;
        if (p == size) {
            insertions_[file_.size()].push_back(v);
            return true;
        }
        const Where w = Locate(p);
        auto& run = insertions_[w.key];
        if (w.inRun) {
            run.insert(run.begin() + static_cast<std::ptrdiff_t>(w.index), v);
        } else {
            run.push_back(v);
        }
        return true;
    }

    bool Delete(std::uint64_t p)
    {
        const Where w = Locate(p);
        if (!w.valid)
            return false;
        if (w.inRun) {
            auto& run = insertions_[w.key];
            run.erase(run.begin() + static_cast<std::ptrdiff_t>(w.index));
            if (run.empty())
                insertions_.erase(w.key);
        } else {
            deletions_.insert(w.key);
            overwrites_.erase(w.key);
        }
        return true;
    }

private:
    // clang-format off
    struct Where { bool valid = false; bool inRun = false; std::uint64_t key = 0; std::uint64_t index = 0; };
    // clang-format on

    // Walks the edited document from the start until it reaches p.
    [[nodiscard]] Where Locate(std::uint64_t p) const
    {
        std::uint64_t at = 0;
        for (std::uint64_t k = 0; k <= file_.size(); ++k) {
            if (auto it = insertions_.find(k); it != insertions_.end()) {
                if (p < at + it->second.size())
                    return Where{true, true, k, p - at};
                at += it->second.size();
            }
            if (k < file_.size() && deletions_.count(k) == 0) {
                if (p == at)
                    return Where{true, false, k, 0};
                ++at;
            }
        }
        return Where{};
    }

    std::vector<std::uint8_t> file_;
    std::map<std::uint64_t, std::vector<std::uint8_t>> insertions_;
    std::set<std::uint64_t> deletions_;
    std::map<std::uint64_t, std::uint8_t> overwrites_;
};

} // namespace orx::test
