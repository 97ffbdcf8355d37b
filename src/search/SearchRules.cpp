#include "search/SearchRules.h"

#include "search/SearchQuery.h"

namespace orx {

SearchStart PlanSearchStart(SearchDirection direction, bool hasSelection,
                            std::uint64_t selectionLow, std::uint64_t caret,
                            std::uint64_t documentSize)
{
    SearchStart start;
    start.forward = direction == SearchDirection::Next;
    if (!hasSelection) {
        start.offset = caret;
        return start;
    }
    if (start.forward) {
        // Also covers an empty document, where no byte can follow the selection.
        start.scan = documentSize != 0 && selectionLow < documentSize - 1;
        start.offset = start.scan ? selectionLow + 1 : 0;
    } else {
        start.scan = selectionLow != 0;
        start.offset = start.scan ? selectionLow - 1 : 0;
    }
    return start;
}

std::uint32_t TextQueryCharacterLimit(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
    case TextEncoding::ShiftJis:
    case TextEncoding::Windows949:
    case TextEncoding::EucKr: return static_cast<std::uint32_t>(kMaxSearchPatternBytes / 2);
    default: return static_cast<std::uint32_t>(kMaxSearchPatternBytes);
    }
}

std::uint32_t QueryCharacterLimit(bool textKind, std::uint32_t textLimit)
{
    return textKind ? textLimit : kHexQueryCharacterLimit;
}

} // namespace orx
