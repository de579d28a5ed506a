// The stand-in as tests, the sandbox, the soak, the fuzzers and the benchmarks use it: a dedicated
// server with its plugin host ("version"), its game and its loader, run in a directory of its own.
// The real one is the game's server on Windows; this one simulates the game, records every
// crossing between plugin and host or game in the journal (Journal.h) and stops the process at
// any misuse. Besides this header, the journal and the loader (PluginLoader.h) are public; the
// rest of standin/ is its inside, which only standin/ and tests/standin/ include.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "host/FString.h"
#include "host/GameTypes.h"
#include "host/Platform.h"
#include "standin/Api.h"
#include "standin/PluginLoader.h"

namespace spdlog::sinks {
class sink;
}

namespace StandIn {

class NameTable;

// Where the plugin reads its configuration and where the host writes its log, inside the server
// directory `serverDir` (UTF-8, as the host hands it to plugins). The configuration's path is
// written as the plugin writes it (Platform::NativeSeparators).
STANDIN_API std::string ConfigPathIn(const std::string& serverDir);
STANDIN_API std::string LogPathIn(const std::string& serverDir);

// A new empty directory named `prefix` and a random number in `parent` (the system's temporary
// directory when empty).
std::string FreshDirectory(const std::string& prefix, const std::string& parent = {});

// The game's objects, each standing for the game type its Object() or Class() answers.

using MissionDataValue = std::variant<bool, int32_t, double>;

// A mission data entry of a buff: the latest value written under (tag, entry).
struct MissionDataEntry {
  std::string Tag;    // text of the mission tag FName
  std::string Entry;  // text of the entry FName
  MissionDataValue Value;
};

class STANDIN_API MissionClass {
 public:
  MissionClass(const std::string& displayNameUtf8, int32_t version, const std::string& tag);
  ~MissionClass();
  MissionClass(const MissionClass&) = delete;
  MissionClass& operator=(const MissionClass&) = delete;

  UClass* Class() { return reinterpret_cast<UClass*>(this); }
  // The class's default object, as "UClass.GetDefaultObject" answers.
  AMissionType* DefaultObject();
  std::string DisplayName() const;  // UTF-8
  // Replaces the display name (a game heap string inside the default object).
  void SetDisplayName(const std::string& utf8);
  int32_t Version() const;
  const std::string& Tag() const { return tag_; }

 private:
  friend class GameWorld;  // locates the default object's fields for GetAddress
  struct DefaultObjectLayout;

  std::string tag_;
  std::unique_ptr<DefaultObjectLayout> object_;
};

class STANDIN_API Controller {
 public:
  explicit Controller(const std::string& characterNameUtf8);

  AShooterPlayerController* Object() { return reinterpret_cast<AShooterPlayerController*>(this); }
  std::string CharacterName() const;  // UTF-8

 private:
  friend class GameWorld;  // hands the name to the game as it keeps it

  WideString characterName_;
};

class STANDIN_API MissionDataBuff {
 public:
  APrimalBuff_MissionData* Object() { return reinterpret_cast<APrimalBuff_MissionData*>(this); }
  // Every entry written, in the order each was first written.
  const std::vector<MissionDataEntry>& Entries() const { return entries_; }
  // The latest value of (tag, entry), or none.
  const MissionDataValue* Value(const std::string& tag, const std::string& entry) const;
  void Write(const std::string& tag, const std::string& entry, MissionDataValue value);

 private:
  std::vector<MissionDataEntry> entries_;
};

class STANDIN_API Character {
 public:
  // `owner`/`instigator` may be null; `withMissionData` gives it a buff.
  Character(Controller* owner, Controller* instigator, bool withMissionData);

  APrimalCharacter* Object() { return reinterpret_cast<APrimalCharacter*>(this); }
  bool Dead() const { return dead_; }
  void SetDead(bool dead) { dead_ = dead; }
  Controller* Owner() const { return owner_; }
  Controller* Instigator() const { return instigator_; }
  // The mission data buff, or null when the character has none.
  MissionDataBuff* MissionData() { return missionData_.get(); }

 private:
  Controller* owner_;
  Controller* instigator_;
  std::unique_ptr<MissionDataBuff> missionData_;
  bool dead_ = false;
};

class STANDIN_API RconConnection {
 public:
  RconConnection();
  ~RconConnection();
  RconConnection(const RconConnection&) = delete;
  RconConnection& operator=(const RconConnection&) = delete;

  RCONClientConnection* Object() { return reinterpret_cast<RCONClientConnection*>(this); }
  // A request arriving on this connection; the packet lives as long as the connection.
  RCONPacket* Receive(int32_t requestId, const std::string& body);

 private:
  struct PacketLayout;

  std::vector<std::unique_ptr<PacketLayout>> packets_;
};

// A world as it starts: its missions and its players, in order.
struct MissionPlan {
  std::string Name;  // display name, UTF-8
  int32_t Version = 1;
  std::string Tag;
};

struct PlayerPlan {
  std::string Name;  // the character name of the player's controller, UTF-8
  bool Alive = true;
  bool Controller = true;   // without one the character belongs to nobody
  bool MissionData = true;  // the character carries a mission data buff
  bool Instigated = false;  // the controller instigated the character rather than owns it
  // Another player of the plan whose controller instigated the character (besides its owner, if
  // it has one); empty: none. Not with Instigated.
  std::string InstigatedBy{};
};

struct WorldPlan {
  std::vector<MissionPlan> Missions;
  std::vector<PlayerPlan> Players;
};

// What a plan became in the world, found again by the plan's names.
struct Player {
  std::string Name;
  StandIn::Controller* Controller;  // null for a character that belongs to nobody
  StandIn::Character* Character;
};

struct Mission {
  std::string Name;
  MissionClass* Class;
};

class STANDIN_API Roster {
 public:
  // In plan order.
  const std::vector<Player>& All() const { return players_; }
  const std::vector<Mission>& Missions() const { return missions_; }
  // By exact name; null when there is none (the first of that name when several share it).
  const Player* FindPlayer(const std::string& name) const;
  // The player whose controller is the game object `controller`; null when there is none.
  const Player* FindController(const void* controller) const;
  const Mission* FindMission(const std::string& name) const;

 private:
  friend class World;

  std::vector<Player> players_;
  std::vector<Mission> missions_;
};

// The game world of the running server; it owns every object above.
class STANDIN_API World {
 public:
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  // Adds the missions and players of `plan`, in its order; Fatal for a player instigated by a
  // name that is no player of the plan with a controller.
  Roster Populate(const WorldPlan& plan);

  // An RCON client connects; the connection stays open until it is removed.
  RconConnection& AddRconConnection();
  // Closes a connection: it and its packets are gone, and the game functions no longer accept
  // its pointers.
  void RemoveRconConnection(RconConnection& connection);

  // The mission with exactly this display name, or null.
  MissionClass* FindMission(const std::string& displayNameUtf8);

  AMissionDispatcher* Dispatcher() { return reinterpret_cast<AMissionDispatcher*>(&dispatcher_); }
  // The game starts a mission: the call goes through whatever is installed on
  // "AMissionDispatcher.StartMission" and the answer comes back.
  uintptr_t StartMission(UClass* missionClass, APrimalCharacter* character, uintptr_t fourth);
  // What the game's own start function answered the last time it was reached; 0 before. Each
  // answer differs from the one before and has its upper 32 bits in use.
  uintptr_t LastGameResult() const { return lastGameResult_; }

  // The text that "FName.Init" interned for `name`; Fatal for a value it never made.
  std::string NameText(FName name) const;

 protected:
  // Only the running server makes its world (World.h).
  World();
  ~World();

  uint64_t dispatcher_;
  std::vector<std::unique_ptr<MissionClass>> missions_;
  std::vector<std::unique_ptr<Controller>> controllers_;
  std::vector<std::unique_ptr<Character>> characters_;
  std::vector<std::unique_ptr<RconConnection>> connections_;
  uintptr_t lastGameResult_ = 0;
  std::unique_ptr<NameTable> names_;
};

// The world of the running server; Fatal when no server runs.
STANDIN_API World& RunningWorld();

// A stand-in server in a directory of its own, the one way tests, benchmarks, the soak, the
// fuzzers and the sandbox run one: the directory (a fresh one, or one given), the server started
// in it, the plugin's config file, the plugin loaded through the loader, and at the end the
// plugin unloaded, the server stopped and a fresh directory removed. Directories are UTF-8 text.
class ScratchServer {
 public:
  // Named options, each set by its own call: ScratchServer::Options().Fresh("qv-test-").Record().
  class Options {
   public:
    // Runs in `directory`, which stays at the end.
    Options& In(std::string directory);
    // Runs in a fresh directory, named `prefix` and a number, inside `parent` (empty: the
    // temporary directory), removed at the end; the default, as "qv-server-".
    Options& Fresh(std::string prefix, std::string parent = {});
    // The journal records from the start to the end: every crossing, or only the calls named.
    Options& Record(std::vector<std::string> calls = {});
    // The host's log goes to the journal only, not to the log file (a fuzzer has no use for it).
    Options& WithoutLogFile();

   private:
    friend class ScratchServer;

    std::string directory_;
    std::string prefix_ = "qv-server-";
    std::string parent_;
    bool record_ = false;
    std::vector<std::string> calls_;
    bool writeLogFile_ = true;
  };

  // Starts the server; Fatal when one already runs.
  explicit ScratchServer(const Options& options);
  // Unloads the plugin, stops the server, stops the journal it started and removes a fresh
  // directory.
  ~ScratchServer();
  ScratchServer(const ScratchServer&) = delete;
  ScratchServer& operator=(const ScratchServer&) = delete;

  const std::string& Directory() const { return directory_; }
  std::string ConfigPath() const { return ConfigPathIn(directory_); }
  std::string LogPath() const { return LogPathIn(directory_); }
  // Replaces the config file with `text`, making its folders; throws std::runtime_error naming
  // the file when it cannot be written.
  void WriteConfig(const std::string& text) const;
  void RemoveConfig() const;

  // Loads the plugin library at `path` (throws std::runtime_error when it cannot), or unloads it.
  PluginLibrary& LoadPlugin(const std::string& path);
  void UnloadPlugin();
  // The loaded plugin, or null.
  PluginLibrary* Plugin() const { return plugin_.get(); }
  StandIn::World& World() const;

 private:
  std::string directory_;
  bool fresh_;
  bool record_;
  std::unique_ptr<PluginLibrary> plugin_;
};

// Adds a sink to the host's list of the running server (a terminal, say); loggers made before
// keep their own copies.
STANDIN_API void AddLogSink(std::shared_ptr<spdlog::sinks::sink> sink);

// What the host's registries do when the server is handed a line or a request.
namespace Commands {

// Runs a console command line typed by `player` (null: the server console). False when no
// console command is registered under the line's first word; nothing runs then.
STANDIN_API bool RunConsole(const std::string& line, APlayerController* player);
// The names of every registered command, console and RCON, sorted, each once.
STANDIN_API std::vector<std::string> Names();

// The server's handling of a console line typed by `player` (null: the server console). Empty
// when a registered command ran or the line is blank; otherwise the host's answer
// "Unknown command: <first word>", which a player also gets as a chat message through the game's
// "AShooterPlayerController.ClientServerChatDirectMessage".
STANDIN_API std::string Console(const std::string& line, APlayerController* player);
// The server's handling of an RCON request: `connection` receives the packet (`requestId`,
// `body`) and the command runs. Empty when a registered command ran or the body is blank;
// otherwise the host's answer "Unknown command: <first word>", which also goes back to the client
// through the game's "RCONClientConnection.SendMessageW" under `requestId`.
STANDIN_API std::string Rcon(RconConnection& connection, int32_t requestId,
                             const std::string& body);

}  // namespace Commands

namespace Hooks {

// Detours installed on `key`, the first installed first.
STANDIN_API std::vector<void*> Detours(const std::string& key);
// From now on every install is refused (answered false, nothing placed), as a host refuses a key
// it does not know; until the server stops.
STANDIN_API void RefuseInstalls();

}  // namespace Hooks

namespace FunctionTable {

// The game function's own entry, whatever is hooked on it; Fatal naming the key when the game has
// no such function.
STANDIN_API void* Function(const std::string& key);

}  // namespace FunctionTable

// The game's heap behind "FMemory.Malloc", "FMemory.Realloc" and "FMemory.Free": a ledger that
// knows every live block, so a leaked, foreign or twice-freed engine string is caught by name.
namespace GameHeap {

struct Block {
  const void* Address;
  std::size_t Size;
  uint64_t Made;  // TotalAllocations() just after the allocation that made it; a resize keeps it
};

// Releases a live block; Fatal for a pointer that is not a live block.
STANDIN_API void Release(void* block);
// Blocks allocated and not yet released.
STANDIN_API std::size_t LiveBlocks();
STANDIN_API std::vector<Block> LiveBlockList();
// Releases every live block made after TotalAllocations() was `allocations`, and answers how many.
// Told apart by when they were made, never by address: a block released since may have handed
// its address on to one of them.
STANDIN_API std::size_t ReleaseBlocksMadeSince(uint64_t allocations);
// Totals since the process started, for cost counters.
STANDIN_API uint64_t TotalAllocations();
STANDIN_API uint64_t TotalReleases();

}  // namespace GameHeap

// Fault injection: the Nth fallible crossing from the plugin into the host or the game heap fails
// the way that crossing can, so a test can walk every failure point of a scenario in turn.
namespace Faults {

// How a failing host call fails; a failing game heap allocation answers null whatever this is.
// Worded: a std::runtime_error whose what() is kWordedFailure, text a log line must escape.
enum class HostFailure { BadAlloc, Foreign, Worded };
inline constexpr const char* kWordedFailure = "the host failed\n[QuestVeto][info] forged";

// Thrown by a failing host call under HostFailure::Foreign: a type outside std::exception.
struct ForeignFailure {
  const char* What;
};

// The `n`th fallible crossing from now fails (1: the next one); the count starts again at 0.
// Fallible crossings are host calls (GetAddress, GetHooks, GetCommands and their operations,
// GetLogSinks, GetCurrentDir, Utf8Encode, Utf8Decode) and "FMemory.Malloc"/"FMemory.Realloc".
STANDIN_API void FailAt(uint64_t n, HostFailure how);
// The same, and every fallible crossing after it fails too, until Disarm: a host gone bad stays
// bad, so a second try meets the fault again. The journal records each failing crossing.
STANDIN_API void FailFrom(uint64_t n, HostFailure how);
// No fault from now on, and no counting.
STANDIN_API void Disarm();
// True when the fault armed by FailAt or FailFrom has struck.
STANDIN_API bool Struck();

}  // namespace Faults

}  // namespace StandIn
