#include <cmath>
#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

#include "host-bridge/Color.h"

namespace {

long double SrgbRule(int component) {
  const long double x = component / 255.0L;
  return x <= 0.04045L ? x / 12.92L : std::pow((x + 0.055L) / 1.055L, 2.4L);
}

float FloatWithBits(uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof(value));
  return value;
}

}  // namespace

TEST(ColorTest, NamedColoursConvertExactly) {
  const LinearColor green = ToLinearColor(Green);
  EXPECT_EQ(green.R, 0.0f);
  EXPECT_EQ(green.G, 1.0f);
  EXPECT_EQ(green.B, 0.0f);
  EXPECT_EQ(green.A, 1.0f);
  const LinearColor red = ToLinearColor(Red);
  EXPECT_EQ(red.R, 1.0f);
  EXPECT_EQ(red.G, 0.0f);
  EXPECT_EQ(red.B, 0.0f);
  EXPECT_EQ(red.A, 1.0f);
}

TEST(ColorTest, EachComponentLandsInItsOwnChannel) {
  const LinearColor color = ToLinearColor(Color8{/*B=*/128, /*G=*/0, /*R=*/255, /*A=*/128});
  EXPECT_EQ(color.R, 1.0f);
  EXPECT_EQ(color.G, 0.0f);
  EXPECT_EQ(color.B, 0.21586050f);
  EXPECT_EQ(color.A, 0.50196081f);
}

TEST(ColorTest, AlphaScalesByTheFloatNearestOneOver255) {
  EXPECT_EQ(ToLinearColor(Color8{0, 0, 0, 1}).A, FloatWithBits(0x3B808081));
  EXPECT_EQ(ToLinearColor(Color8{0, 0, 0, 255}).A, 1.0f);
  EXPECT_EQ(ToLinearColor(Color8{0, 0, 0, 0}).A, 0.0f);
}

TEST(ColorTest, DecodingTableFollowsTheSrgbRule) {
  EXPECT_EQ(SrgbToLinear(0), 0.0);
  EXPECT_EQ(SrgbToLinear(255), 1.0);
  EXPECT_NEAR(SrgbToLinear(128), 0.215860498718652, 4e-9);
  for (int component = 0; component < 256; ++component) {
    const long double error =
        std::fabs(SrgbToLinear(static_cast<uint8_t>(component)) - SrgbRule(component));
    EXPECT_LE(error, 4e-9L) << "component " << component;
  }
}
