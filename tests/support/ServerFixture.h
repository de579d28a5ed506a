// The one test fixture of every suite that runs a server: a fresh stand-in server in a temporary
// directory for each test, with the plugin loadable through the loader as a real server would
// load it, and the journal recording from the start. A suite names it after itself with `using`;
// what a suite adds are plain functions beside its tests.
#pragma once

#include <cstdint>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host-bridge/FString.h"
#include "host-bridge/GameTypes.h"
#include "standin/ScratchServer.h"
#include "standin/World.h"
#include "support/JournalMatch.h"

// What std::bad_alloc says in this build's C++ library, which the plugin's log lines and replies
// quote: "std::bad_alloc" in GCC's, "bad allocation" in the MSVC library.
inline const std::string kBadAlloc = std::bad_alloc().what();

class ServerTest : public testing::Test {
 public:
  void SetUp() override;
  // Disarms an injected fault, unloads the plugin if loaded, stops the server and removes its
  // directory.
  void TearDown() override;
  // A fresh server in place of this one, for tests that run case after case.
  void Restart();
  // The same with the plugin loaded with `config`, which it must read.
  void RestartWith(const std::string& config);

  const std::string& ServerDir() const { return server_->Directory(); }
  // The plugin's config file in the server directory.
  std::string ConfigPath() const { return server_->ConfigPath(); }
  void WriteConfig(const std::string& text) const { server_->WriteConfig(text); }
  void RemoveConfig() const { server_->RemoveConfig(); }
  // A directory where config.json belongs: the file cannot be read.
  void MakeConfigUnreadable() const;
  // Writes `text` to the file `name` in the directory of config.json.
  void WriteBesideConfig(const std::string& name, const std::string& text) const;

  // Loads the plugin file, or a fresh copy of it after LoadFreshCopies.
  void LoadPlugin();
  // From now on, until the server is restarted, each load is of a fresh copy of the plugin file
  // under a name of its own: for tests whose unload may leave the library loaded for good, where
  // loading the same file again would get that library back, without its static objects made
  // anew. Copies are not found under the plugin's own file name (by a second plugin, say).
  void LoadFreshCopies() { freshCopies_ = true; }
  // Writes `config` and loads the plugin.
  void LoadWith(const std::string& config);
  void UnloadPlugin() { server_->UnloadPlugin(); }
  StandIn::PluginLibrary& Plugin() { return *server_->Plugin(); }
  // The exported symbol `name` of the loaded plugin; fails the test when missing.
  void* PluginSymbol(const std::string& name);

  // QuestVeto::IsMissionDisabled of the loaded plugin, resolved by name as another plugin would:
  // on UTF-8 `displayName`, on an engine string, on a mission object. False, and the test
  // failed, when the plugin exports no such query.
  bool Disabled(const std::string& displayName);
  bool Disabled(const FString& displayName);
  bool Disabled(AMissionType* mission);
  // "qv.reload" typed on the server console; fails the test when it is not registered.
  static void ReloadFromConsole();

  static StandIn::World& World();
  // Adds the player `plan` makes to the running world (by default a living character with mission
  // data, owned by its controller); what it became.
  static StandIn::Player AddPlayer(const StandIn::PlayerPlan& plan);
  // The game starts `mission` for `character` (null for either passes null) with `fourth` as its
  // fourth argument, through whatever hooks the function; what the start answered the game.
  static uintptr_t StartMission(StandIn::MissionClass* mission, StandIn::Character* character,
                                uintptr_t fourth = 7);
  // What crossed since the test began (or the journal was last started).
  static JournalEntries Journal();
  // The messages of the log lines at `level` ("info", "critical", ...) of the plugin's logger.
  static std::vector<std::string> Messages(const std::string& level);
  // The host's log file in the server directory.
  std::string LogFilePath() const;
  // The content of the log file; empty when there is none.
  std::string LogFile() const;

 private:
  std::optional<StandIn::ScratchServer> server_;
  bool freshCopies_ = false;
};

// Whether "qv.reload" is registered.
bool ReloadRegistered();
