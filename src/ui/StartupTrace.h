#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orx {

// Named moments of the editor's start-up, in microseconds since the process was created:
// what the start-up benchmark reports step by step, and what the test that keeps the hex
// rows ahead of everything else reads. A step is marked once, the first time it happens.
class StartupTrace {
public:
    struct Mark {
        std::string step;
        std::uint64_t microseconds = 0;
    };

    void Add(std::string_view step, std::uint64_t microseconds);
    [[nodiscard]] bool Has(std::string_view step) const;
    // Both steps marked, `first` before `second`.
    [[nodiscard]] bool Before(std::string_view first, std::string_view second) const;
    [[nodiscard]] const std::vector<Mark>& Marks() const { return marks_; }
    // One line per mark, in order: the step, a tab and its microseconds.
    [[nodiscard]] std::string Format() const;

private:
    [[nodiscard]] std::optional<std::size_t> IndexOf(std::string_view step) const;

    std::vector<Mark> marks_;
};

} // namespace orx
