#include "platform/Console.h"
#include "platform/System.h"

#include <gtest/gtest.h>

#include <thread>

namespace orx::platform {
namespace {

TEST(Win32System, ProcessFactsAreAvailable)
{
    // The executable path, the locale and the package are checked by the settings tests.
    const std::uint64_t before = TickCount64();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_GE(TickCount64(), before + 10);

    const auto args = CommandLineArguments(0, nullptr);
    ASSERT_FALSE(args.empty());
    EXPECT_FALSE(args[0].empty());
    EXPECT_TRUE(LocalAppDataFolder().has_value());
}

} // namespace
} // namespace orx::platform
