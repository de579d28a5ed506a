#include "tools/configcheck/ConfigCheck.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstring>
#include <cwctype>
#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <utility>

#include <fmt/format.h>

#include "host-bridge/FString.h"
#include "host-bridge/Platform.h"
#include "rules/ConfigFile.h"
#include "rules/ConfigKeys.h"
#include "rules/MissionMatch.h"
#include "rules/Notification.h"
#include "rules/Settings.h"
#include "tools/configcheck/Utf8Text.h"

namespace {

using nlohmann::json;

std::string ReadText(const std::string& path) {
  std::ifstream file;
  Platform::OpenForReading(file, path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

#if defined(_WIN32)
// Unicode case mappings, as the system's invariant locale has them.
wint_t MapCase(wint_t c, DWORD mapping) {
  const wchar_t letter = static_cast<wchar_t>(c);
  wchar_t mapped = letter;
  return LCMapStringEx(LOCALE_NAME_INVARIANT, mapping, &letter, 1, &mapped, 1, nullptr, nullptr,
                       0) == 1
             ? mapped
             : c;
}

bool HasCase(wint_t c) {
  return MapCase(c, LCMAP_UPPERCASE) != c || MapCase(c, LCMAP_LOWERCASE) != c;
}
#else
// Unicode case mappings, whatever the locale of the process running the check.
locale_t UnicodeCaseMappings() {
  static const locale_t mappings = [] {
    locale_t found = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    return found != nullptr ? found : newlocale(LC_CTYPE_MASK, "C.utf8", found);
  }();
  return mappings;
}

bool HasCase(wint_t c) {
  const locale_t mappings = UnicodeCaseMappings();
  // Without the mappings every letter beyond ASCII is taken to have a case: a warning too many
  // rather than one missed.
  if (mappings == nullptr) return true;
  return towupper_l(c, mappings) != c || towlower_l(c, mappings) != c;
}
#endif

// The first letter of UTF-8 `text` that has an upper- and a lower-case form and is not one of
// A-Z or a-z, as UTF-8; none when every such letter is ASCII.
std::optional<std::string> FirstLetterWithCaseOutsideAscii(const std::string& text) {
  const FString decoded = FString::FromUtf8(text);
  for (int32_t i = 0; i < decoded.Length(); ++i) {
    const auto c = static_cast<wint_t>(decoded.Chars[i]);
    const bool surrogate = c >= 0xD800 && c <= 0xDFFF;  // letters beyond the 16-bit range
    if (c < 0x80 || surrogate || !HasCase(c)) continue;
    const WideChar letter[2] = {decoded.Chars[i], 0};
    return FString(letter).ToUtf8();
  }
  return std::nullopt;
}

// Where the text of UTF-8 `text` begins and ends once Unicode's white space is taken off both ends,
// and which white space characters were taken, in the order met.
struct Trimmed {
  std::size_t Begin = 0;
  std::size_t End = 0;  // one past the last byte kept; Begin == End when nothing is kept
  std::vector<char32_t> Taken;
};

Trimmed TrimWhiteSpace(const std::string& text) {
  Trimmed trimmed;
  std::size_t begin = 0;
  while (begin < text.size()) {
    const std::size_t length = ValidSequenceLength(text, begin);
    if (length == 0 || !IsUnicodeWhiteSpace(CodePointAt(text, begin, length))) break;
    trimmed.Taken.push_back(CodePointAt(text, begin, length));
    begin += length;
  }
  std::size_t end = text.size();
  while (end > begin) {
    std::size_t last = end - 1;  // the first byte of the last character
    while (last > begin && (static_cast<unsigned char>(text[last]) & 0xC0) == 0x80) --last;
    const std::size_t length = ValidSequenceLength(text, last);
    if (length != end - last || !IsUnicodeWhiteSpace(CodePointAt(text, last, length))) break;
    trimmed.Taken.push_back(CodePointAt(text, last, length));
    end = last;
  }
  trimmed.Begin = begin;
  trimmed.End = end;
  return trimmed;
}

// "U+0020, U+00A0": the distinct characters, in the order given.
std::string CodePointList(const std::vector<char32_t>& characters) {
  std::vector<char32_t> distinct;
  std::string list;
  for (const char32_t c : characters) {
    if (std::find(distinct.begin(), distinct.end(), c) != distinct.end()) continue;
    distinct.push_back(c);
    list += (list.empty() ? "" : ", ") + CodePointName(c);
  }
  return list;
}

// The pieces of `text` between its commas, white space taken off each, empty pieces left out.
std::vector<std::string> SplitAtCommas(const std::string& text) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string piece = text.substr(start, comma - start);
    const Trimmed trimmed = TrimWhiteSpace(piece);
    if (trimmed.End > trimmed.Begin) {
      pieces.push_back(piece.substr(trimmed.Begin, trimmed.End - trimmed.Begin));
    }
    start = comma + 1;
  }
  return pieces;
}

class Checker {
 public:
  Checker(const json& config, const ConfigLocations& where,
          const std::optional<TextPosition>& ignoredTextAt, const MissionList* listed)
      : config_(config), where_(where), ignoredTextAt_(ignoredTextAt), listed_(listed) {}

  std::vector<Finding> Run() {
    if (!config_.is_object()) {
      Warn(where_.ValueAt(root_), "",
           fmt::format("the top level is {}, not an object: the plugin switches no mission off "
                       "and applies the default message and settings",
                       Described(config_)));
      return std::move(findings_);
    }
    CheckKeys();
    CheckMissionList();
    CheckMessage();
    CheckBoolean(kShowMissionNamesKey, ShowMissionNamesIn);
    CheckBoolean(kShowConfigSummaryKey, ShowConfigSummaryIn);
    if (ignoredTextAt_) {
      Warn(ignoredTextAt_, "", "text after the closing brace: the plugin never reads it");
    }
    // In the order of the file; findings without a place first.
    std::stable_sort(findings_.begin(), findings_.end(), [](const Finding& a, const Finding& b) {
      const auto place = [](const Finding& f) {
        return f.At ? std::pair<std::size_t, std::size_t>{f.At->Line, f.At->Column}
                    : std::pair<std::size_t, std::size_t>{0, 0};
      };
      return place(a) < place(b);
    });
    return std::move(findings_);
  }

 private:
  void Warn(std::optional<TextPosition> at, const std::string& key, std::string message) {
    findings_.push_back({Severity::Warning, std::move(message), at, key});
  }

  void CheckKeys() {
    for (const RepeatedKey& repeated : where_.RepeatedKeys()) {
      Warn(repeated.At, repeated.Key,
           fmt::format("key {} is given again (first on line {}): the plugin uses only this "
                       "last value",
                       Quoted(repeated.Key), repeated.Earlier.Line));
    }
    for (const auto& member : config_.items()) {
      const std::string& key = member.key();
      if (std::find(kConfigKeys.begin(), kConfigKeys.end(), key) != kConfigKeys.end()) continue;
      std::string message = fmt::format("unknown key {}: the plugin ignores it", Quoted(key));
      if (const char* meant = MeantKey(config_, key)) {
        message += fmt::format("; did you mean \"{}\"?", meant);
      }
      Warn(where_.KeyAt(root_ / key), key, std::move(message));
    }
  }

  // The entries in the order the plugin tries them: an array's elements, an object's values in
  // key order, a single value itself; the plugin's search stops at the first that is no string.
  void CheckMissionList() {
    const auto found = config_.find(kDisabledMissionsKey);
    if (found == config_.end()) {
      Warn(where_.ValueAt(root_), "",
           fmt::format("no \"{}\": the plugin switches no mission off", kDisabledMissionsKey));
      return;
    }
    const json& list = *found;
    const JsonPointer listAt = root_ / kDisabledMissionsKey;
    if (list.empty()) {  // null, [] or {}
      Warn(where_.ValueAt(listAt), kDisabledMissionsKey,
           fmt::format("\"{}\" is {}: the plugin switches no mission off", kDisabledMissionsKey,
                       list.is_null()    ? "null"
                       : list.is_array() ? "an empty list"
                                         : "an empty object"));
      return;
    }
    CheckCommaList(list, listAt);
    if (list.is_object()) {
      Warn(where_.ValueAt(listAt), kDisabledMissionsKey,
           fmt::format("\"{}\" is an object: the plugin tries its member values in the order of "
                       "the member names and ignores the names; a list is written [\"...\"]",
                       kDisabledMissionsKey));
    }
    std::size_t number = 0;
    const std::size_t count = list.is_structured() ? list.size() : list.is_null() ? 0 : 1;
    for (const auto& item : list.items()) {
      ++number;
      const JsonPointer at = list.is_structured() ? listAt / item.key() : listAt;
      const json& entry = item.value();
      if (!entry.is_string()) {
        Warn(where_.ValueAt(at), kDisabledMissionsKey, NotAString(list, entry, number, count));
        return;
      }
      CheckEntryText(entry.get_ref<const std::string&>(), number, at);
      CheckLetterCase(entry.get_ref<const std::string&>(), number, at);
      if (listed_ != nullptr) CheckBreadth(entry, number, at);
    }
  }

  void CheckLetterCase(const std::string& text, std::size_t number, const JsonPointer& at) {
    const auto letter = FirstLetterWithCaseOutsideAscii(text);
    if (!letter) return;
    Warn(where_.ValueAt(at), kDisabledMissionsKey,
         fmt::format("\"{}\" entry {} {} holds {}, a letter outside A-Z: the plugin ignores the "
                     "case of A-Z only, so it matches only names that have such letters in the "
                     "same case",
                     kDisabledMissionsKey, number, Quoted(text), Quoted(*letter)));
  }

  // An entry that alone switches off more than half of the listed missions is most likely too
  // short or too common a word.
  void CheckBreadth(const json& entry, std::size_t number, const JsonPointer& at) {
    json alone = {{kDisabledMissionsKey, json::array({entry})}};
    std::size_t matched = 0;
    for (const std::string& name : listed_->Names) {
      if (FindDisablingEntry(alone, FString::FromUtf8(name))) ++matched;
    }
    if (matched * 2 <= listed_->Names.size()) return;
    Warn(where_.ValueAt(at), kDisabledMissionsKey,
         fmt::format("\"{}\" entry {} {} switches off {} of the {} missions in {}, more than "
                     "half",
                     kDisabledMissionsKey, number, Quoted(entry.get_ref<const std::string&>()),
                     matched, listed_->Names.size(), listed_->File));
  }

  std::string NotAString(const json& list, const json& entry, std::size_t number,
                         std::size_t count) const {
    if (!list.is_structured()) {
      return fmt::format("\"{}\" is {}, not a list of strings: the plugin switches no mission off",
                         kDisabledMissionsKey, Described(list));
    }
    std::string message = fmt::format("\"{}\" entry {} is {}, not a string: the plugin stops at it",
                                      kDisabledMissionsKey, number, Described(entry));
    const std::size_t after = count - number;
    if (after == 1) message += " and never tries the entry after it";
    if (after > 1) message += fmt::format(" and never tries the {} entries after it", after);
    return message;
  }

  // The plugin searches for the text up to its first U+0000, white space included; an empty text
  // matches nothing.
  void CheckEntryText(const std::string& text, std::size_t number, const JsonPointer& at) {
    const std::string searched = text.substr(0, text.find('\0'));
    const Trimmed trimmed = TrimWhiteSpace(searched);
    std::string problem;
    if (text.empty()) {
      problem = "is empty: it matches no mission";
    } else if (searched.empty()) {
      problem = "begins with the character U+0000: it matches no mission";
    } else if (searched.size() != text.size()) {
      problem =
          fmt::format("holds the character U+0000: the plugin matches only the text before it, {}",
                      Quoted(searched));
    } else if (trimmed.Begin == trimmed.End) {
      problem = fmt::format(
          "{} is only white space ({}): it switches off every name that holds it as written",
          Quoted(text), CodePointList(trimmed.Taken));
    } else if (!trimmed.Taken.empty()) {
      problem = fmt::format(
          "{} begins or ends with white space ({}), which the plugin matches as written: a name "
          "that has {} at its start or end is not switched off",
          Quoted(text), CodePointList(trimmed.Taken),
          Quoted(searched.substr(trimmed.Begin, trimmed.End - trimmed.Begin)));
    } else {
      return;
    }
    Warn(where_.ValueAt(at), kDisabledMissionsKey,
         fmt::format("\"{}\" entry {} {}", kDisabledMissionsKey, number, problem));
  }

  // One string holding commas is one entry, searched for whole: most likely a list meant.
  void CheckCommaList(const json& list, const JsonPointer& at) {
    if (!list.is_string()) return;
    const std::vector<std::string> pieces = SplitAtCommas(list.get_ref<const std::string&>());
    if (pieces.size() < 2) return;
    std::string written;
    for (const std::string& piece : pieces)
      written += (written.empty() ? "" : ", ") + Quoted(piece);
    Warn(where_.ValueAt(at), kDisabledMissionsKey,
         fmt::format("\"{}\" is one string that holds commas: the plugin searches for it whole, "
                     "commas included; a list of names is written [{}]",
                     kDisabledMissionsKey, written));
  }

  // Whether the plugin uses each setting is decided by its own reading of them.
  void CheckMessage() {
    const auto found = config_.find(kDisabledMessageKey);
    if (found == config_.end()) return;
    const auto at = where_.ValueAt(root_ / kDisabledMessageKey);
    const Setting<std::string> message = DisabledMessageIn(config_);
    if (!message.Problem.empty()) {
      Warn(at, kDisabledMessageKey,
           fmt::format("\"{}\" is {}, not a string: the plugin shows the default message",
                       kDisabledMessageKey, Described(*found)));
      return;
    }
    if (message.Value.empty()) {
      Warn(at, kDisabledMessageKey,
           fmt::format("\"{}\" is empty: a refused player sees a blank notification",
                       kDisabledMessageKey));
      return;
    }
    try {
      const NotificationText text(message.Value);
    } catch (const fmt::format_error& error) {
      Warn(at, kDisabledMessageKey,
           fmt::format("\"{}\" is rejected by the formatter ({}): the plugin shows the default "
                       "message; a brace is written doubled, \"{{{{\" shows as \"{{\"",
                       kDisabledMessageKey, error.what()));
    }
  }

  // A boolean setting whose default is false, as the plugin reads it with `read`.
  void CheckBoolean(const char* key, Setting<bool> (*read)(const json&)) {
    const auto found = config_.find(key);
    if (found == config_.end() || read(config_).Problem.empty()) return;
    std::string message =
        fmt::format("\"{}\" is {}, not a boolean: the plugin takes false", key, Described(*found));
    if (found->is_string()) message += "; true and false are written without quotes";
    Warn(where_.ValueAt(root_ / key), key, std::move(message));
  }

  const json& config_;
  const ConfigLocations& where_;
  const std::optional<TextPosition>& ignoredTextAt_;
  const MissionList* listed_;
  const JsonPointer root_;
  std::vector<Finding> findings_;
};

}  // namespace

ConfigCheck CheckConfigFile(const std::string& path, const MissionList* listed) {
  ConfigCheck check{path, {}, std::nullopt};
  std::optional<TextPosition> ignoredTextAt;
  try {
    check.Config = ParseConfigFile(path, &ignoredTextAt);
  } catch (const nlohmann::json::exception& error) {
    // The plugin's message; the place, which a number overflow's message lacks, from a scan of
    // the same text.
    const std::string text = ReadText(path);
    const ConfigLocations where(text);
    std::string message = error.what();
    if (const auto offset = where.ParseErrorOffset()) {
      const std::string hint = ParseErrorHint(text, *offset, message);
      if (!hint.empty()) message += "; hint: " + hint;
    }
    check.Findings.push_back({Severity::Error, std::move(message), where.ParseErrorAt(), ""});
    return check;
  } catch (const std::runtime_error& error) {
    const int reason = errno;  // left by the failed open
    std::string message = fmt::format("the file cannot be opened ({}); the plugin reports \"{}\"",
                                      std::strerror(reason), error.what());
    // The files beside it the plugin itself names in its log when it cannot open the file.
    for (const ConfigNearMiss& file : ConfigNearMisses(path)) {
      message += fmt::format("; hint: found {} where {} belongs: {}", Quoted(file.Name),
                             std::filesystem::u8path(path).filename().u8string(), file.Advice);
    }
    check.Findings.push_back({Severity::Error, std::move(message), std::nullopt, ""});
    return check;
  }
  check.Findings =
      CheckValues(*check.Config, ConfigLocations(ReadText(path)), ignoredTextAt, listed);
  return check;
}

std::vector<Finding> CheckValues(const nlohmann::json& config, const ConfigLocations& where,
                                 const std::optional<TextPosition>& ignoredTextAt,
                                 const MissionList* listed) {
  return Checker(config, where, ignoredTextAt, listed).Run();
}

std::string Described(const nlohmann::json& value) {
  if (value.is_null()) return "null";
  const std::string name = value.type_name();
  const bool vowel = name.front() == 'a' || name.front() == 'o';
  return (vowel ? "an " : "a ") + name;
}

std::string Quoted(const std::string& text) {
  // Valid stretches as config.json holds them; between them each invalid byte as \xNN and each
  // white space character beyond ASCII, invisible on a screen, as \uNNNN.
  std::string quoted = "\"";
  std::size_t stretch = 0;
  const auto flush = [&](std::size_t end) {
    const std::string written = ConfigString(text.substr(stretch, end - stretch));
    quoted.append(written, 1, written.size() - 2);
  };
  for (std::size_t offset = 0; offset < text.size();) {
    const std::size_t length = ValidSequenceLength(text, offset);
    if (length == 0) {
      flush(offset);
      quoted += EscapeInvalidBytes(text.substr(offset, 1));
      stretch = ++offset;
    } else if (length > 1 && IsUnicodeWhiteSpace(CodePointAt(text, offset, length))) {
      flush(offset);
      quoted += fmt::format("\\u{:04x}", static_cast<uint32_t>(CodePointAt(text, offset, length)));
      stretch = offset += length;
    } else {
      offset += length;
    }
  }
  flush(text.size());
  return quoted + "\"";
}
