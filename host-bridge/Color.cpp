#include "host-bridge/Color.h"

#include <array>
#include <cmath>

namespace {

// The float nearest 1/255 (bit pattern 0x3B808081).
constexpr float kAlphaScale = 0.003921568859368563f;

std::array<double, 256> MakeDecodingTable() {
  std::array<double, 256> table{};
  for (int component = 0; component < 256; ++component) {
    const double x = component / 255.0;
    table[component] = x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
  }
  // (1 + 0.055) / 1.055 need not be exactly 1 in double arithmetic; the top is pinned to 1.
  // The bottom is exactly 0 through the linear segment.
  table[255] = 1.0;
  return table;
}

}  // namespace

double SrgbToLinear(uint8_t component) {
  static const std::array<double, 256> table = MakeDecodingTable();
  return table[component];
}

LinearColor ToLinearColor(Color8 color) {
  return {static_cast<float>(SrgbToLinear(color.R)), static_cast<float>(SrgbToLinear(color.G)),
          static_cast<float>(SrgbToLinear(color.B)), static_cast<float>(color.A) * kAlphaScale};
}
