#pragma once

#include "ui/StartupTrace.h"

#include <string_view>

namespace orx::win {

// Microseconds since the system created this process, so that what happens before the
// entry point (the loader, the runtime) counts too.
[[nodiscard]] std::uint64_t MicrosecondsSinceProcessStart();

// Marks `step` in `trace` at the current time; nothing without a trace.
void MarkStartup(StartupTrace* trace, std::string_view step);

// Writes the trace to the file ORX_STARTUP_TRACE names, when it names one (the start-up
// benchmark sets it); failures are silent.
void WriteStartupTraceIfAsked(const StartupTrace& trace);

} // namespace orx::win
