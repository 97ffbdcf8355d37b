#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace orx::platform {

// Full path of the running executable (GetModuleFileNameW, 260 characters; /proc/self/exe).
std::u16string ExecutablePath();

// The user's default locale name, e.g. "ja-JP"; nothing when it cannot be obtained.
std::optional<std::u16string> UserDefaultLocaleName();

// Milliseconds since an arbitrary start, monotonic (GetTickCount64).
std::uint64_t TickCount64();

// The package family name when the process runs packaged; nothing otherwise.
std::optional<std::u16string> PackageFamilyName();

// The user's local application data folder (FOLDERID_LocalAppData); nothing when unknown.
std::optional<std::u16string> LocalAppDataFolder();

} // namespace orx::platform
