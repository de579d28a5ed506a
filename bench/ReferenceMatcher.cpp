#include "ReferenceMatcher.h"

#include "host-bridge/HostApi.h"

namespace {

// Whether upper-cased `entry` starts at `text`, comparing `text` upper-cased on the fly.
bool StartsWithIgnoringCase(const WideChar* text, const WideString& entry) {
  for (const WideChar c : entry) {
    if (*text == 0 || Platform::ToUpper(*text) != c) return false;
    ++text;
  }
  return true;
}

}  // namespace

ReferenceMatcher::ReferenceMatcher(const std::vector<std::string>& entriesUtf8) {
  upperEntries_.reserve(entriesUtf8.size());
  for (const std::string& entry : entriesUtf8) {
    WideString upper = HostApi::Tools::Utf8Decode(entry);
    upper.resize(Platform::TextLength(upper.c_str()));  // the filter stops at a U+0000 too
    for (WideChar& c : upper) c = Platform::ToUpper(c);
    upperEntries_.push_back(std::move(upper));
  }
}

bool ReferenceMatcher::Matches(const FString& name) const {
  const WideChar* text = name.Text();
  for (const WideString& entry : upperEntries_) {
    if (entry.empty()) continue;
    for (const WideChar* at = text; *at != 0; ++at) {
      if (StartsWithIgnoringCase(at, entry)) return true;
    }
  }
  return false;
}
