// Where maker mode's keys lead: the jump keys' targets and the part L loops.
#include "frame/demo_options.h"
#include "frame/main_loop.h"
#include "frame/maker_mode.h"

#include <gtest/gtest.h>

namespace {

TEST(MakerJumps, SceneKeysGoToTheNeighbouringScenesFirstPosition)
{
    // Scene 7 holds 1500-1799: its neighbours begin at 1100 (scene 6) and 1800.
    EXPECT_EQ(scene_jump_target(1547, -1, final_position), 1100);
    EXPECT_EQ(scene_jump_target(1547, 1, final_position), 1800);
    EXPECT_EQ(scene_jump_target(1500, 1, final_position), 1800);
    // Scene 1 also holds the count-in before position 0; back from it is the start.
    EXPECT_EQ(scene_jump_target(150, -1, final_position), 0);
    EXPECT_EQ(scene_jump_target(-37, 1, final_position), 200);
    // Past the last scene, or past the end of the part, the key does nothing.
    EXPECT_EQ(scene_jump_target(2400, 1, final_position), -1);
    EXPECT_EQ(scene_jump_target(1547, 1, 1600), -1);
    EXPECT_EQ(scene_jump_target(2300, -1, final_position), 2100);
}

TEST(MakerJumps, OrderKeysGoToTheNeighbouringOrdersFirstRow)
{
    EXPECT_EQ(order_jump_target(1547, 1, final_position), 1600);
    EXPECT_EQ(order_jump_target(1547, -1, final_position), 1400);
    EXPECT_EQ(order_jump_target(1500, -1, final_position), 1400);
    EXPECT_EQ(order_jump_target(30, -1, final_position), 0);
    EXPECT_EQ(order_jump_target(-37, 1, final_position), 100);
    EXPECT_EQ(order_jump_target(2463, 1, final_position), -1);
    EXPECT_EQ(order_jump_target(1547, 1, 1600), -1);
}

TEST(MakerLoop, LoopsTheGivenPartElseTheCurrentSceneCutAtTheEnd)
{
    DemoOptions options{
        .windowed = true, .data_folder = nullptr, .from = 1520, .to = 1710, .calm = false, .maker = true};
    const LoopPart part = loop_part(1600, options, true);
    EXPECT_EQ(part.first, 1520);
    EXPECT_EQ(part.end, 1710);

    options = DemoOptions{.windowed = true,
                          .data_folder = nullptr,
                          .from = -1,
                          .to = final_position,
                          .calm = false,
                          .maker = true};
    const LoopPart scene7 = loop_part(1547, options, false);
    EXPECT_EQ(scene7.first, 1500);
    EXPECT_EQ(scene7.end, 1800);
    const LoopPart first = loop_part(-37, options, false);
    EXPECT_EQ(first.first, 0);
    EXPECT_EQ(first.end, 200);
    const LoopPart last = loop_part(2310, options, false);
    EXPECT_EQ(last.first, 2300);
    EXPECT_EQ(last.end, final_position);

    // Only --to given: the part runs from the start.
    options = DemoOptions{
        .windowed = true, .data_folder = nullptr, .from = -1, .to = 900, .calm = false, .maker = true};
    const LoopPart until = loop_part(400, options, true);
    EXPECT_EQ(until.first, 0);
    EXPECT_EQ(until.end, 900);
}

}   // namespace
