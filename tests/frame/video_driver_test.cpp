// Which video drivers the demo takes for a display it can show on.
#include "frame/video_driver.h"

#include <gtest/gtest.h>

TEST(VideoDriver, FallbacksThatShowNothingAreRefusedUnlessAskedFor)
{
    for (const char* driver : {"caca", "aalib", "offscreen", "dummy"}) {
        SCOPED_TRACE(driver);
        EXPECT_TRUE(refuses_video_driver(driver, nullptr));
        EXPECT_TRUE(refuses_video_driver(driver, ""));
        EXPECT_TRUE(refuses_video_driver(driver, "x11"));
        EXPECT_FALSE(refuses_video_driver(driver, driver));
    }
    // Names compare without regard to case, whole names only, in a list as SDL 2 reads it.
    EXPECT_FALSE(refuses_video_driver("dummy", "DUMMY"));
    EXPECT_FALSE(refuses_video_driver("offscreen", "wayland,offscreen"));
    EXPECT_FALSE(refuses_video_driver("offscreen", "offscreen,x11"));
    EXPECT_TRUE(refuses_video_driver("offscreen", "offscreen2,x11"));
    EXPECT_TRUE(refuses_video_driver("aalib", "aa"));
    EXPECT_TRUE(refuses_video_driver("dummy", "wayland,"));
    // Drivers that show a picture are taken whatever was asked for.
    for (const char* driver : {"x11", "wayland", "fbcon", "KMSDRM"})
        EXPECT_FALSE(refuses_video_driver(driver, "dummy")) << driver;
}
