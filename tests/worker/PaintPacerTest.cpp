#include "worker/PaintPacer.h"

#include <gtest/gtest.h>

namespace orx {
namespace {

TEST(PaintPacer, PaintsAtOnceAfterAPauseAndOtherwiseWaitsSixPaintTimes)
{
    PaintPacer pacer;
    EXPECT_EQ(pacer.DelayMs(1000), 0.0) << "nothing painted yet";
    pacer.Painted(1000, 1050);
    EXPECT_EQ(pacer.DelayMs(1060), 290.0) << "a 50 ms paint: the next starts 300 ms after it";
    EXPECT_EQ(pacer.DelayMs(1350), 0.0);
    EXPECT_EQ(pacer.DelayMs(5000), 0.0) << "after a pause";
    pacer.Painted(5000, 5001);
    EXPECT_EQ(pacer.DelayMs(5001), 16.0) << "a cheap paint still waits a frame";
    EXPECT_EQ(pacer.DelayMs(5017), 0.0);
    pacer.Painted(6000, 7000);
    EXPECT_EQ(pacer.DelayMs(7000), 500.0) << "a slow first paint holds the next half a second";
}

} // namespace
} // namespace orx
