#include "hexview/HexViewModel.h"

#include "hexview/HexViewInputDriver.h"
#include "hexview/HexViewTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace orx::test {
namespace {

TEST(HexViewModelRandomInput, InvariantsHoldWhateverTheUserDoes)
{
    std::mt19937 random(20240611);
    for (int run = 0; run < 300; ++run) {
        std::vector<std::uint8_t> script(400);
        for (std::uint8_t& b : script) {
            b = static_cast<std::uint8_t>(random());
        }
        FileView f(Sequence(random() % 90));
        HexViewInputDriver driver(script);
        int step = 0;
        while (driver.Step(f.view)) {
            ++step;
            const std::string problem = HexViewInputDriver::CheckInvariants(f.view);
            ASSERT_EQ(problem, "") << "run " << run << " step " << step;
            ASSERT_EQ(f.document.VerifyRecords(), std::nullopt)
                << "run " << run << " step " << step;
            ASSERT_EQ(f.document.Read(0, f.document.Size()).bytes.size(), f.document.Size());
        }
    }
}

} // namespace
} // namespace orx::test
