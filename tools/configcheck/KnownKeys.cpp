#include "tools/configcheck/KnownKeys.h"

#include <algorithm>
#include <cctype>
#include <numeric>
#include <vector>

namespace {

constexpr std::size_t kMaxHintDistance = 3;

char Folded(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

}  // namespace

bool IsKnownKey(const std::string& key) {
  return std::any_of(kKnownKeys.begin(), kKnownKeys.end(),
                     [&](const char* known) { return key == known; });
}

std::size_t EditDistanceIgnoringCase(const std::string& a, const std::string& b) {
  // One row of the Levenshtein table at a time: row[j] is the distance between the prefix of
  // `a` read so far and the first j bytes of `b`.
  std::vector<std::size_t> row(b.size() + 1);
  std::iota(row.begin(), row.end(), 0);
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      const std::size_t substitution = diagonal + (Folded(a[i - 1]) == Folded(b[j - 1]) ? 0 : 1);
      row[j] = std::min({above + 1, row[j - 1] + 1, substitution});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::optional<std::string> NearestKnownKey(const std::string& unknown) {
  std::optional<std::string> nearest;
  std::size_t best = kMaxHintDistance + 1;
  for (const char* known : kKnownKeys) {
    const std::size_t distance = EditDistanceIgnoringCase(unknown, known);
    if (distance < best) {
      best = distance;
      nearest = known;
    }
  }
  return nearest;
}
