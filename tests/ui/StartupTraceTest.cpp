#include "ui/StartupTrace.h"

#include <gtest/gtest.h>

namespace orx {
namespace {

TEST(StartupTrace, KeepsTheFirstMarkOfEachStepInOrder)
{
    StartupTrace trace;
    trace.Add("entry", 120);
    trace.Add("rows", 900);
    trace.Add("entry", 950); // a step happens again: its first time stands
    trace.Add("side windows", 900);
    EXPECT_EQ(trace.Format(), "entry\t120\nrows\t900\nside windows\t900\n");
    // Order is the order of the marks, also between marks of the same time.
    EXPECT_TRUE(trace.Before("rows", "side windows"));
    EXPECT_FALSE(trace.Before("side windows", "rows"));
    EXPECT_FALSE(trace.Before("entry", "never"));
    EXPECT_FALSE(trace.Before("never", "entry"));
    EXPECT_TRUE(trace.Has("rows"));
    EXPECT_FALSE(trace.Has("never"));
}

} // namespace
} // namespace orx
