#include "tools/configcheck/ConfigText.h"

#include <algorithm>
#include <sstream>
#include <utility>

#include <fmt/format.h>

#include "tools/configcheck/Utf8Text.h"

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Nothing but blanks, after a UTF-8 byte order mark if there is one.
bool BlankOnly(const std::string& text) {
  const std::size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  for (std::size_t i = start; i < text.size(); ++i) {
    if (!IsBlank(text[i])) return false;
  }
  return true;
}

bool StartsComment(const std::string& text, std::size_t offset) {
  return text[offset] == '/' && offset + 1 < text.size() &&
         (text[offset + 1] == '/' || text[offset + 1] == '*');
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

// Records the offset at which each value and key begins. The parser reads the text through
// `input`; when it reports a token, everything up to the token's end has been read (a number
// also the one byte after it), so the token begins at the first byte after the previous token
// that is not blank and not a separator (',' or ':').
class LocatingHandler final : public nlohmann::json_sax<nlohmann::json> {
 public:
  LocatingHandler(ConfigLocations& locations, std::stringbuf& input)
      : loc_(locations), input_(input) {
    const std::string& text = loc_.text_;
    // The parser skips a UTF-8 byte order mark before the first token.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) lastEnd_ = 3;
  }

  bool null() override { return Scalar(); }
  bool boolean(bool) override { return Scalar(); }
  bool number_integer(number_integer_t) override { return Scalar(); }
  bool number_unsigned(number_unsigned_t) override { return Scalar(); }
  bool number_float(number_float_t, const string_t&) override { return Scalar(); }
  bool string(string_t&) override { return Scalar(); }
  bool binary(binary_t&) override { return Scalar(); }

  bool start_object(std::size_t) override { return Open(false); }
  bool start_array(std::size_t) override { return Open(true); }
  bool end_object() override { return Close(); }
  bool end_array() override { return Close(); }

  bool key(string_t& name) override {
    const std::size_t start = TokenStart();
    if (depth_ > kLevelsLocated) return true;
    Container& object = open_.back();
    object.Key = name;
    const std::string where = (object.Path / name).to_string();
    if (depth_ == 1) {
      auto [earlier, first] = loc_.keys_.emplace(where, start);
      if (!first) {
        loc_.repeated_.push_back({name, loc_.lines_.At(start), loc_.lines_.At(earlier->second)});
        earlier->second = start;
      }
    } else {
      loc_.keys_[where] = start;
    }
    return true;
  }

  // `position` counts the bytes the parser has read, the one it stopped at included. The
  // library numbers lines from 1 and counts the column up to that byte; a line break read
  // there already counts as the next line, at column 0.
  bool parse_error(std::size_t position, const std::string&,
                   const nlohmann::detail::exception&) override {
    if (position > 0) loc_.parseErrorOffset_ = position - 1;
    if (position <= loc_.text_.size() && loc_.text_[position - 1] == '\n') {
      loc_.parseError_ = TextPosition{loc_.lines_.At(position - 1).Line + 1, 0};
    } else {
      loc_.parseError_ = loc_.lines_.At(position - 1);
    }
    return false;
  }

 private:
  // A container among the first kLevelsLocated levels, whose values are located.
  struct Container {
    JsonPointer Path;
    bool IsArray;
    std::size_t NextIndex = 0;  // arrays: the index of the next element
    std::string Key;            // objects: the key of the member being read
  };

  std::size_t Consumed() {
    return static_cast<std::size_t>(input_.pubseekoff(0, std::ios::cur, std::ios::in));
  }

  std::size_t TokenStart() {
    const std::string& text = loc_.text_;
    std::size_t start = lastEnd_;
    while (start < text.size() &&
           (IsBlank(text[start]) || text[start] == ',' || text[start] == ':')) {
      ++start;
    }
    lastEnd_ = Consumed();
    return start;
  }

  // Records where the value that begins now starts, when it lies within the located levels;
  // answers its path then.
  std::optional<JsonPointer> Value() {
    const std::size_t start = TokenStart();
    if (depth_ > kLevelsLocated) return std::nullopt;
    JsonPointer where;
    if (depth_ > 0) {
      Container& parent = open_.back();
      where = parent.IsArray ? parent.Path / parent.NextIndex++ : parent.Path / parent.Key;
    }
    loc_.values_[where.to_string()] = start;
    return where;
  }

  bool Scalar() {
    Value();
    return true;
  }

  bool Open(bool isArray) {
    if (auto where = Value(); where && depth_ < kLevelsLocated) {
      open_.push_back({std::move(*where), isArray, 0, {}});
    }
    ++depth_;
    return true;
  }

  bool Close() {
    lastEnd_ = Consumed();
    if (depth_ <= kLevelsLocated) open_.pop_back();
    --depth_;
    return true;
  }

  // Findings name the top level, its members and their entries; deeper values are only counted,
  // so that a deeply nested file costs no more per byte than a flat one.
  static constexpr std::size_t kLevelsLocated = 2;

  ConfigLocations& loc_;
  std::stringbuf& input_;
  std::size_t lastEnd_ = 0;
  std::size_t depth_ = 0;        // containers open around the parser's position
  std::vector<Container> open_;  // the open containers among the located levels, outermost first
};

ConfigLocations::ConfigLocations(const std::string& text) : text_(text), lines_(text_) {
  std::stringbuf buffer(text_, std::ios::in);
  std::istream input(&buffer);
  LocatingHandler handler(*this, buffer);
  nlohmann::json::sax_parse(input, &handler, nlohmann::json::input_format_t::json,
                            /*strict=*/false, /*ignore_comments=*/false);
}

std::optional<TextPosition> ConfigLocations::ValueAt(const JsonPointer& where) const {
  const auto found = values_.find(where.to_string());
  if (found == values_.end()) return std::nullopt;
  return lines_.At(found->second);
}

std::optional<TextPosition> ConfigLocations::KeyAt(const JsonPointer& where) const {
  const auto found = keys_.find(where.to_string());
  if (found == keys_.end()) return std::nullopt;
  return lines_.At(found->second);
}

std::string ParseErrorHint(const std::string& text, std::size_t errorOffset,
                           const std::string& libraryMessage) {
  if (LooksLikeUtf16(text)) {
    return "the file looks saved as UTF-16; save it as UTF-8";
  }
  if (BlankOnly(text)) {
    return "the file is empty or holds only white space; the plugin needs a JSON object, at "
           "least {}";
  }
  if (const auto invalid = FirstInvalidByte(text); invalid && *invalid <= errorOffset) {
    const TextPosition at = LineIndex(text).At(*invalid);
    return fmt::format(
        "the file is not valid UTF-8 (byte \\x{:02X} at line {}, column {}); it looks saved in "
        "a Windows code page: save it as UTF-8",
        static_cast<unsigned char>(text[*invalid]), at.Line, at.Column);
  }
  if (errorOffset >= text.size()) return "";
  if (StartsComment(text, errorOffset)) {
    return "config.json cannot hold comments; remove the comment";
  }
  if (text[errorOffset] == '\'') {
    return "JSON strings and keys are written in double quotes: \"Hunt\", not 'Hunt'";
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
