// The text of a config.json: where its keys and values begin, for findings that name a line and a
// column, and what most likely broke a text the JSON library cannot parse.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "rules/ConfigFile.h"

// Turns byte offsets of one text into lines and columns.
class LineIndex {
 public:
  explicit LineIndex(const std::string& text);
  TextPosition At(std::size_t offset) const;

 private:
  std::vector<std::size_t> lineStarts_;  // offset of the first byte of each line
};

using JsonPointer = nlohmann::json::json_pointer;

// A top-level key written again: its value replaces the earlier one.
struct RepeatedKey {
  std::string Key;
  TextPosition At;       // where the key is written again
  TextPosition Earlier;  // where it was written before that
};

// Where the keys and values of a config.json text begin. The text is scanned by the JSON
// library's event parser with the settings the plugin parses with (the first value only, no
// comments), so both see the same values. Places are kept for the top level, its members and
// their entries (pointers of up to two tokens), which is all findings name; deeper values are
// passed over, so the scan's cost grows with the text's length alone, whatever its nesting.
class ConfigLocations {
 public:
  explicit ConfigLocations(const std::string& text);

  // Where the value at `where` begins: its first byte (an opening quote or bracket, a digit, a
  // minus sign, or the first letter of true, false or null).
  std::optional<TextPosition> ValueAt(const JsonPointer& where) const;
  // Where the key of the member at `where` begins: its opening quote.
  std::optional<TextPosition> KeyAt(const JsonPointer& where) const;
  // Top-level keys given more than once, each later occurrence in file order.
  const std::vector<RepeatedKey>& RepeatedKeys() const { return repeated_; }
  // Where the parser stopped in a text that is not valid JSON; the line and column the JSON
  // library's own message names, also for errors whose message names none (number overflow).
  std::optional<TextPosition> ParseErrorAt() const { return parseError_; }
  // The same place as a byte offset: the last byte the parser read.
  std::optional<std::size_t> ParseErrorOffset() const { return parseErrorOffset_; }

 private:
  friend class LocatingHandler;

  std::string text_;
  LineIndex lines_;
  std::map<std::string, std::size_t> values_;  // JSON pointer text -> offset of the value
  std::map<std::string, std::size_t> keys_;    // JSON pointer text -> offset of the key
  std::vector<RepeatedKey> repeated_;
  std::optional<TextPosition> parseError_;
  std::optional<std::size_t> parseErrorOffset_;
};

// A hint for the parse error `libraryMessage` at byte `errorOffset` of `text` (the last byte the
// parser read), or "" when the cause is not one of the mistakes operators make most: a file saved
// as UTF-16, an empty or blank file, a file not valid UTF-8 before the error (saved in a Windows
// code page, most likely), a comment, a string in single quotes, a comma after the last member, a
// missing comma between members.
std::string ParseErrorHint(const std::string& text, std::size_t errorOffset,
                           const std::string& libraryMessage);
