#include "FixedStep.h"

#include <gtest/gtest.h>

using namespace irr;

namespace {

// Steps given over `seconds` of frames at `fps`, starting at `start`; the
// largest number in any one frame in `most`.
u32 stepsOver(u32 fps, u32 seconds, u32 start, u32* most = nullptr)
{
    FixedStep step;
    step.stepsDue(start);
    u32 total = 0;
    for (u32 frame = 1; frame <= fps * seconds; ++frame) {
        const u32 due = step.stepsDue(start + u32(u64(frame) * 1000 / fps));
        total += due;
        if (most && due > *most)
            *most = due;
    }
    return total;
}

} // namespace

TEST(FixedStep, SixtyStepsASecondAtAnyFrameRate)
{
    // At exactly 60 frames a second, 16 and 17 ms apart: one step every frame.
    FixedStep step;
    const u32 start = 0xFFFFFF00u;   // across the wrap
    EXPECT_EQ(step.stepsDue(start), 0u) << "the first time only starts it";
    for (u32 frame = 1; frame <= 600; ++frame)
        ASSERT_EQ(step.stepsDue(start + frame * 1000 / 60), 1u) << "frame " << frame;

    for (u32 fps : {20u, 30u, 45u, 60u, 75u, 144u, 240u}) {
        u32 most = 0;
        const u32 steps = stepsOver(fps, 10, 7, &most);
        EXPECT_NEAR(double(steps), 600.0, 1.0) << fps << " fps";
        EXPECT_EQ(most, (60 + fps - 1) / fps) << fps << " fps: steps come evenly";
    }
}

TEST(FixedStep, AStallIsMadeUpForAQuarterOfASecondAtMost)
{
    FixedStep step;
    step.stepsDue(1000);
    EXPECT_EQ(step.stepsDue(1000 + 250), FixedStep::MAX_CATCH_UP);
    EXPECT_EQ(step.stepsDue(1250 + 60000), FixedStep::MAX_CATCH_UP);
    // The rest of the stall is let go: the next frame is an ordinary one.
    EXPECT_EQ(step.stepsDue(61250 + 17), 1u);
    // A clock that goes back, or stands, gives nothing and is followed from there.
    EXPECT_EQ(step.stepsDue(50000), 0u);
    EXPECT_EQ(step.stepsDue(50000), 0u);
    EXPECT_EQ(step.stepsDue(50000 + 17), 1u);
}

TEST(FixedStep, EachStepKeepsTheMomentItFellDue)
{
    FixedStep step;
    step.stepsDue(10000);
    ASSERT_EQ(step.stepsDue(10050), 3u);
    // The steps of one slow frame are a 60th of a second apart, the last
    // within a step of the frame.
    for (u32 i = 1; i < 3; ++i)
        EXPECT_NEAR(double(step.stepTime(i) - step.stepTime(i - 1)), 1000.0 / 60.0, 1.0) << i;
    EXPECT_LE(10050u - step.stepTime(2), 17u);
    EXPECT_GE(step.stepTime(0), 10000u);
    // Across frames they keep the same spacing.
    const u32 last = step.stepTime(2);
    ASSERT_EQ(step.stepsDue(10067), 1u);
    EXPECT_NEAR(double(step.stepTime(0) - last), 1000.0 / 60.0, 1.0);
}
