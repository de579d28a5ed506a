// A place in a text file as editors and compilers name it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct TextPosition {
  std::size_t Line;    // from 1
  std::size_t Column;  // from 1, counted in bytes as the JSON library's parse errors count them
};

// Turns byte offsets of one text into lines and columns.
class LineIndex {
 public:
  explicit LineIndex(const std::string& text);
  TextPosition At(std::size_t offset) const;

 private:
  std::vector<std::size_t> lineStarts_;  // offset of the first byte of each line
};
