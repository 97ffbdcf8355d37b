#pragma once

#include "inspector/InspectorValues.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orx {

// One job of the inspector's worker: the bytes read at the caret on the UI thread (the
// worker never touches the document) and the text for rows that cannot be computed.
struct InspectorRequest {
    std::vector<std::uint8_t> bytes;
    std::u16string unavailableText;
    bool bigEndian = false; // the byte order of the rows that follow the switch
    std::u16string leb128Format{kLeb128DefaultFormat};
};

[[nodiscard]] inline InspectorValues ComputeInspectorRequest(const InspectorRequest& request)
{
    return ComputeInspectorValues(request.bytes, request.unavailableText, request.bigEndian,
                                  request.leb128Format);
}

} // namespace orx
