// The sandbox's output on standard output: plain lines, and lines in the colour a player saw
// them in. Colour is used only when standard output is a terminal.
#pragma once

#include <string>

#include "host-bridge/Color.h"

namespace Sandbox {

class Terminal {
 public:
  // Decides colour from whether standard output is a terminal.
  Terminal();
  explicit Terminal(bool colour) : colour_(colour) {}

  bool Colour() const { return colour_; }
  void Line(const std::string& text) const;
  // `text` with no line end, where the next typed line begins.
  void Prompt(const std::string& text) const;
  // `text` in `colour`, or plain without colour.
  void Line(const std::string& text, const LinearColor& colour) const;

 private:
  bool colour_;
};

}  // namespace Sandbox
