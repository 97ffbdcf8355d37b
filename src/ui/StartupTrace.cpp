#include "ui/StartupTrace.h"

namespace orx {

void StartupTrace::Add(std::string_view step, std::uint64_t microseconds)
{
    if (!Has(step)) {
        marks_.push_back({std::string(step), microseconds});
    }
}

bool StartupTrace::Has(std::string_view step) const
{
    return IndexOf(step).has_value();
}

bool StartupTrace::Before(std::string_view first, std::string_view second) const
{
    const auto a = IndexOf(first);
    const auto b = IndexOf(second);
    return a && b && *a < *b;
}

std::string StartupTrace::Format() const
{
    std::string text;
    for (const Mark& mark : marks_) {
        text += mark.step + '\t' + std::to_string(mark.microseconds) + '\n';
    }
    return text;
}

std::optional<std::size_t> StartupTrace::IndexOf(std::string_view step) const
{
    for (std::size_t i = 0; i < marks_.size(); ++i) {
        if (marks_[i].step == step) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace orx
