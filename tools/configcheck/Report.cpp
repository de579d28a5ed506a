#include "tools/configcheck/Report.h"

#include <algorithm>
#include <string>

#include <fmt/format.h>
#include <fmt/ostream.h>

namespace {

// Members in the order written, file first.
using json = nlohmann::ordered_json;

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

}  // namespace

int ExitStatus(const std::vector<Finding>& findings) {
  if (CountOf(findings, Severity::Error) != 0) return 2;
  return findings.empty() ? 0 : 1;
}

void WriteText(std::ostream& out, const ConfigCheck& check,
               const std::vector<MissionVerdict>& verdicts) {
  for (const Finding& finding : check.Findings) {
    const std::string place =
        finding.At ? fmt::format("{}:{}:{}", check.Path, finding.At->Line, finding.At->Column)
                   : check.Path;
    fmt::print(out, "{}: {}: {}\n", place, SeverityName(finding.Level), finding.Message);
  }
  for (const MissionVerdict& verdict : verdicts) {
    fmt::print(out, "mission {}: {}\n", Quoted(verdict.Name), VerdictText(verdict));
  }
  fmt::print(out, "{}: {}\n", check.Path, Summary(check));
}

void WriteJson(std::ostream& out, const ConfigCheck& check,
               const std::vector<MissionVerdict>& verdicts) {
  json findings = json::array();
  for (const Finding& finding : check.Findings) {
    findings.push_back({{"severity", SeverityName(finding.Level)},
                        {"message", finding.Message},
                        {"line", finding.At ? json(finding.At->Line) : json(nullptr)},
                        {"column", finding.At ? json(finding.At->Column) : json(nullptr)},
                        {"key", OrNull(finding.Key)}});
  }
  json missions = json::array();
  for (const MissionVerdict& verdict : verdicts) {
    json entry = nullptr;
    if (verdict.Entry)
      entry = {{"number", verdict.Entry->Index + 1}, {"text", verdict.Entry->Text}};
    missions.push_back({{"name", verdict.Name},
                        {"disabled", verdict.Disabled ? json(*verdict.Disabled) : json(nullptr)},
                        {"entry", entry},
                        {"note", OrNull(verdict.Note)}});
  }
  const json document = {{"file", check.Path},
                         {"findings", findings},
                         {"missions", missions},
                         {"exit_status", ExitStatus(check.Findings)}};
  // Names from the command line may be invalid UTF-8; they must not stop the report.
  out << document.dump(2, ' ', false, json::error_handler_t::replace) << '\n';
}
