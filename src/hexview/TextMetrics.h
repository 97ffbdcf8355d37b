#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orx {

// The font the hex view draws with, at its zoomed size.
struct FontSpec {
    std::u16string family;
    float sizeDips = 16.0f; // base size × zoom, in device-independent pixels
    bool bold = false;
    bool italic = false;
};

// What the text system measured for a font. The shell measures it with DirectWrite
// (through MeasureTextMetrics below); tests make one up.
struct TextMetrics {
    // Average height of the lines of the probe text; 0 when it could not be measured.
    float lineHeight = 0.0f;
    // Widest glyph of the hex probe set ("0"-"9", "A"-"F", ":") and of printable ASCII.
    float hexCellWidth = 8.0f;
    float textCellWidth = 8.0f;
};

// The few layout questions metrics need answered by the text system for one font.
class ITextMeasurer {
public:
    virtual ~ITextMeasurer() = default;
    // Heights of every line of `text` laid out in a maxWidth × maxHeight box; empty when
    // the layout or its line metrics could not be made.
    [[nodiscard]] virtual std::vector<float> LineHeights(std::u16string_view text, float maxWidth,
                                                         float maxHeight) = 0;
    // Width of `text` including trailing white space; nothing when it could not be laid out.
    [[nodiscard]] virtual std::optional<float>
    WidthIncludingTrailingSpace(std::u16string_view text, float maxWidth, float maxHeight) = 0;
};

// Four lines of "0" separated by CR LF; the row height is derived from their average height.
inline constexpr std::u16string_view kLineHeightProbe = u"0\r\n0\r\n0\r\n0";
inline constexpr float kLineProbeBox = 4096.0f;
inline constexpr float kCellProbeBox = 256.0f;
// Characters of the offset and hex columns.
inline constexpr std::u16string_view kHexCellProbe = u"0123456789ABCDEF:";

// Asks the measurer the probe questions: line height from the four-line probe, cell widths
// as the widest single character of each probe set (at least 1). Characters whose layout
// fails are skipped.
[[nodiscard]] TextMetrics MeasureTextMetrics(ITextMeasurer& measurer);

} // namespace orx
