#include "tools/configcheck/TextPosition.h"

#include <algorithm>

LineIndex::LineIndex(const std::string& text) : lineStarts_{0} {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') lineStarts_.push_back(i + 1);
  }
}

TextPosition LineIndex::At(std::size_t offset) const {
  // The last line start at or before `offset`.
  const auto next = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
  const std::size_t line = static_cast<std::size_t>(next - lineStarts_.begin());
  return {line, offset - lineStarts_[line - 1] + 1};
}
