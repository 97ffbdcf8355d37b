#pragma once

#include "cli/CliCommon.h"

#include <functional>

namespace orx::cli {

// One function per command, each in its own file.
int RunPatch(const Invocation& invocation);
// patch with a test hook: `beforeSave` runs once the edits are applied, just before the save
// checks the file and writes.
int RunPatch(const Invocation& invocation, const std::function<void()>& beforeSave);
int RunStruct(const Invocation& invocation);
int RunDump(const Invocation& invocation);
int RunInspect(const Invocation& invocation);
int RunFind(const Invocation& invocation);
int RunHash(const Invocation& invocation);
int RunCompare(const Invocation& invocation);
int RunIdentify(const Invocation& invocation);
int RunBookmarks(const Invocation& invocation);

} // namespace orx::cli
