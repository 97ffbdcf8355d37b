#pragma once

#include "cli/CliCommon.h"

namespace orx::cli {

// One function per command, each in its own file.
int RunPatch(const Invocation& invocation);
int RunStruct(const Invocation& invocation);
int RunDump(const Invocation& invocation);
int RunInspect(const Invocation& invocation);
int RunFind(const Invocation& invocation);
int RunHash(const Invocation& invocation);

} // namespace orx::cli
