#include "sound/module.h"
#include "sound/module_writer.h"
#include "sound/recording_device.h"

#include <gtest/gtest.h>

TEST(Loader, Placeholder) { EXPECT_TRUE(true); }
