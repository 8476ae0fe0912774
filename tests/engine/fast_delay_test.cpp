// The fractional delay line, checked against what a comb must do.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "TFastDelay.h"

namespace {

std::vector<float> RunLine(TFastDelay& line, const std::vector<float>& in) {
  std::vector<float> out;
  for (float v : in)
    out.push_back(line.Process(v));
  return out;
}

TEST(FastDelay, LengthIsASixteenthOfASecondTiesToEven) {
  const struct {
    float rate;
    int32_t length;
  } cases[] = {{44100, 2756}, {48000, 3000}, {88200, 5512},
               {96000, 6000}, {22050, 1378}, {8000, 500}};
  for (auto c : cases) {
    TFastDelay line(c.rate);
    EXPECT_EQ(line.MaxDelay(), c.length) << c.rate;
    EXPECT_EQ(line.SizeInBytes(), 4 * c.length);
  }
}

TEST(FastDelay, FreshLine) {
  TFastDelay line(44100);
  EXPECT_TRUE(line.Flushed());
  EXPECT_FLOAT_EQ(line.Delay(), 2.5f);
  EXPECT_EQ(line.Feedback(), 0.0f);
  EXPECT_EQ(line.Feed(), 0.0f);
  for (int i = 0; i < line.MaxDelay(); ++i)
    ASSERT_EQ(line.Buffer()[i], 0.0f);
}

TEST(FastDelay, IntegerDelayPassesTheSignalExactly) {
  TFastDelay line(44100);
  line.SetDelay(37);
  std::vector<float> in(500);
  for (std::size_t i = 0; i < in.size(); ++i)
    in[i] = std::sin(0.1f * i) * 0.8f + 0.01f * (i % 7);
  const auto out = RunLine(line, in);
  for (std::size_t i = 0; i < in.size(); ++i)
    ASSERT_EQ(out[i], i >= 37 ? in[i - 37] : 0.0f) << i;
}

TEST(FastDelay, ZeroAndFullDelayBothReadTheOldestSample) {
  for (float d : {0.0f, 2756.0f, 1e9f, std::numeric_limits<float>::infinity(), -5.0f}) {
    TFastDelay line(44100);
    line.SetDelay(d);
    std::vector<float> in(3 * 2756);
    for (std::size_t i = 0; i < in.size(); ++i)
      in[i] = static_cast<float>(i % 1000) + 1.0f;
    const auto out = RunLine(line, in);
    for (std::size_t i = 2756; i < in.size(); ++i)
      ASSERT_EQ(out[i], in[i - 2756]) << d << " " << i;
  }
}

TEST(FastDelay, NaNDelayIsIgnored) {
  TFastDelay line(44100);
  line.SetDelay(10);
  line.SetDelay(std::numeric_limits<float>::quiet_NaN());
  EXPECT_TRUE(std::isfinite(line.Process(1.0f)));
}

// On curved data all four coefficients matter; each step is rounded as the
// line's arithmetic prescribes (coefficients to single, the cubic in double).
TEST(FastDelay, FractionalDelayInterpolatesCurvedDataToTheBit) {
  for (float delay : {10.25f, 10.3f, 37.9f}) {
    TFastDelay line(44100);
    line.SetDelay(delay);
    std::vector<float> in(300);
    for (std::size_t i = 0; i < in.size(); ++i)
      in[i] = static_cast<float>(std::sin(0.07 * i) + 0.0005 * i * i);
    const auto out = RunLine(line, in);
    for (std::size_t n = 50; n < in.size(); ++n) {
      const double p = static_cast<double>(n) - static_cast<double>(delay);
      const auto i = static_cast<std::size_t>(p);
      const double t = static_cast<float>(p - static_cast<double>(i));
      const double xm1 = in[i - 1], x0 = in[i], x1 = in[i + 1], x2 = in[i + 2];
      const double c1 = static_cast<float>(0.5 * (x1 - xm1));
      const double c2 = static_cast<float>(xm1 - 2.5 * x0 + 2.0 * x1 - 0.5 * x2);
      const double c3 = static_cast<float>(1.5 * (x0 - x1) + 0.5 * (x2 - xm1));
      const float expected = static_cast<float>(((c3 * t + c2) * t + c1) * t + x0);
      ASSERT_EQ(std::bit_cast<std::uint32_t>(out[n]), std::bit_cast<std::uint32_t>(expected))
          << "delay " << delay << ", sample " << n;
    }
  }
}

TEST(FastDelay, DelayBelowOneBlendsNewestAndOldest) {
  TFastDelay line(8000); // a ring of 500
  line.SetDelay(0.5f);
  // 500 zeros, then ones: from sample 502 on the newest samples are ones and
  // the oldest (about to be overwritten) zeros, so the read sits halfway.
  std::vector<float> in(1000, 1.0f);
  std::fill(in.begin(), in.begin() + 500, 0.0f);
  const auto out = RunLine(line, in);
  for (std::size_t i = 502; i < 999; ++i)
    ASSERT_FLOAT_EQ(out[i], 0.5f) << i;
}

TEST(FastDelay, FeedbackMakesADecayingComb) {
  TFastDelay line(44100);
  line.SetDelay(50);
  line.SetFeedback(0.5f);
  const double g = std::pow(0.5, 0.3);
  EXPECT_FLOAT_EQ(line.Feed(), static_cast<float>(g));
  std::vector<float> in(400, 0.0f);
  in[0] = 1.0f;
  const auto out = RunLine(line, in);
  EXPECT_FLOAT_EQ(out[50], 1.0f);
  EXPECT_NEAR(out[100], g, 1e-6);
  EXPECT_NEAR(out[150], g * g, 1e-6);
  EXPECT_EQ(out[75], 0.0f);
}

TEST(FastDelay, FeedbackLimits) {
  TFastDelay line(44100);
  line.SetFeedback(1.0f);
  EXPECT_FLOAT_EQ(line.Feedback(), 0.99f);
  EXPECT_NEAR(line.Feed(), 0.99699, 1e-5);
  line.SetFeedback(0.0f);
  EXPECT_EQ(line.Feed(), 0.0f);
  line.SetFeedback(std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(line.Feed(), 0.0f);
  line.SetFeedback(-1.0f);
  EXPECT_EQ(line.Feed(), 0.0f);
}

TEST(FastDelay, FlushOnlyWhenNotFlushed) {
  TFastDelay line(8000);
  line.SetDelay(3);
  for (int i = 0; i < 10; ++i)
    line.Process(1.0f);
  EXPECT_TRUE(line.Flushed()); // processing does not clear the mark
  line.Flush();
  EXPECT_EQ(line.Buffer()[0], 1.0f); // so flushing does nothing
  line.SetFlushed(false);
  line.Flush();
  EXPECT_EQ(line.Buffer()[0], 0.0f);
}

TEST(FastDelay, RebuildForANewRate) {
  TFastDelay line(44100);
  line.SetDelay(100);
  line.SetFeedback(0.5f);
  line.Process(1.0f);
  line.Rebuild(96000);
  EXPECT_EQ(line.MaxDelay(), 6000);
  EXPECT_FLOAT_EQ(line.Delay(), 2.5f);
  EXPECT_EQ(line.Feedback(), 0.0f);
  EXPECT_EQ(line.WriteIndex(), 0);
  EXPECT_EQ(line.Buffer()[0], 0.0f);
}

} // namespace
