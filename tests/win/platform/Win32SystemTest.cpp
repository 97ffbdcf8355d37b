#include "platform/Console.h"
#include "platform/System.h"

#include <gtest/gtest.h>

#include <thread>

namespace orx::platform {
namespace {

TEST(Win32System, ProcessFactsAreAvailable)
{
    const std::u16string exe = ExecutablePath();
    ASSERT_GT(exe.size(), 4u);
    std::u16string tail = exe.substr(exe.size() - 4);
    for (char16_t& c : tail)
        c = (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
    EXPECT_EQ(tail, u".exe");
    EXPECT_NE(exe.find_last_of(u"\\/"), std::u16string::npos);

    const auto locale = UserDefaultLocaleName();
    ASSERT_TRUE(locale.has_value());
    EXPECT_GE(locale->size(), 2u);

    const std::uint64_t before = TickCount64();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_GE(TickCount64(), before + 10);

    const auto args = CommandLineArguments(0, nullptr);
    ASSERT_FALSE(args.empty());
    EXPECT_FALSE(args[0].empty());

    // Not packaged under test.
    EXPECT_FALSE(PackageFamilyName().has_value());
    EXPECT_TRUE(LocalAppDataFolder().has_value());
}

} // namespace
} // namespace orx::platform
