#include "rules/ConfigFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <istream>
#include <streambuf>
#include <system_error>

#include "host-bridge/Platform.h"
#include "rules/ConfigKeys.h"

namespace {

// The most a key may differ from the one it is taken for.
constexpr std::size_t kMaxMisspelling = 2;

bool JsonBlank(int byte) {
  return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r';
}

// Hands the file's bytes on one at a time and keeps the place of the last one handed on, so that
// where the parser stopped is known without reading the file twice.
class PlaceCountingBuffer final : public std::streambuf {
 public:
  explicit PlaceCountingBuffer(std::streambuf& source) : source_(source) {}

  // Where the first byte that is not white space lies among those not handed on yet. The parser
  // reads one byte past a number to see it end (unless the file ends there): with
  // `lastIsPastValue`, the last byte handed on is the first after the value.
  std::optional<TextPosition> FirstTextAfter(bool lastIsPastValue) {
    if (lastIsPastValue && !ended_ && !JsonBlank(last_)) return lastPlace_;
    for (int_type byte = sgetc(); byte != traits_type::eof(); byte = snextc()) {
      if (!JsonBlank(byte)) return next_;
    }
    return std::nullopt;
  }

 protected:
  int_type underflow() override { return source_.sgetc(); }

  int_type uflow() override {
    const int_type byte = source_.sbumpc();
    if (byte == traits_type::eof()) {
      ended_ = true;
      return byte;
    }
    last_ = byte;
    lastPlace_ = next_;
    if (byte == '\n') {
      next_ = {next_.Line + 1, 1};
    } else {
      ++next_.Column;
    }
    return byte;
  }

 private:
  std::streambuf& source_;
  TextPosition next_{1, 1};
  TextPosition lastPlace_{1, 1};
  int_type last_ = 0;
  bool ended_ = false;
};

char Folded(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::string FoldedText(const std::string& text) {
  std::string folded = text;
  std::transform(folded.begin(), folded.end(), folded.begin(), Folded);
  return folded;
}

// Letters to add, drop or replace to turn `a` into `b`, A-Z taken as a-z; anything above `limit`
// answers limit + 1. Cost: the length of `a` times 2 * limit + 1.
std::size_t FoldedDistance(const std::string& a, const std::string& b, std::size_t limit) {
  const std::size_t longer = std::max(a.size(), b.size());
  if (longer - std::min(a.size(), b.size()) > limit) return limit + 1;
  const std::string x = FoldedText(a);
  const std::string y = FoldedText(b);
  std::vector<std::size_t> row(y.size() + 1);
  for (std::size_t j = 0; j <= y.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= x.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    std::size_t best = row[0];
    for (std::size_t j = 1; j <= y.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (x[i - 1] == y[j - 1] ? 0 : 1)});
      diagonal = above;
      best = std::min(best, row[j]);
    }
    if (best > limit) return limit + 1;
  }
  return std::min(row[y.size()], limit + 1);
}

}  // namespace

std::string ConfigString(const std::string& utf8) {
  return nlohmann::json(utf8).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

nlohmann::json ParseConfigFile(const std::string& path,
                               std::optional<TextPosition>* ignoredTextAt) {
  std::ifstream file;
  Platform::OpenForReading(file, path);
  // A directory opens on some systems and fails only at its first read, with the runtime's words.
  std::error_code notDirectory;
  if (!file.is_open() ||
      std::filesystem::is_directory(std::filesystem::u8path(path), notDirectory)) {
    throw ConfigFileUnopened();
  }
  PlaceCountingBuffer counted(*file.rdbuf());
  std::istream in(&counted);
  nlohmann::json parsed;
  in >> parsed;
  if (ignoredTextAt != nullptr) *ignoredTextAt = counted.FirstTextAfter(parsed.is_number());
  return parsed;
}

const char* MeantKey(const nlohmann::json& config, const std::string& written) {
  const char* meant = nullptr;
  std::size_t nearest = kMaxMisspelling + 1;
  for (const char* key : kConfigKeys) {
    if (written == key) return nullptr;
    if (config.contains(key)) continue;
    const std::size_t distance = FoldedDistance(written, key, kMaxMisspelling);
    if (distance < nearest) {
      nearest = distance;
      meant = key;
    }
  }
  return meant;
}

std::vector<MisspeltKey> MisspeltKeys(const nlohmann::json& config) {
  std::vector<MisspeltKey> misspelt;
  if (!config.is_object()) return misspelt;
  for (const auto& member : config.items()) {
    if (const char* meant = MeantKey(config, member.key())) {
      misspelt.push_back({member.key(), meant});
    }
  }
  return misspelt;
}

std::vector<ConfigNearMiss> ConfigNearMisses(const std::string& path) {
  const std::filesystem::path config = std::filesystem::u8path(path);
  const std::string wanted = config.filename().u8string();
  std::vector<ConfigNearMiss> found;
  std::optional<std::string> sample;
  std::error_code error;
  for (std::filesystem::directory_iterator entry(config.parent_path(), error), end;
       !error && entry != end; entry.increment(error)) {
    const std::string name = entry->path().filename().u8string();
    const std::string folded = FoldedText(name);
    if (folded == wanted + ".txt") {
      found.push_back({name, "rename it to " + wanted + " (Windows hides known extensions)"});
    } else if (folded == wanted && name != wanted) {
      found.push_back({name, "rename it to " + wanted + " (the name is matched letter case too)"});
    } else if (folded == "config.sample.json") {
      sample = name;
    }
  }
  if (found.empty() && sample) found.push_back({*sample, "copy it to " + wanted});
  std::sort(found.begin(), found.end(),
            [](const ConfigNearMiss& a, const ConfigNearMiss& b) { return a.Name < b.Name; });
  return found;
}
