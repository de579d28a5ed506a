#include "plugin/StatusCommand.h"

#include <ctime>

#include <fmt/chrono.h>
#include <fmt/format.h>

#include "host-bridge/GameCalls.h"
#include "plugin/CommandRegistry.h"
#include "plugin/Config.h"
#include "plugin/ConfigSummary.h"
#include "plugin/Containment.h"
#include "plugin/Log.h"
#include "plugin/LogText.h"
#include "plugin/PluginState.h"
#include "plugin/Version.h"
#include "rules/ConfigFile.h"
#include "rules/ConfigKeys.h"
#include "rules/MissionMatch.h"
#include "rules/Notification.h"
#include "rules/Settings.h"

namespace {

const char* const kCommandName = "qv.status";
// Entries shown by text; the rest are counted. A chat line holds a handful of names.
const std::size_t kEntriesShown = 5;

// As the log writes its time stamps, so that a status can be matched with the log's lines.
std::string LocalTime(int64_t seconds) {
  return fmt::format("{:%m/%d/%y %H:%M}", fmt::localtime(static_cast<std::time_t>(seconds)));
}

// Longer entries are cut to this many characters: a chat line holds a handful of names, and an
// entry may be as long as the file.
const std::size_t kEntryCharactersShown = 60;

// `text` (UTF-8) cut after kEntryCharactersShown characters, with "…" saying so.
std::string Shortened(const std::string& text) {
  std::size_t characters = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const bool startsCharacter = (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80;
    if (startsCharacter && characters++ == kEntryCharactersShown) return text.substr(0, at) + "…";
  }
  return text;
}

// The load has tried a read before the command exists, so a read has either succeeded or failed.
std::string ReadLine(const ConfigReads& reads) {
  if (!reads.LastSucceeded) {
    return fmt::format("Config not read (tried at {}), no mission is disabled: {}",
                       LocalTime(reads.LastFailed.value()), reads.LastFailure);
  }
  return fmt::format("Config read at {}", LocalTime(*reads.LastSucceeded));
}

std::string EntriesLine() {
  const EntriesInForce entries = ListEntriesInForce(PluginConfig, kEntriesShown);
  std::string line = EntriesInForceText(entries.Count);
  for (std::size_t shown = 0; shown < entries.First.size(); ++shown) {
    line += (shown == 0 ? ": " : ", ") + ConfigString(Shortened(entries.First[shown]));
  }
  if (entries.Count > entries.First.size()) {
    line += fmt::format(" and {} more", entries.Count - entries.First.size());
  }
  return line;
}

// "DisabledMessage" as a refused player is shown it: the default when the value cannot be used or
// the formatter rejects it. Read quietly: the warning about a value that cannot be used belongs
// to the start that meets it.
std::string DisabledMessageShown() {
  std::string message = DisabledMessageIn(PluginConfig).Value;
  try {
    const NotificationText formatted(message);
  } catch (const fmt::format_error&) {
    return kDefaultDisabledMessage;
  }
  return message;
}

// Runs the status and hands it to `answer`, a line at a time. The host's command dispatch is the
// edge: what fails on the way stops here, logged.
template <typename Answer>
void Report(Answer answer) noexcept {
  Contain([&] { answer(StatusLines()); },
          [](const char* reason) {
            PluginLog()->critical("qv.status failed: {}", EscapeForLog(OrUnknown(reason)));
          });
}

void StatusConsole(APlayerController* player, FString* /*commandLine*/, bool /*fromCheat*/) {
  auto* controller = reinterpret_cast<AShooterPlayerController*>(player);
  Report([controller](const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
      SendDirectChat(controller, FString::FromUtf8(line), Green);
    }
  });
}

void StatusRcon(RCONClientConnection* connection, RCONPacket* request, UWorld* /*world*/) {
  Report([connection, request](const std::vector<std::string>& lines) {
    ReplyRcon(connection, request, FString::FromUtf8(fmt::format("{}", fmt::join(lines, "\n"))));
  });
}

}  // namespace

std::vector<std::string> StatusLines() {
  const ConfigReads& reads = ConfigReadRecord();
  std::vector<std::string> lines{"QuestVeto status", "Config file: " + ConfigPath(),
                                 ReadLine(reads)};
  if (reads.LastSucceeded && reads.LastReadFailed) {
    lines.push_back(fmt::format("Last read failed at {}, the config read before stays in force: {}",
                                LocalTime(*reads.LastFailed), reads.LastFailure));
  }
  lines.push_back(EntriesLine());
  lines.push_back("DisabledMessage: " + ConfigString(DisabledMessageShown()));
  lines.push_back(fmt::format("ShowMissionNames: {}", ShowMissionNamesIn(PluginConfig).Value));
  lines.push_back(fmt::format("Mission start hook: {}",
                              PlacedAtLoad().MissionStartHook ? "placed" : "not placed"));
  lines.push_back(fmt::format("Version: {}", kPluginVersion));
  return lines;
}

void RegisterConsoleStatusCommand() {
  RegisterConsoleCommand(kCommandName, StatusConsole);
}

void RegisterRconStatusCommand() {
  RegisterRconCommand(kCommandName, StatusRcon);
}

bool RemoveConsoleStatusCommand() {
  return RemoveConsoleCommand(kCommandName);
}

bool RemoveRconStatusCommand() {
  return RemoveRconCommand(kCommandName);
}
