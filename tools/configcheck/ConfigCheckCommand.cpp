#include "tools/configcheck/ConfigCheckCommand.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <fmt/format.h>
#include <fmt/ostream.h>
#include <CLI/CLI.hpp>

#include "host-bridge/Platform.h"
#include "common/CommandLine.h"
#include "tools/configcheck/ConfigCheck.h"
#include "tools/configcheck/MissionVerdict.h"
#include "tools/configcheck/Utf8Text.h"

namespace {

// Members in the order written, file first.
using json = nlohmann::ordered_json;

// Errors in the file are an input the plugin cannot use.
constexpr int kErrorStatus = CommandLine::kUsageError;

const char* const kDescription =
    "Checks a QuestVeto config.json as the plugin reads it, with the plugin's own code.\n"
    "Errors keep the plugin from reading the file; warnings name what it reads without a word\n"
    "although an operator almost never means it. Each finding gives the line and column where\n"
    "the key or value concerned begins (columns count bytes, from 1). Given mission display\n"
    "names, tells for each whether the configuration switches it off and by which entry; with\n"
    "--missions, also warns of an entry that alone switches off more than half of them.\n"
    "Exit status: 0 no findings, 1 warnings only, 2 errors (also for a wrong command line or a\n"
    "missions file it cannot use).\n";

// One name a line, in UTF-8 or UTF-16 (with or without a byte order mark); a UTF-8 byte order
// mark and Windows line ends are dropped, blank lines skipped. Answers "" on success, otherwise
// why the file cannot be used.
std::string ReadNames(const std::string& path, std::vector<std::string>& names) {
  std::ifstream file;
  Platform::OpenForReading(file, path, std::ios::binary);
  if (!file.is_open()) return "cannot open the missions file " + EscapeInvalidBytes(path);
  std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (LooksLikeUtf16(text)) text = Utf16ToUtf8(text);
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  std::istringstream lines(text);
  std::string line;
  for (std::size_t number = 1; std::getline(lines, line); ++number) {
    if (const auto invalid = FirstInvalidByte(line)) {
      return fmt::format(
          "the missions file {} is not valid UTF-8 at line {} (byte \\x{:02X}); it looks saved "
          "in a Windows code page: save it as UTF-8",
          EscapeInvalidBytes(path), number, static_cast<unsigned char>(line[*invalid]));
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) names.push_back(line);
  }
  return "";
}

const char* SeverityName(Severity level) {
  return level == Severity::Error ? "error" : "warning";
}

std::size_t CountOf(const std::vector<Finding>& findings, Severity level) {
  return static_cast<std::size_t>(std::count_if(
      findings.begin(), findings.end(), [&](const Finding& f) { return f.Level == level; }));
}

std::string Counted(std::size_t count, const char* noun) {
  return fmt::format("{} {}{}", count, noun, count == 1 ? "" : "s");
}

std::string Summary(const ConfigCheck& check) {
  const std::size_t errors = CountOf(check.Findings, Severity::Error);
  const std::size_t warnings = CountOf(check.Findings, Severity::Warning);
  if (errors == 0 && warnings == 0) return "no problems found";
  if (errors == 0) return Counted(warnings, "warning");
  if (warnings == 0) return Counted(errors, "error");
  return Counted(errors, "error") + ", " + Counted(warnings, "warning");
}

std::string VerdictText(const MissionVerdict& verdict) {
  if (!verdict.Disabled) return verdict.Note;
  if (*verdict.Disabled) {
    return fmt::format("switched off by entry {} {}", verdict.Entry->Index + 1,
                       Quoted(verdict.Entry->Text));
  }
  if (verdict.Note.empty()) return "not switched off";
  return fmt::format("not switched off ({})", verdict.Note);
}

json OrNull(const std::string& text) {
  return text.empty() ? json(nullptr) : json(text);
}

// 0 without findings, 1 with warnings only, 2 with an error.
int ExitStatus(const std::vector<Finding>& findings) {
  if (CountOf(findings, Severity::Error) != 0) return kErrorStatus;
  return findings.empty() ? CommandLine::kSucceeded : CommandLine::kPartlyFailed;
}

// path:line:column: severity: message (path: severity: message without a place), then
//   mission "NAME": switched off by entry N "TEXT" | not switched off[ (why)] | not checked: ...
// then "path: no problems found" or "path: E errors, W warnings" (zero counts left out).
void WriteText(std::ostream& out, const ConfigCheck& check,
               const std::vector<MissionVerdict>& verdicts) {
  const std::string path = EscapeInvalidBytes(check.Path);
  for (const Finding& finding : check.Findings) {
    const std::string place =
        finding.At ? fmt::format("{}:{}:{}", path, finding.At->Line, finding.At->Column) : path;
    fmt::print(out, "{}: {}: {}\n", place, SeverityName(finding.Level),
               EscapeInvalidBytes(finding.Message));
  }
  for (const MissionVerdict& verdict : verdicts) {
    fmt::print(out, "mission {}: {}\n", Quoted(verdict.Name),
               EscapeInvalidBytes(VerdictText(verdict)));
  }
  fmt::print(out, "{}: {}\n", path, Summary(check));
}

// {"file": path,
//  "findings": [{"severity": "error"|"warning", "message", "line", "column", "key"}],
//  "missions": [{"name", "disabled": bool|null, "entry": {"number", "text"}|null, "note"}],
//  "exit_status": 0|1|2}
// Bytes of the path, the names or the messages that are not valid UTF-8 show as \xE9.
// line, column and key are null when they do not apply, note when empty; entries are numbered
// from 1 in the order the plugin tries them.
void WriteJson(std::ostream& out, const ConfigCheck& check,
               const std::vector<MissionVerdict>& verdicts) {
  json findings = json::array();
  for (const Finding& finding : check.Findings) {
    findings.push_back({{"severity", SeverityName(finding.Level)},
                        {"message", EscapeInvalidBytes(finding.Message)},
                        {"line", finding.At ? json(finding.At->Line) : json(nullptr)},
                        {"column", finding.At ? json(finding.At->Column) : json(nullptr)},
                        {"key", OrNull(finding.Key)}});
  }
  json missions = json::array();
  for (const MissionVerdict& verdict : verdicts) {
    json entry = nullptr;
    if (verdict.Entry)
      entry = {{"number", verdict.Entry->Index + 1}, {"text", verdict.Entry->Text}};
    missions.push_back({{"name", EscapeInvalidBytes(verdict.Name)},
                        {"disabled", verdict.Disabled ? json(*verdict.Disabled) : json(nullptr)},
                        {"entry", entry},
                        {"note", OrNull(EscapeInvalidBytes(verdict.Note))}});
  }
  const json document = {{"file", EscapeInvalidBytes(check.Path)},
                         {"findings", findings},
                         {"missions", missions},
                         {"exit_status", ExitStatus(check.Findings)}};
  out << document.dump(2) << '\n';
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
  if (const std::optional<int> status = CommandLine::Parse(app, argc, argv, out, err)) {
    return *status;
  }
  MissionList listed{namesFile, {}};
  if (!namesFile.empty()) {
    if (const std::string problem = ReadNames(namesFile, listed.Names); !problem.empty()) {
      err << "questveto-config-check: " << problem << '\n';
      return kErrorStatus;
    }
    names.insert(names.end(), listed.Names.begin(), listed.Names.end());
  }

  ConfigCheck check = CheckConfigFile(configPath, namesFile.empty() ? nullptr : &listed);
  const std::vector<MissionVerdict> verdicts = JudgeMissions(check.Config, names);
  if (asJson) {
    WriteJson(out, check, verdicts);
  } else {
    WriteText(out, check, verdicts);
  }
  return ExitStatus(check.Findings);
}
