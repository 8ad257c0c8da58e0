#include "progress_meter.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgressMeterTest, EndsWithTheFinalFiguresOnAFinishedLine) {
  testing::internal::CaptureStderr();
  {
    ProgressMeter meter("packing", 2, 3 << 20, true);
    meter.FileDone(1 << 20);
    meter.FileDone(2 << 20);
  }
  const std::string drawn = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(drawn.ends_with("\rpacking: 2 of 2 files, 3.0 MiB of 3.0 MiB\x1b[K\n")) << drawn;
}

TEST(ProgressMeterTest, DrawsNothingWhenNobodyWatches) {
  testing::internal::CaptureStderr();
  { ProgressMeter("packing", 1, 1, false).FileDone(1); }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

}  // namespace
