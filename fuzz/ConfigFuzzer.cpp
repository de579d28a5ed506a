// Fuzzing of config.json as the operator can write it: every input becomes the file, "qv.reload"
// runs on the console, and the plugin is then asked and exercised through the stand-in game.
// Per input it must hold that:
// - nothing crashes and no exception leaves the plugin;
// - the reply and the log agree: a failed reload writes exactly one critical line, a successful
//   one none;
// - a failed reload leaves the configuration in force before it untouched: a mission named after
//   that configuration's first "DisabledMissions" entry is still switched off;
// - a mission named after the first "DisabledMissions" entry of a file that loaded is refused;
// - for one start picked by the input (a mission of the world for a living, dead, buff-less or
//   missing character, or no mission), both exported queries agree with each other and with what
//   the start does: a refused start returns 0, never reaches the game and records the three
//   mission data entries under the mission's tag; a passed-on start reaches the game with its
//   arguments unchanged;
// - the game heap ledger is back where it was.
// One start per input rather than all of them keeps the run at tens of thousands of inputs a
// second; the input picks which, so every finding replays. What crossed is read from the journal,
// taken after each step, so it stays small and one server serves the whole run; its log goes to
// the journal only, and its directory, with the config file, lies on a memory file system where
// there is one; the config file stays open for writing, so each input costs the file system one
// write.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "fuzz/FuzzEntry.h"
#include "host-bridge/FString.h"
#include "plugin/QuestVetoClient.h"
#include "standin/HeapAndFaults.h"
#include "standin/Journal.h"
#include "standin/JournalViews.h"
#include "standin/Registries.h"
#include "standin/ScratchServer.h"
#include "standin/World.h"

namespace {

const char* const kMarkerConfig = R"({"DisabledMissions": ["QV fuzz marker"]})";
const char* const kMarkerEntry = "QV fuzz marker";
const char* const kMarkerMission = "The QV Fuzz Marker Mission";
const char* const kReloaded = "QuestVeto: Reloaded config";
const char* const kReloadFailed = "QuestVeto: Failed to reload config";
const char* const kNameQuery = QuestVetoClient::kByDisplayName.Itanium;
const char* const kMissionQuery = QuestVetoClient::kByMission.Itanium;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "config fuzzer: %s\n", what.c_str());
  std::abort();
}

namespace Journal = StandIn::Journal;
using Entries = std::vector<Journal::Entry>;

struct Server {
  // Runs, with the plugin loaded, until the process ends: libFuzzer keeps reading the coverage
  // counters of every library it has seen, so the plugin is never unloaded.
  StandIn::ScratchServer* Scratch = nullptr;
  std::string ConfigPath;
  int ConfigFile = -1;         // open for writing while the server runs
  std::size_t ConfigSize = 0;  // the length of its content
  bool (*NameQuery)(const FString&) = nullptr;
  bool (*MissionQuery)(AMissionType*) = nullptr;
  StandIn::Controller* Operator = nullptr;
  StandIn::Character* Player = nullptr;  // alive, with a controller and mission data
  StandIn::Character* Dead = nullptr;
  StandIn::Character* NoBuff = nullptr;
  std::vector<StandIn::MissionClass*> Missions;
  StandIn::MissionClass* Marker = nullptr;
  StandIn::MissionClass* Named = nullptr;  // renamed after the first entry in force
  std::string NamedAfter;                  // the entry it is named after
  // The first entry of the configuration in force, by which a failed reload is checked; none
  // after a file without one loaded, and the marker configuration then goes back in force.
  std::optional<std::string> EntryInForce;
};

Server server;

// Makes `data` the whole content of the config file: written over the old content, which is then
// cut to the new length if it was longer (cheaper than emptying the file first, which frees its
// memory each time).
void WriteConfig(const uint8_t* data, std::size_t size) {
  const ssize_t written = size != 0 ? pwrite(server.ConfigFile, data, size, 0) : 0;
  if (written < 0 || static_cast<std::size_t>(written) != size ||
      (size < server.ConfigSize && ftruncate(server.ConfigFile, static_cast<off_t>(size)) != 0)) {
    Fail("cannot write " + server.ConfigPath);
  }
  server.ConfigSize = size;
}

void WriteConfig(const std::string& text) {
  WriteConfig(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

// Runs "qv.reload" from the operator's console; true when the plugin answered that it worked.
bool Reload() {
  auto* player = reinterpret_cast<APlayerController*>(server.Operator->Object());
  if (!StandIn::Commands::RunConsole("qv.reload", player)) Fail("qv.reload is not registered");
  const Entries entries = Journal::Take();
  // The operator is the only player a reload may answer.
  const std::vector<Journal::ChatMessage> replies = Journal::All<Journal::ChatMessage>(entries);
  if (replies.size() != 1) Fail("qv.reload sent no single reply");
  const std::string& reply = replies[0].Text;
  const std::vector<Journal::LogLine> lines = Journal::All<Journal::LogLine>(entries);
  const std::size_t criticals =
      std::count_if(lines.begin(), lines.end(), [](const Journal::LogLine& line) {
        return line.Logger == "QuestVeto" && line.Level == "critical";
      });
  if (reply == kReloaded && criticals == 0) return true;
  if (reply == kReloadFailed && criticals == 1) return false;
  Fail("qv.reload replied \"" + reply + "\" with " + std::to_string(criticals) +
       " critical log lines");
}

// The server in a fresh directory, in memory where the system has a memory file system (the
// config file is rewritten for every input, and on a disk file system each rewrite would go to
// the disk), its log going to the journal only.
void StartServer() {
  std::error_code error;
  const bool inMemory = std::filesystem::is_directory("/dev/shm", error);
  server.Scratch = new StandIn::ScratchServer(
      StandIn::ScratchServer::Options()
          .Fresh("qv-fuzz-config-", inMemory ? "/dev/shm" : "")
          // The calls the checks read from the journal, the only ones it records.
          .Record(Journal::KeysOf<Journal::ChatMessage, Journal::GameStart,
                                  Journal::MissionDataWrite, Journal::LogLine>())
          .WithoutLogFile());
  server.ConfigPath = server.Scratch->ConfigPath();
  server.Scratch->WriteConfig("");
  server.ConfigFile = open(server.ConfigPath.c_str(), O_WRONLY | O_CLOEXEC);
  if (server.ConfigFile < 0) Fail("cannot open " + server.ConfigPath);
  server.ConfigSize = 0;

  // The player starts as a living character, as a dead one, and as the instigator of a character
  // without mission data; the operator types.
  const StandIn::Roster cast =
      server.Scratch->World().Populate({{{kMarkerMission, 3, "Marker"},
                                         {"named after the first entry", 4, "Named"},
                                         {"Hunt", 1, "Hunt"},
                                         {"The Great HUNT of the North", 2, "GreatHunt"},
                                         {"Race to the Summit", 5, "Race"},
                                         {"", 6, "Nameless"},
                                         {u8"Überfall auf die Küste – 海岸", 7, "Coast"}},
                                        {{"Fuzz Player"},
                                         {"Fuzz Player", false},
                                         {"Fuzz Player", true, true, false, true},
                                         {"Operator"}}});
  server.Player = cast.All()[0].Character;
  server.Dead = cast.All()[1].Character;
  server.NoBuff = cast.All()[2].Character;
  server.Operator = cast.All()[3].Controller;
  for (const StandIn::Mission& mission : cast.Missions()) server.Missions.push_back(mission.Class);
  server.Marker = server.Missions[0];
  server.Named = server.Missions[1];

  WriteConfig(kMarkerConfig);
  server.EntryInForce = kMarkerEntry;
  const StandIn::PluginLibrary& plugin = server.Scratch->LoadPlugin(QV_PLUGIN_PATH);
  server.NameQuery = reinterpret_cast<bool (*)(const FString&)>(plugin.Symbol(kNameQuery));
  server.MissionQuery = reinterpret_cast<bool (*)(AMissionType*)>(plugin.Symbol(kMissionQuery));
  if (server.NameQuery == nullptr || server.MissionQuery == nullptr) {
    Fail("the plugin lacks its queries");
  }
}

void RemoveServerDirectory() {
  if (server.ConfigFile >= 0) close(server.ConfigFile);
  server.ConfigFile = -1;
  std::error_code ignored;
  std::filesystem::remove_all(server.Scratch->Directory(), ignored);
}

// Starts `mission` for `character` and checks the start against the filter's answer `disabled`.
void CheckStart(StandIn::MissionClass* mission, StandIn::Character* character, bool disabled) {
  StandIn::World& world = StandIn::RunningWorld();
  StandIn::MissionDataBuff* buff = character != nullptr ? character->MissionData() : nullptr;
  UClass* missionClass = mission != nullptr ? mission->Class() : nullptr;
  APrimalCharacter* characterObject = character != nullptr ? character->Object() : nullptr;
  const uintptr_t fourth = 0xF0E1D2C3B4A59687ULL + world.LastGameResult();

  Journal::Take();
  const uintptr_t result = world.StartMission(missionClass, characterObject, fourth);
  const Entries entries = Journal::Take();
  const std::vector<Journal::GameStart> starts = Journal::All<Journal::GameStart>(entries);
  const std::vector<Journal::MissionDataWrite> writes =
      Journal::All<Journal::MissionDataWrite>(entries);

  // The mission as a failure names it; made only then, as every input makes a start.
  const auto name = [mission]() -> std::string {
    return mission != nullptr ? "\"" + mission->DisplayName() + "\"" : "null";
  };
  if (disabled) {
    if (result != 0) Fail("refused start of " + name() + " did not return 0");
    if (!starts.empty()) Fail("refused start of " + name() + " ran");
    if (buff == nullptr) return;
    if (writes.size() != 3) Fail("refused start of " + name() + ": not 3 writes");
    const char* const written[] = {"Complete", "Version", "CompleteUtcTime"};
    for (int i = 0; i < 3; ++i) {
      if (writes[i].Buff != buff->Object() || writes[i].Tag != mission->Tag() ||
          writes[i].Name != written[i]) {
        Fail("refused start of " + name() + " wrote \"" + writes[i].Name + "\" under \"" +
             writes[i].Tag + "\" as its entry " + std::to_string(i + 1));
      }
    }
    return;
  }
  if (starts.size() != 1) Fail("start of " + name() + " was lost");
  const Journal::GameStart& reached = starts[0];
  if (reached.Dispatcher != world.Dispatcher() || reached.MissionClass != missionClass ||
      reached.Character != characterObject || reached.Fourth != fourth ||
      world.LastGameResult() != result) {
    Fail("start of " + name() + " reached the game changed");
  }
  if (!writes.empty()) {
    Fail("passed-on start of " + name() + " wrote mission data");
  }
}

bool Disabled(StandIn::MissionClass& mission) {
  const FString name = FString::FromUtf8(mission.DisplayName());
  const bool byName = server.NameQuery(name);
  if (server.MissionQuery(mission.DefaultObject()) != byName) {
    Fail("the two queries disagree on \"" + mission.DisplayName() + "\"");
  }
  return byName;
}

// The first "DisabledMissions" entry of `text` when the filter reads it as a non-empty string.
std::optional<std::string> FirstEntry(const uint8_t* data, std::size_t size) {
  const nlohmann::json config = nlohmann::json::parse(data, data + size, nullptr, false);
  if (!config.is_object()) return std::nullopt;
  const auto found = config.find("DisabledMissions");
  if (found == config.end() || found->empty()) return std::nullopt;
  const nlohmann::json& first = found->is_structured() ? *found->begin() : *found;
  if (!first.is_string()) return std::nullopt;
  std::string entry = first.get<std::string>();
  entry = entry.substr(0, entry.find('\0'));  // the filter searches up to the first 0
  if (entry.empty()) return std::nullopt;
  return entry;
}

// Checks that the configuration whose first entry is `entry` is in force.
void CheckInForce(const std::string& entry, const char* after) {
  if (server.NamedAfter != entry) {  // renamed only when the entry in force changes
    server.Named->SetDisplayName("<" + entry + ">");
    server.NamedAfter = entry;
  }
  if (!Disabled(*server.Named)) {
    Fail(std::string(after) + ": the first entry \"" + entry + "\" does not switch off \"<" +
         entry + ">\"");
  }
}

// The start an input exercises, picked by a hash of its bytes: one of the world's missions for
// the living or the dead character, or one of the starts of what else the game may pass.
void CheckPickedStart(const uint8_t* data, std::size_t size) {
  uint32_t hash = 2166136261u;  // FNV-1a
  for (std::size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
  const std::size_t missionStarts = 2 * server.Missions.size();
  const std::size_t pick = hash % (missionStarts + 3);
  if (pick < missionStarts) {
    StandIn::MissionClass* mission = server.Missions[pick / 2];
    CheckStart(mission, pick % 2 == 0 ? server.Player : server.Dead, Disabled(*mission));
  } else if (pick == missionStarts) {
    CheckStart(server.Marker, server.NoBuff, Disabled(*server.Marker));
  } else if (pick == missionStarts + 1) {
    CheckStart(server.Missions[2], nullptr, Disabled(*server.Missions[2]));
  } else {
    CheckStart(nullptr, server.Player, false);
  }
}

void RunInput(const uint8_t* data, std::size_t size) {
  if (!server.EntryInForce) {
    WriteConfig(kMarkerConfig);
    if (!Reload()) Fail("the marker configuration does not load");
    server.EntryInForce = kMarkerEntry;
  }
  const std::size_t liveBefore = StandIn::GameHeap::LiveBlocks();

  WriteConfig(data, size);
  if (Reload()) {
    // Parsed here only: most inputs do not load, and their bytes are not read twice.
    server.EntryInForce = FirstEntry(data, size);
    if (server.EntryInForce) CheckInForce(*server.EntryInForce, "a reload that worked");
  } else {
    CheckInForce(*server.EntryInForce, "a failed reload");
  }
  CheckPickedStart(data, size);
  Journal::Take();  // what the last queries made cross

  if (StandIn::GameHeap::LiveBlocks() != liveBefore) {
    Fail("game heap ledger: " + std::to_string(liveBefore) + " live blocks before the input, " +
         std::to_string(StandIn::GameHeap::LiveBlocks()) + " after");
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  StartServer();
  // The directory goes when the fuzzer ends normally; a crash leaves it for inspection.
  std::atexit(RemoveServerDirectory);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  return Fuzz::RunOneInput([&] { RunInput(data, size); }, Fail);
}
