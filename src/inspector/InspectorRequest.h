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
};

[[nodiscard]] inline InspectorValues ComputeInspectorRequest(const InspectorRequest& request)
{
    return ComputeInspectorValues(request.bytes, request.unavailableText);
}

} // namespace orx
