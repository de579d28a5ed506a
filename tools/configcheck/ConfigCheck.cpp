#include "tools/configcheck/ConfigCheck.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <fmt/format.h>

#include "host/Platform.h"
#include "plugin/ConfigFile.h"
#include "tools/configcheck/ParseHints.h"

namespace {

std::string ReadText(const std::string& path) {
  std::ifstream file;
  Platform::OpenForReading(file, path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace

ConfigCheck CheckConfigFile(const std::string& path, const MissionList* listed) {
  ConfigCheck check{path, {}, std::nullopt};
  try {
    check.Config = ParseConfigFile(path);
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
    check.Findings.push_back(
        {Severity::Error,
         fmt::format("the file cannot be opened ({}); the plugin reports \"{}\"",
                     std::strerror(reason), error.what()),
         std::nullopt, ""});
    return check;
  }
  check.Findings = CheckValues(*check.Config, ConfigLocations(ReadText(path)), listed);
  return check;
}
