#include "ui/win/StartupClock.h"

#include "ui/win/WinHandles.h"

#include <windows.h>

#include <string>

namespace orx::win {
namespace {

std::uint64_t FileTimeTicks(const FILETIME& time)
{
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

} // namespace

std::uint64_t MicrosecondsSinceProcessStart()
{
    FILETIME creation{};
    FILETIME exit{};
    FILETIME kernel{};
    FILETIME user{};
    if (!GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user)) {
        return 0;
    }
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    const std::uint64_t start = FileTimeTicks(creation);
    const std::uint64_t current = FileTimeTicks(now);
    return current > start ? (current - start) / 10 : 0; // 100-ns ticks
}

void MarkStartup(StartupTrace* trace, std::string_view step)
{
    if (trace != nullptr && !trace->Has(step)) {
        trace->Add(step, MicrosecondsSinceProcessStart());
    }
}

void WriteStartupTraceIfAsked(const StartupTrace& trace)
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"ORX_STARTUP_TRACE", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return;
    }
    HANDLE raw =
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) {
        return;
    }
    const KernelHandle file(raw);
    const std::string text = trace.Format();
    DWORD written = 0;
    (void)WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

} // namespace orx::win
