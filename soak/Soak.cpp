// The soak run: a great many mission starts through the plugin in the stand-in server, with
// random players (alive, dead, without controller, without mission data, none), random missions
// (switched off or not, no class) and reloads of random valid and broken configuration files
// every few thousand starts. It checks every start against what the configuration in force
// demands, and that neither the game heap ledger nor the process's resident memory grows.
//
// usage: questveto-soak [starts] [seed]   (default one million starts, a random seed)
//
// The stand-in world records everything the plugin hands it, so the run is cut into server runs
// of at most kStartsPerServer starts: each starts a fresh server, loads the plugin, and unloads
// and stops again at its end, where memory and ledger are measured.
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <exception>
#include <filesystem>
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
#include "standin/CommandRegistry.h"
#include "standin/GameHeap.h"
#include "standin/PluginLoader.h"
#include "standin/Server.h"
#include "standin/World.h"

namespace {

namespace fs = std::filesystem;

constexpr uint64_t kStartsPerServer = 50000;
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
  uint64_t ServerRuns = 0;
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

class ServerRun {
 public:
  ServerRun(std::mt19937_64& random, Totals& totals, std::vector<std::string>& entriesInForce)
      : random_(random), totals_(totals), entries_(entriesInForce) {
    char pattern[] = "/tmp/qv-soak-XXXXXX";
    if (mkdtemp(pattern) == nullptr) throw std::runtime_error("cannot make a server directory");
    directory_ = pattern;
    configPath_ = directory_ + "/HostApi/Plugins/QuestVeto/config.json";
    fs::create_directories(fs::path(configPath_).parent_path());
    StandIn::Start(directory_);
    ++totals_.ServerRuns;

    StandIn::World& world = StandIn::CurrentWorld();
    operator_ = &world.AddController("Operator");
    for (std::size_t i = 0; i < kMissionNames.size(); ++i) {
      missions_.push_back(&world.AddMission(kMissionNames[i], static_cast<int32_t>(100 + i),
                                            "Tag" + std::to_string(i)));
    }
    StandIn::Controller& owner = world.AddController("Owner");
    StandIn::Controller& instigator = world.AddController("Instigator");
    StandIn::Controller& unbuffed = world.AddController("No Buff");
    characters_ = {&world.AddCharacter(&owner, nullptr, true),
                   &world.AddCharacter(nullptr, &instigator, true),
                   &world.AddCharacter(nullptr, nullptr, true),
                   &world.AddCharacter(&unbuffed, nullptr, false)};

    // The configuration in force carries over from the previous run.
    std::ofstream(configPath_) << ConfigText(entries_);
    plugin_ = StandIn::PluginLibrary::Load(QV_PLUGIN_PATH);
    liveBlocks_ = StandIn::GameHeap::LiveBlocks();
  }

  ~ServerRun() {
    plugin_.reset();
    StandIn::Stop();
    std::error_code ignored;
    fs::remove_all(directory_, ignored);
  }

  void Run(uint64_t starts) {
    uint64_t nextReload = NextReloadGap();
    for (uint64_t i = 0; i < starts; ++i) {
      if (--nextReload == 0) {
        Reload();
        nextReload = NextReloadGap();
      }
      Start();
    }
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
      fs::remove(configPath_);
    } else {
      std::ofstream(configPath_, std::ios::binary | std::ios::trunc) << config.Text;
    }
    const std::size_t repliesBefore = operator_->Chat().size();
    auto* console = reinterpret_cast<APlayerController*>(operator_->Object());
    if (!StandIn::Commands::RunConsole("qv.reload", console) ||
        operator_->Chat().size() != repliesBefore + 1) {
      totals_.Fail("qv.reload is not registered or sent no reply");
      return;
    }
    const std::string& reply = operator_->Chat().back().Text;
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
    StandIn::World& world = StandIn::CurrentWorld();
    const std::size_t missionPick =
        std::uniform_int_distribution<std::size_t>(0, missions_.size())(random_);
    StandIn::MissionClass* mission =
        missionPick < missions_.size() ? missions_[missionPick] : nullptr;
    const Player player = PickPlayer();
    const uintptr_t fourth = random_();

    StandIn::MissionDataBuff* buff =
        player.Character != nullptr ? player.Character->MissionData() : nullptr;
    const std::size_t writesBefore = buff != nullptr ? buff->Writes().size() : 0;
    const std::size_t notesBefore =
        player.Controller != nullptr ? player.Controller->Notifications().size() : 0;
    const std::size_t gameStartsBefore = world.GameStarts().size();
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
      return;
    }
    const int64_t now = static_cast<int64_t>(std::time(nullptr));

    const std::string name = mission != nullptr ? mission->DisplayName() : "(no class)";
    if (StandIn::GameHeap::LiveBlocks() != liveBefore) {
      totals_.Fail(fmt::format("start of {}: game heap {} -> {} live blocks", name, liveBefore,
                               StandIn::GameHeap::LiveBlocks()));
    }
    if (mission == nullptr) ++totals_.NullClass;
    const bool refused = mission != nullptr && SwitchedOff(entries_, name);
    if (!refused) {
      ++totals_.PassedOn;
      CheckPassedOn(name, missionClass, character, fourth, result, gameStartsBefore);
      if (buff != nullptr && buff->Writes().size() != writesBefore) {
        totals_.Fail(fmt::format("passed-on start of {} wrote mission data", name));
      }
      return;
    }
    ++totals_.Refused;
    if (result != 0 || world.GameStarts().size() != gameStartsBefore) {
      totals_.Fail(fmt::format("start of {} was not refused (result {:#x})", name, result));
    }
    if (player.Controller != nullptr) {
      if (player.Controller->Notifications().size() != notesBefore + 1) {
        totals_.Fail(fmt::format("refused start of {}: no single notification", name));
      } else {
        ++totals_.Notifications;
      }
    }
    if (buff != nullptr) CheckMissionData(*mission, *buff, writesBefore, now);
  }

  void CheckPassedOn(const std::string& name, UClass* missionClass, APrimalCharacter* character,
                     uintptr_t fourth, uintptr_t result, std::size_t gameStartsBefore) {
    const StandIn::World& world = StandIn::CurrentWorld();
    if (world.GameStarts().size() != gameStartsBefore + 1) {
      totals_.Fail(fmt::format("start of {} did not reach the game", name));
      return;
    }
    const StandIn::GameStart& start = world.GameStarts().back();
    if (start.Dispatcher != StandIn::CurrentWorld().Dispatcher() ||
        start.MissionClass != missionClass || start.Character != character ||
        start.Fourth != fourth || start.Result != result) {
      totals_.Fail(fmt::format("start of {} reached the game changed (fourth {:#x} as {:#x})", name,
                               fourth, start.Fourth));
    }
  }

  // Exactly "Complete", "Version" and "CompleteUtcTime", in that order, under the mission's tag.
  void CheckMissionData(StandIn::MissionClass& mission, StandIn::MissionDataBuff& buff,
                        std::size_t writesBefore, int64_t now) {
    const auto& writes = buff.Writes();
    if (writes.size() != writesBefore + 3) {
      totals_.Fail(fmt::format("refused start of {}: {} mission data entries, not 3",
                               mission.DisplayName(), writes.size() - writesBefore));
      return;
    }
    const StandIn::MissionDataWrite* entry = &writes[writesBefore];
    const auto* complete = std::get_if<bool>(&entry[0].Value);
    const auto* version = std::get_if<int32_t>(&entry[1].Value);
    const auto* time = std::get_if<double>(&entry[2].Value);
    const bool right = entry[0].Entry == "Complete" && entry[1].Entry == "Version" &&
                       entry[2].Entry == "CompleteUtcTime" && entry[0].Tag == mission.Tag() &&
                       entry[1].Tag == mission.Tag() && entry[2].Tag == mission.Tag() && complete &&
                       *complete && version && *version == mission.Version() && time &&
                       *time >= static_cast<double>(now) - 12.0 &&
                       *time <= static_cast<double>(now) - 10.0;
    if (!right) {
      totals_.Fail(fmt::format("refused start of {}: wrong mission data {}/{}, {}/{}, {}/{}",
                               mission.DisplayName(), entry[0].Tag, entry[0].Entry, entry[1].Tag,
                               entry[1].Entry, entry[2].Tag, entry[2].Entry));
      return;
    }
    ++totals_.MissionDataWritten;
  }

  std::mt19937_64& random_;
  Totals& totals_;
  std::vector<std::string>& entries_;
  std::string directory_;
  std::string configPath_;
  StandIn::Controller* operator_ = nullptr;
  std::vector<StandIn::MissionClass*> missions_;
  std::vector<StandIn::Character*> characters_;
  std::unique_ptr<StandIn::PluginLibrary> plugin_;
  std::size_t liveBlocks_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  const uint64_t starts = argc > 1 ? std::stoull(argv[1]) : 1000000;
  const uint64_t seed = argc > 2 ? std::stoull(argv[2]) : std::random_device()();
  std::mt19937_64 random(seed);
  Totals totals;
  std::vector<std::string> entriesInForce = {"hunt", "summit"};

  const std::size_t liveAtStart = StandIn::GameHeap::LiveBlocks();
  const auto began = std::chrono::steady_clock::now();
  double residentAfterWarmUp = 0;
  uint64_t startsAfterWarmUp = 0;
  for (uint64_t done = 0; done < starts;) {
    const uint64_t count = std::min(kStartsPerServer, starts - done);
    ServerRun(random, totals, entriesInForce).Run(count);
    done += count;
    if (StandIn::GameHeap::LiveBlocks() != liveAtStart) {
      totals.Fail(fmt::format("game heap: {} live blocks before the first server, {} after run {}",
                              liveAtStart, StandIn::GameHeap::LiveBlocks(), totals.ServerRuns));
    }
    if (totals.ServerRuns == 1) {
      residentAfterWarmUp = ResidentMiB();
      startsAfterWarmUp = done;
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  const double residentAtEnd = ResidentMiB();
  const bool memoryFlat = residentAtEnd - residentAfterWarmUp <= kResidentToleranceMiB;
  if (kResidentMemoryMeaningful && !memoryFlat) {
    totals.Fail(fmt::format("resident memory grew from {:.1f} MiB to {:.1f} MiB",
                            residentAfterWarmUp, residentAtEnd));
  }

  uint64_t reloads = 0;
  for (const auto& [shape, count] : totals.Reloads) reloads += count;
  fmt::print("soak: {} mission starts in {} server runs, {:.1f} s ({:.0f} starts/s), seed {}\n",
             totals.Starts, totals.ServerRuns, seconds,
             static_cast<double>(totals.Starts) / seconds, seed);
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
