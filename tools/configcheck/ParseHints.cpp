#include "tools/configcheck/ParseHints.h"

#include <optional>

#include <fmt/format.h>

#include "tools/configcheck/TextPosition.h"

namespace {

// A byte order mark of UTF-16, or a 0 byte in the first two: every ASCII character of UTF-16 text
// comes with one.
bool LooksLikeUtf16(const std::string& text) {
  if (text.compare(0, 2, "\xFF\xFE") == 0 || text.compare(0, 2, "\xFE\xFF") == 0) return true;
  return text.size() >= 2 && (text[0] == '\0' || text[1] == '\0');
}

bool StartsComment(const std::string& text, std::size_t offset) {
  return text[offset] == '/' && offset + 1 < text.size() &&
         (text[offset + 1] == '/' || text[offset + 1] == '*');
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Where the comma right before the closing bracket at `offset` is, if there is one.
std::optional<std::size_t> CommaBeforeClose(const std::string& text, std::size_t offset) {
  if (text[offset] != '}' && text[offset] != ']') return std::nullopt;
  std::size_t before = offset;
  while (before > 0 && IsBlank(text[before - 1])) --before;
  if (before == 0 || text[before - 1] != ',') return std::nullopt;
  return before - 1;
}

// The parser read a value where only a comma or the end of the object or list could come.
bool ValueWhereACommaBelongs(const std::string& libraryMessage) {
  const bool expectedEnd = libraryMessage.find("; expected '}'") != std::string::npos ||
                           libraryMessage.find("; expected ']'") != std::string::npos;
  return expectedEnd && libraryMessage.find("- unexpected ") != std::string::npos;
}

}  // namespace

std::string ParseErrorHint(const std::string& text, std::size_t errorOffset,
                           const std::string& libraryMessage) {
  if (LooksLikeUtf16(text)) {
    return "the file looks saved as UTF-16; save it as UTF-8";
  }
  if (errorOffset >= text.size()) return "";
  if (StartsComment(text, errorOffset)) {
    return "config.json cannot hold comments; remove the comment";
  }
  if (const auto comma = CommaBeforeClose(text, errorOffset)) {
    const TextPosition at = LineIndex(text).At(*comma);
    return fmt::format(
        "a comma after the last member or entry is not allowed; remove the one at line {}, "
        "column {}",
        at.Line, at.Column);
  }
  if (ValueWhereACommaBelongs(libraryMessage)) {
    return "a comma is missing before this: members and list entries are separated by commas";
  }
  return "";
}
