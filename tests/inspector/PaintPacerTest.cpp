#include "inspector/PaintPacer.h"

#include <gtest/gtest.h>

namespace orx {
namespace {

TEST(PaintPacer, PaintsAtOnceAfterAPauseAndOtherwiseWaitsThreePaintTimes)
{
    PaintPacer pacer;
    EXPECT_EQ(pacer.DelayMs(1000), 0.0) << "nothing painted yet";
    pacer.Painted(1000, 1050);
    EXPECT_EQ(pacer.DelayMs(1060), 140.0) << "a 50 ms paint: the next starts 150 ms after it";
    EXPECT_EQ(pacer.DelayMs(1200), 0.0);
    EXPECT_EQ(pacer.DelayMs(5000), 0.0) << "after a pause";
    pacer.Painted(5000, 5001);
    EXPECT_EQ(pacer.DelayMs(5001), 16.0) << "a cheap paint still waits a frame";
    EXPECT_EQ(pacer.DelayMs(5017), 0.0);
}

} // namespace
} // namespace orx
