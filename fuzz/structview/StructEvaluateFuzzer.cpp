// Writes a random pattern in the newer constructs of the language (counts and places read
// from the data, data_size, repetition to the end or until a condition, enums, byte orders) from
// the first bytes of the input, and evaluates it over the rest. Any pattern over any bytes must end
// within the node bound, read only the bytes given and keep the rows within their limit.

#include "structview/StructRows.h"

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>

namespace {

// Takes choices from the front of the input; zeros once it runs out.
class Choices {
public:
    explicit Choices(std::span<const std::uint8_t> data) : data_(data) {}
    std::size_t Pick(std::size_t count)
    {
        if (data_.empty()) {
            return 0;
        }
        const std::size_t value = data_.front() % count;
        data_ = data_.subspan(1);
        return value;
    }
    [[nodiscard]] std::span<const std::uint8_t> Rest() const { return data_; }

private:
    std::span<const std::uint8_t> data_;
};

std::u16string Number(std::size_t value)
{
    std::u16string text;
    for (const char c : std::to_string(value)) {
        text += static_cast<char16_t>(c);
    }
    return text;
}

// An expression over the members m0..m{members-1} of struct s (and those of struct 0 by
// dotted path), with every operator.
std::u16string Expression(Choices& choices, std::size_t members, std::size_t depth)
{
    const std::size_t kind = choices.Pick(depth > 2 ? 2 : 4);
    if (kind == 0 || members == 0) {
        return Number(choices.Pick(20));
    }
    if (kind == 1) {
        return choices.Pick(4) == 0 ? u"data_size" : u"m" + Number(choices.Pick(members));
    }
    static constexpr const char16_t* kOps[] = {u"+", u"-",  u"*",  u"/",  u"%", u"&",
                                               u"|", u"<<", u">>", u"==", u"!="};
    const std::u16string op = kOps[choices.Pick(std::size(kOps))];
    return u"(" + Expression(choices, members, depth + 1) + u" " + op + u" " +
           Expression(choices, members, depth + 1) + u")";
}

std::u16string Pattern(Choices& choices)
{
    static constexpr const char16_t* kTypes[] = {u"uint8_t", u"uint16_t", u"uint32_t",
                                                 u"int8_t",  u"E",        u"uint64_t"};
    std::u16string text = choices.Pick(2) ? u"@endian big\n" : u"";
    text += choices.Pick(2) ? u"@member_align 0\n" : u"";
    text += u"enum E : uint8_t { A = 1, B, C = 0x10 };\n";
    const std::size_t structs = 1 + choices.Pick(3);
    for (std::size_t s = 0; s < structs; ++s) {
        text += choices.Pick(3) == 0 ? u"@big struct s" : u"struct s";
        text += Number(s) + u" {\n";
        const std::size_t members = 1 + choices.Pick(6);
        for (std::size_t m = 0; m < members; ++m) {
            const std::size_t order = choices.Pick(4);
            text += order == 0 ? u"  @little " : order == 1 ? u"  @big " : u"  ";
            const std::size_t type = choices.Pick(std::size(kTypes) + s);
            text +=
                type < std::size(kTypes) ? kTypes[type] : u"s" + Number(type - std::size(kTypes));
            text += u" m" + Number(m);
            switch (choices.Pick(6)) {
            case 1: text += u"[" + Number(choices.Pick(5)) + u"]"; break;
            case 2:
            case 3: text += u"[" + Expression(choices, m, 0) + u"]"; break;
            case 4: text += u"[...]"; break;
            case 5: text += u"[... until " + Expression(choices, m, 0) + u"]"; break;
            default: break;
            }
            if (choices.Pick(5) == 0) {
                text += u" at " + Expression(choices, m, 0);
            }
            text += u";\n";
        }
        text += u"};\n";
    }
    return text + u"@entry s" + Number(structs - 1) + u"\n";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Choices choices(std::span<const std::uint8_t>(data, size));
    const std::u16string text = Pattern(choices);
    auto file = std::make_shared<orx::StructPatternFile>();
    std::u16string error;
    if (!orx::LoadStructPatternText(text, *file, error)) {
        if (error.empty()) {
            std::abort(); // every failure must explain itself
        }
        return 0;
    }
    orx::StructRowsInput input;
    const std::span<const std::uint8_t> rest = choices.Rest();
    input.bytes.assign(rest.begin(), rest.end());
    input.file = file;
    input.options.endian = static_cast<std::uint32_t>(size & 1);
    const orx::ValueTree tree = orx::EvaluateRowsInput(input);
    if (tree.nodes.size() > orx::kMaxValueNodes + 2) {
        std::abort(); // the work bound held
    }
    for (const orx::ValueNode& node : tree.nodes) {
        if (node.status == orx::ValueStatus::Ok && node.structType == nullptr &&
            node.size >
                input.bytes.size() - std::min<std::uint64_t>(node.offset, input.bytes.size())) {
            std::abort(); // a value said to be whole lies past the data
        }
    }
    if (orx::BuildStructRows(input).size() > orx::kMaxStructRows + 1) {
        std::abort();
    }
    return 0;
}
