// The soak run: a great many mission starts through the plugin in the stand-in server, with
// random players (alive, dead, without controller, without mission data, none), random missions
// (switched off or not, no class) and reloads of random valid and broken configuration files
// every few thousand starts. It checks every start against what the configuration in force
// demands, and that neither the game heap ledger nor the process's resident memory grows.
//
// usage: questveto-soak [starts] [seed]   (default one million starts, a random seed)
//
// One server runs them all, the plugin loaded once. What each start and reload made cross is read
// from the journal, which the run takes after each of them, so the journal stays small; resident
// memory is measured after a warm-up of kWarmUpStarts starts and at the end.
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <exception>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <variant>
#include <vector>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "ConfigCases.h"
#include "standin/HeapAndFaults.h"
#include "standin/Journal.h"
#include "standin/JournalViews.h"
#include "standin/Registries.h"
#include "standin/ScratchServer.h"
#include "standin/World.h"

namespace {

constexpr uint64_t kWarmUpStarts = 50000;
constexpr uint64_t kMinStartsBetweenReloads = 1000;
constexpr uint64_t kMaxStartsBetweenReloads = 5000;
constexpr std::size_t kFailuresShown = 10;
// Resident memory may move by allocator noise, never by a quantity that grows with the starts.
constexpr double kResidentToleranceMiB = 8.0;
// AddressSanitizer holds freed memory back in its quarantine, and the game heap's ledger then
// sees ever new addresses: resident memory says nothing about leaks in such a build.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kResidentMemoryMeaningful = false;
#elif defined(__has_feature)
constexpr bool kResidentMemoryMeaningful = !__has_feature(address_sanitizer);
#else
constexpr bool kResidentMemoryMeaningful = true;
#endif

const char* const kReloaded = "QuestVeto: Reloaded config";
const char* const kReloadFailed = "QuestVeto: Failed to reload config";

// Display names of the missions; configuration entries are taken from kEntries.
const std::vector<std::string> kMissionNames = {
    "Hunt",          "The Great Hunt", "HUNTING PARTY", "Race to the Summit",
    "Summit Sprint", "Gather Wood",    "Tame a Raptor", "Deep Dive",
    "Boss Rush",     "Wood Race",      "Alpha Tame",    "Escort the Caravan"};
const std::vector<std::string> kEntries = {"hunt",  "RACE",  "wood", "Summit", "dive",   "Tame a",
                                           "xyzzy", "Rush!", "",     "a",      "Caravan"};

// Resident memory of the process, measured after handing back to the system what the allocator
// keeps free, so that only memory in use counts.
double ResidentMiB() {
  malloc_trim(0);
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0;
}

struct Totals {
  uint64_t Starts = 0;
  uint64_t Refused = 0;
  uint64_t MissionDataWritten = 0;
  uint64_t Notifications = 0;
  uint64_t PassedOn = 0;
  uint64_t NullClass = 0;
  uint64_t NullCharacter = 0;
  uint64_t DeadCharacter = 0;
  uint64_t Exceptions = 0;
  std::map<std::string, uint64_t> Reloads;  // by shape and outcome
  std::vector<std::string> Failures;
  uint64_t FailureCount = 0;

  void Fail(std::string what) {
    ++FailureCount;
    if (Failures.size() < kFailuresShown) Failures.push_back(std::move(what));
  }
};

// A player as the soak picks it: the character (null for none) and the controller a refusal
// notifies (null when there is none, or the character is dead).
struct Player {
  StandIn::Character* Character = nullptr;
  StandIn::Controller* Controller = nullptr;
};

namespace Journal = StandIn::Journal;
using Entries = std::vector<Journal::Entry>;

// The messages of type `Message` (chat, notification) among `entries` sent to the controller
// object `controller`.
template <typename Message>
std::vector<Message> SentTo(const Entries& entries, const void* controller) {
  std::vector<Message> sent = Journal::All<Message>(entries);
  sent.erase(std::remove_if(
                 sent.begin(), sent.end(),
                 [controller](const Message& message) { return message.Controller != controller; }),
             sent.end());
  return sent;
}

// "<tag> <entry> = <value>", for a failure.
std::string Describe(const Journal::MissionDataWrite& write) {
  return std::visit(
      [&write](auto value) { return fmt::format("{} {} = {}", write.Tag, write.Name, value); },
      write.Value);
}

class SoakServer {
 public:
  SoakServer(std::mt19937_64& random, Totals& totals, std::vector<std::string>& entriesInForce)
      : random_(random),
        totals_(totals),
        entries_(entriesInForce),
        server_(StandIn::ScratchServer::Options()
                    .Fresh("qv-soak-")
                    .Record(Journal::KeysOf<Journal::ChatMessage, Journal::Notification,
                                            Journal::GameStart, Journal::MissionDataWrite>())) {
    StandIn::WorldPlan plan;
    for (std::size_t i = 0; i < kMissionNames.size(); ++i) {
      plan.Missions.push_back(
          {kMissionNames[i], static_cast<int32_t>(100 + i), "Tag" + std::to_string(i)});
    }
    // Characters owned, instigated, of nobody, and without mission data; the operator types.
    plan.Players = {{"Owner"},
                    {"Instigator", true, true, true, true},
                    {"Nobody", true, false},
                    {"No Buff", true, true, false},
                    {"Operator"}};
    const StandIn::Roster cast = server_.World().Populate(plan);
    for (const StandIn::Mission& mission : cast.Missions()) missions_.push_back(mission.Class);
    for (std::size_t i = 0; i + 1 < cast.All().size(); ++i) {
      characters_.push_back(cast.All()[i].Character);
    }
    operator_ = cast.FindPlayer("Operator")->Controller;

    server_.WriteConfig(ConfigText(entries_));
    server_.LoadPlugin(QV_PLUGIN_PATH);
    Journal::Take();
    liveBlocks_ = StandIn::GameHeap::LiveBlocks();
    nextReload_ = NextReloadGap();
  }

  // Makes `starts` starts, with reloads between them.
  void Run(uint64_t starts) {
    for (uint64_t i = 0; i < starts; ++i) {
      if (--nextReload_ == 0) {
        Reload();
        nextReload_ = NextReloadGap();
      }
      Start();
    }
  }

  void CheckLedger() {
    if (StandIn::GameHeap::LiveBlocks() != liveBlocks_) {
      totals_.Fail(fmt::format("game heap: {} live blocks after loading, {} at the run's end",
                               liveBlocks_, StandIn::GameHeap::LiveBlocks()));
    }
  }

 private:
  // A file that switches off what `entries` switch off.
  static std::string ConfigText(const std::vector<std::string>& entries) {
    return nlohmann::json{{"DisabledMissions", entries}}.dump();
  }

  uint64_t NextReloadGap() {
    return std::uniform_int_distribution<uint64_t>(kMinStartsBetweenReloads,
                                                   kMaxStartsBetweenReloads)(random_);
  }

  void Reload() {
    const bool valid = std::uniform_int_distribution<int>(0, 2)(random_) != 0;
    const ConfigCase config =
        valid ? RandomValidConfig(random_, kEntries) : RandomBrokenConfig(random_, kEntries);
    if (config.Of == ConfigCase::Kind::Missing) {
      server_.RemoveConfig();
    } else {
      server_.WriteConfig(config.Text);
    }
    auto* console = reinterpret_cast<APlayerController*>(operator_->Object());
    const bool registered = StandIn::Commands::RunConsole("qv.reload", console);
    const std::vector<Journal::ChatMessage> replies =
        SentTo<Journal::ChatMessage>(Journal::Take(), operator_->Object());
    if (!registered || replies.size() != 1) {
      totals_.Fail("qv.reload is not registered or sent no single reply");
      return;
    }
    const std::string& reply = replies[0].Text;
    const char* expected = valid ? kReloaded : kReloadFailed;
    if (reply != expected) {
      totals_.Fail(fmt::format("reload of a {} file ({}) answered \"{}\"", config.Shape,
                               config.Text, reply));
    }
    ++totals_.Reloads[config.Shape + (valid ? ", loaded" : ", refused")];
    // A refused file leaves the configuration in force as it was.
    if (valid) entries_ = config.Entries;
  }

  Player PickPlayer() {
    // One pick in five is no character at all; of the others, one in four is dead.
    const std::size_t kind =
        std::uniform_int_distribution<std::size_t>(0, characters_.size())(random_);
    if (kind == characters_.size()) {
      ++totals_.NullCharacter;
      return {};
    }
    StandIn::Character* character = characters_[kind];
    const bool dead = std::uniform_int_distribution<int>(0, 3)(random_) == 0;
    character->SetDead(dead);
    if (dead) ++totals_.DeadCharacter;
    StandIn::Controller* controller =
        character->Owner() ? character->Owner() : character->Instigator();
    return {character, dead ? nullptr : controller};
  }

  void Start() {
    ++totals_.Starts;
    StandIn::World& world = StandIn::RunningWorld();
    const std::size_t missionPick =
        std::uniform_int_distribution<std::size_t>(0, missions_.size())(random_);
    StandIn::MissionClass* mission =
        missionPick < missions_.size() ? missions_[missionPick] : nullptr;
    const Player player = PickPlayer();
    const uintptr_t fourth = random_();

    StandIn::MissionDataBuff* buff =
        player.Character != nullptr ? player.Character->MissionData() : nullptr;
    const std::size_t liveBefore = StandIn::GameHeap::LiveBlocks();
    UClass* missionClass = mission != nullptr ? mission->Class() : nullptr;
    APrimalCharacter* character =
        player.Character != nullptr ? player.Character->Object() : nullptr;

    uintptr_t result = 0;
    try {
      result = world.StartMission(missionClass, character, fourth);
    } catch (const std::exception& error) {
      ++totals_.Exceptions;
      totals_.Fail(fmt::format("an exception reached the game: {}", error.what()));
      Journal::Take();
      return;
    }
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    const Entries entries = Journal::Take();
    const std::vector<Journal::GameStart> gameStarts = Journal::All<Journal::GameStart>(entries);
    const std::vector<Journal::MissionDataWrite> writes =
        Journal::All<Journal::MissionDataWrite>(entries);

    const std::string name = mission != nullptr ? mission->DisplayName() : "(no class)";
    if (StandIn::GameHeap::LiveBlocks() != liveBefore) {
      totals_.Fail(fmt::format("start of {}: game heap {} -> {} live blocks", name, liveBefore,
                               StandIn::GameHeap::LiveBlocks()));
    }
    if (mission == nullptr) ++totals_.NullClass;
    const bool refused = mission != nullptr && SwitchedOff(entries_, name);
    if (!refused) {
      ++totals_.PassedOn;
      CheckPassedOn(name, missionClass, character, fourth, result, gameStarts);
      if (!writes.empty()) {
        totals_.Fail(fmt::format("passed-on start of {} wrote mission data", name));
      }
      return;
    }
    ++totals_.Refused;
    if (result != 0 || !gameStarts.empty()) {
      totals_.Fail(fmt::format("start of {} was not refused (result {:#x})", name, result));
    }
    if (player.Controller != nullptr) {
      if (SentTo<Journal::Notification>(entries, player.Controller->Object()).size() != 1 ||
          Journal::All<Journal::Notification>(entries).size() != 1) {
        totals_.Fail(fmt::format("refused start of {}: no single notification", name));
      } else {
        ++totals_.Notifications;
      }
    }
    if (buff != nullptr) CheckMissionData(*mission, *buff, writes, now);
  }

  void CheckPassedOn(const std::string& name, UClass* missionClass, APrimalCharacter* character,
                     uintptr_t fourth, uintptr_t result,
                     const std::vector<Journal::GameStart>& gameStarts) {
    StandIn::World& world = StandIn::RunningWorld();
    if (gameStarts.size() != 1) {
      totals_.Fail(fmt::format("start of {} reached the game {} times", name, gameStarts.size()));
      return;
    }
    const Journal::GameStart& reached = gameStarts[0];
    if (reached.Dispatcher != world.Dispatcher() || reached.MissionClass != missionClass ||
        reached.Character != character || reached.Fourth != fourth ||
        world.LastGameResult() != result) {
      totals_.Fail(fmt::format("start of {} reached the game changed (fourth {:#x} as {:#x})", name,
                               fourth, reached.Fourth));
    }
  }

  // Exactly "Complete", "Version" and "CompleteUtcTime", in that order, under the mission's tag,
  // on the character's buff.
  void CheckMissionData(StandIn::MissionClass& mission, StandIn::MissionDataBuff& buff,
                        const std::vector<Journal::MissionDataWrite>& writes, int64_t now) {
    if (writes.size() != 3) {
      totals_.Fail(fmt::format("refused start of {}: {} mission data entries, not 3",
                               mission.DisplayName(), writes.size()));
      return;
    }
    const auto written = [&](std::size_t i, const char* entry) {
      return writes[i].Buff == buff.Object() && writes[i].Tag == mission.Tag() &&
             writes[i].Name == entry;
    };
    const bool* complete = std::get_if<bool>(&writes[0].Value);
    const int32_t* version = std::get_if<int32_t>(&writes[1].Value);
    const double* time = std::get_if<double>(&writes[2].Value);
    const bool right = written(0, "Complete") && complete != nullptr && *complete &&
                       written(1, "Version") && version != nullptr &&
                       *version == mission.Version() && written(2, "CompleteUtcTime") &&
                       time != nullptr && *time >= static_cast<double>(now) - 12.0 &&
                       *time <= static_cast<double>(now) - 10.0;
    if (!right) {
      totals_.Fail(fmt::format("refused start of {}: wrong mission data {}, {}, {}",
                               mission.DisplayName(), Describe(writes[0]), Describe(writes[1]),
                               Describe(writes[2])));
      return;
    }
    ++totals_.MissionDataWritten;
  }

  std::mt19937_64& random_;
  Totals& totals_;
  std::vector<std::string>& entries_;
  StandIn::ScratchServer server_;
  StandIn::Controller* operator_ = nullptr;
  std::vector<StandIn::MissionClass*> missions_;
  std::vector<StandIn::Character*> characters_;
  std::size_t liveBlocks_ = 0;
  uint64_t nextReload_ = 0;
};

// The run; throws when the arguments are no numbers or the server cannot be set up.
int Soak(int argc, char** argv) {
  const uint64_t starts = argc > 1 ? std::stoull(argv[1]) : 1000000;
  const uint64_t seed = argc > 2 ? std::stoull(argv[2]) : std::random_device()();
  std::mt19937_64 random(seed);
  Totals totals;
  std::vector<std::string> entriesInForce = {"hunt", "summit"};

  const std::size_t liveAtStart = StandIn::GameHeap::LiveBlocks();
  const auto began = std::chrono::steady_clock::now();
  const uint64_t startsAfterWarmUp = std::min(kWarmUpStarts, starts);
  double residentAfterWarmUp = 0;
  double residentAtEnd = 0;
  {
    SoakServer server(random, totals, entriesInForce);
    server.Run(startsAfterWarmUp);
    residentAfterWarmUp = ResidentMiB();
    server.Run(starts - startsAfterWarmUp);
    server.CheckLedger();
    residentAtEnd = ResidentMiB();
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  if (StandIn::GameHeap::LiveBlocks() != liveAtStart) {
    totals.Fail(fmt::format("game heap: {} live blocks before the server, {} after it", liveAtStart,
                            StandIn::GameHeap::LiveBlocks()));
  }
  const bool memoryFlat = residentAtEnd - residentAfterWarmUp <= kResidentToleranceMiB;
  if (kResidentMemoryMeaningful && !memoryFlat) {
    totals.Fail(fmt::format("resident memory grew from {:.1f} MiB to {:.1f} MiB",
                            residentAfterWarmUp, residentAtEnd));
  }

  uint64_t reloads = 0;
  for (const auto& [shape, count] : totals.Reloads) reloads += count;
  fmt::print("soak: {} mission starts in one server run, {:.1f} s ({:.0f} starts/s), seed {}\n",
             totals.Starts, seconds, static_cast<double>(totals.Starts) / seconds, seed);
  fmt::print(
      "  refused {} (mission data checked {}, notifications {}), passed on {} (no class {})\n",
      totals.Refused, totals.MissionDataWritten, totals.Notifications, totals.PassedOn,
      totals.NullClass);
  fmt::print("  players: no character {}, dead {}\n", totals.NullCharacter, totals.DeadCharacter);
  fmt::print("  reloads {}:\n", reloads);
  for (const auto& [shape, count] : totals.Reloads) fmt::print("    {:<40} {}\n", shape, count);
  fmt::print("  game heap live blocks: {} before, {} at the end\n", liveAtStart,
             StandIn::GameHeap::LiveBlocks());
  fmt::print(
      "  resident memory: {:.1f} MiB after warm-up ({} starts), {:.1f} MiB at the end "
      "({})\n",
      residentAfterWarmUp, startsAfterWarmUp, residentAtEnd,
      kResidentMemoryMeaningful ? fmt::format("limit +{:.0f} MiB", kResidentToleranceMiB)
                                : std::string("not checked under AddressSanitizer"));
  fmt::print("  exceptions reaching the game: {}\n", totals.Exceptions);
  for (const std::string& failure : totals.Failures) fmt::print("  FAILED: {}\n", failure);
  if (totals.FailureCount > totals.Failures.size()) {
    fmt::print("  ... {} failures in all\n", totals.FailureCount);
  }
  fmt::print("soak: {}\n", totals.FailureCount == 0 ? "passed" : "FAILED");
  return totals.FailureCount == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Soak(argc, argv);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "soak: FAILED: %s\n", error.what());
    return 1;
  }
}
