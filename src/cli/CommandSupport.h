#pragma once

#include "cli/CliCommon.h"

#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace orx {
class EditableDocument;
}

namespace orx::cli {

// A command line split into positional arguments, flags ("--cells") and options with a value
// ("--rows 4").
struct SplitArgs {
    std::vector<std::u16string> positional;
    std::set<std::u16string> flags;
    std::map<std::u16string, std::u16string> values;

    [[nodiscard]] const std::u16string* Value(std::u16string_view name) const;
};

// Nothing when an argument starting with "--" is neither a known flag nor a known option,
// when an option lacks its value, or when one is given twice.
std::optional<SplitArgs> Split(const Args& args, std::initializer_list<std::u16string_view> flags,
                               std::initializer_list<std::u16string_view> options);

// "0x1F0": an offset as the commands print it.
[[nodiscard]] std::string FormatOffset(std::uint64_t offset);

// Opens `path`; on failure prints "cannot open: PATH" to `err`.
[[nodiscard]] bool OpenOrReport(EditableDocument& document, const std::u16string& path,
                                std::ostream& err);

// The English text of a string-table key, from resources/strings/en-US.txt below
// `resourceDirectory`, or below the executable's directory (the shipped layout) when empty.
// Keys that file lacks, or all keys when there is no such file, take the English texts built
// into the program, so that it answers in words wherever it is run from.
std::u16string EnglishText(std::string_view key, const std::u16string& resourceDirectory);

} // namespace orx::cli
