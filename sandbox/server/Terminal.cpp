#include "sandbox/server/Terminal.h"

#include <unistd.h>

#include <cstdio>

#include <fmt/color.h>
#include <fmt/format.h>

namespace Sandbox {
namespace {

uint8_t Channel(float value) {
  if (value >= 1.0f) return 255;
  if (value <= 0.0f) return 0;
  return static_cast<uint8_t>(value * 255.0f);
}

}  // namespace

Terminal::Terminal() : colour_(isatty(STDOUT_FILENO) != 0) {}

// Every line is flushed at once: the log sinks write to the same stream, and a pipe reader
// (a test, a script) must see lines as they happen.
void Terminal::Line(const std::string& text) const {
  fmt::print("{}\n", text);
  std::fflush(stdout);
}

void Terminal::Prompt(const std::string& text) const {
  fmt::print("{}", text);
  std::fflush(stdout);
}

void Terminal::Line(const std::string& text, const LinearColor& colour) const {
  if (!colour_) return Line(text);
  fmt::print(fmt::fg(fmt::rgb(Channel(colour.R), Channel(colour.G), Channel(colour.B))), "{}",
             text);
  fmt::print("\n");
  std::fflush(stdout);
}

}  // namespace Sandbox
