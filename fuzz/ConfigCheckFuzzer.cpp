// The config checker against the plugin it speaks for. Each input is mission display names, one a
// line, up to the first 0 byte, and then the bytes of config.json (an input without a 0 byte is
// all file, and the names are a fixed few). The file goes through "qv.reload" of the plugin loaded
// in the stand-in server and through questveto-config-check's own reading; per input it must hold
// that:
// - the checker's "could be read" verdict is the reload's: it has a value exactly when the plugin
//   replied "QuestVeto: Reloaded config", and gives an error finding exactly when it did not;
// - when the file could be read, the checker's answer for each name is the plugin's: a mission of
//   that display name is switched off by the checker's verdict exactly when the plugin's query says
//   so and its start is refused (it never reaches the game), and passed on otherwise.
// The journal records the game's start and the chat reply only; one server serves the whole run.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/FuzzEntry.h"
#include "host-bridge/FString.h"
#include "plugin/QuestVetoClient.h"
#include "standin/Journal.h"
#include "standin/JournalViews.h"
#include "standin/Registries.h"
#include "standin/ScratchServer.h"
#include "standin/World.h"
#include "tools/configcheck/ConfigCheck.h"
#include "tools/configcheck/MissionVerdict.h"

namespace {

const char* const kReloaded = "QuestVeto: Reloaded config";
constexpr std::size_t kMostNames = 8;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "config check fuzzer: %s\n", what.c_str());
  std::abort();
}

struct Server {
  StandIn::ScratchServer* Scratch = nullptr;  // runs until the process ends
  bool (*NameQuery)(const FString&) = nullptr;
  StandIn::Controller* Operator = nullptr;
  StandIn::Character* Player = nullptr;
  StandIn::MissionClass* Mission = nullptr;  // renamed to each name in turn
};

Server server;

// The server directory, with the config file written for every input, in memory where the system
// has a memory file system.
void StartServer() {
  std::error_code error;
  const bool inMemory = std::filesystem::is_directory("/dev/shm", error);
  // The calls the checks read, the only ones the journal records.
  server.Scratch = new StandIn::ScratchServer(
      StandIn::ScratchServer::Options()
          .Fresh("qv-fuzz-check-", inMemory ? "/dev/shm" : "")
          .Record(StandIn::Journal::KeysOf<StandIn::Journal::ChatMessage,
                                           StandIn::Journal::GameStart>())
          .WithoutLogFile());
  server.Scratch->WriteConfig("{}");
  const StandIn::Roster cast = server.Scratch->World().Populate(
      {{{"named by the input", 1, "Named"}}, {{"Fuzz Player"}, {"Operator"}}});
  server.Player = cast.FindPlayer("Fuzz Player")->Character;
  server.Operator = cast.FindPlayer("Operator")->Controller;
  server.Mission = cast.Missions()[0].Class;
  const StandIn::PluginLibrary& plugin = server.Scratch->LoadPlugin(QV_PLUGIN_PATH);
  server.NameQuery = reinterpret_cast<bool (*)(const FString&)>(
      plugin.Symbol(QuestVetoClient::kByDisplayName.Itanium));
  if (server.NameQuery == nullptr) Fail("the plugin lacks its query");
}

void RemoveServer() {
  delete server.Scratch;
  server.Scratch = nullptr;
}

// "qv.reload" from the operator's console; true when the plugin replied that it read the file.
bool Reload() {
  StandIn::Journal::Take();
  auto* player = reinterpret_cast<APlayerController*>(server.Operator->Object());
  if (!StandIn::Commands::RunConsole("qv.reload", player)) Fail("qv.reload is not registered");
  const std::vector<StandIn::Journal::ChatMessage> replies =
      StandIn::Journal::All<StandIn::Journal::ChatMessage>(StandIn::Journal::Take());
  if (replies.size() != 1) Fail("qv.reload sent no single reply");
  return replies[0].Text == kReloaded;
}

// Whether the plugin refuses the start of a mission named `name`: its query's answer, held
// against what the start does.
bool PluginRefuses(const std::string& name) {
  server.Mission->SetDisplayName(name);
  const bool queried = server.NameQuery(FString::FromUtf8(name));
  StandIn::Journal::Take();
  StandIn::RunningWorld().StartMission(server.Mission->Class(), server.Player->Object(), 0);
  const bool reached =
      !StandIn::Journal::All<StandIn::Journal::GameStart>(StandIn::Journal::Take()).empty();
  if (queried == reached) {
    Fail("the plugin's query says " + std::string(queried ? "" : "not ") +
         "switched off, but the start of \"" + name + "\" " + (reached ? "ran" : "was refused"));
  }
  return queried;
}

void RunInput(const uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\0');
  std::vector<std::string> names = {"Hunt", "The Great HUNT", "Race to the Summit", "Café Run", ""};
  std::string file = input;
  if (split != std::string::npos) {
    file = input.substr(split + 1);
    for (std::size_t start = 0; start <= split && names.size() < kMostNames;) {
      const std::size_t end = std::min(input.find('\n', start), split);
      names.push_back(input.substr(start, end - start));
      start = end + 1;
    }
  }

  server.Scratch->WriteConfig(file);
  const bool read = Reload();
  ConfigCheck check = CheckConfigFile(server.Scratch->ConfigPath());
  const bool errorFound =
      !check.Findings.empty() && check.Findings.front().Level == Severity::Error;
  if (check.Config.has_value() != read || errorFound == read) {
    Fail(std::string("the plugin ") + (read ? "read" : "could not read") +
         " the file, the checker says it " + (check.Config ? "can" : "cannot"));
  }
  if (!read) return;  // the plugin keeps the configuration it had; the checker judges none

  const std::vector<MissionVerdict> verdicts = JudgeMissions(check.Config, names);
  for (const MissionVerdict& verdict : verdicts) {
    if (verdict.Disabled != PluginRefuses(verdict.Name)) {
      Fail("on \"" + verdict.Name + "\" the checker says " +
           (verdict.Disabled == true ? "switched off" : "not switched off") +
           ", the plugin the opposite");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  StartServer();
  std::atexit(RemoveServer);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  return Fuzz::RunOneInput([&] { RunInput(data, size); }, Fail);
}
