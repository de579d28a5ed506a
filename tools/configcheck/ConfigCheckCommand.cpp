#include "tools/configcheck/ConfigCheckCommand.h"

#include <fstream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "host/Platform.h"
#include "tools/configcheck/ConfigCheck.h"
#include "tools/configcheck/MissionVerdict.h"
#include "tools/configcheck/Report.h"

namespace {

constexpr int kErrorStatus = 2;

const char* const kDescription =
    "Checks a QuestVeto config.json as the plugin reads it, with the plugin's own code.\n"
    "Errors keep the plugin from reading the file; warnings name what it reads without a word\n"
    "although an operator almost never means it. Each finding gives the line and column where\n"
    "the key or value concerned begins (columns count bytes, from 1). Given mission display\n"
    "names, tells for each whether the configuration switches it off and by which entry; with\n"
    "--missions, also warns of an entry that alone switches off more than half of them.\n"
    "Exit status: 0 no findings, 1 warnings only, 2 errors (also for a wrong command line).\n";

// One name a line, UTF-8; a Windows line end and a byte order mark are dropped, blank lines
// skipped.
bool ReadNames(const std::string& path, std::vector<std::string>& names) {
  std::ifstream file;
  Platform::OpenForReading(file, path, std::ios::binary);
  if (!file.is_open()) return false;
  std::string line;
  bool first = true;
  while (std::getline(file, line)) {
    if (first && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
    first = false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) names.push_back(line);
  }
  return true;
}

}  // namespace

int RunConfigCheck(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  CLI::App app(kDescription, "questveto-config-check");
  // The same command line on every system: a path beginning with "/" is a file, not an option.
  app.allow_windows_style_options(false);
  std::string configPath;
  std::vector<std::string> names;
  std::string namesFile;
  bool asJson = false;
  app.add_option("CONFIG", configPath, "The config.json to check")->required();
  app.add_option("NAME", names, "Mission display names to look up in the configuration");
  app.add_option("--missions", namesFile,
                 "A file of mission display names to look up, one a line (UTF-8)")
      ->type_name("FILE");
  app.add_flag("--json", asJson, "Write one JSON document instead of lines");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error, out, err);
    return status == 0 ? 0 : kErrorStatus;
  }
  MissionList listed{namesFile, {}};
  if (!namesFile.empty()) {
    if (!ReadNames(namesFile, listed.Names)) {
      err << "questveto-config-check: cannot open the missions file " << namesFile << '\n';
      return kErrorStatus;
    }
    names.insert(names.end(), listed.Names.begin(), listed.Names.end());
  }

  const ConfigCheck check = CheckConfigFile(configPath, namesFile.empty() ? nullptr : &listed);
  const std::vector<MissionVerdict> verdicts = JudgeMissions(check.Config, names);
  if (asJson) {
    WriteJson(out, check, verdicts);
  } else {
    WriteText(out, check, verdicts);
  }
  return ExitStatus(check.Findings);
}
