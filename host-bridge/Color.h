// Colours as plugins name them (8-bit) and as game functions take them (linear floats).
#pragma once

#include <cstdint>

struct Color8 {
  uint8_t B;
  uint8_t G;
  uint8_t R;
  uint8_t A;
};

struct LinearColor {
  float R;
  float G;
  float B;
  float A;
};

inline constexpr Color8 Green{0, 255, 0, 255};
inline constexpr Color8 Red{0, 0, 255, 255};

// The sRGB decoding of an 8-bit component: with x = component / 255, x / 12.92 up to x = 0.04045,
// else ((x + 0.055) / 1.055) to the power 2.4; exactly 0 for 0 and exactly 1 for 255.
double SrgbToLinear(uint8_t component);

// Red, green and blue through SrgbToLinear rounded to float; alpha times the float nearest 1/255
// in float arithmetic, so 255 gives exactly 1.
LinearColor ToLinearColor(Color8 color);
