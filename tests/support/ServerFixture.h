// A fresh stand-in server in a temporary directory for each test, with the plugin loadable
// through the loader as a real server would load it, and the journal recording from the start.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "standin/PluginLoader.h"
#include "standin/World.h"
#include "support/JournalMatch.h"

class ServerTest : public testing::Test {
 protected:
  void SetUp() override;
  // Unloads the plugin if loaded, stops the server and removes its directory.
  void TearDown() override;

  const std::string& ServerDir() const { return serverDir_; }
  // <server dir>/HostApi/Plugins/QuestVeto/config.json
  std::string ConfigPath() const;
  void WriteConfig(const std::string& text);
  void RemoveConfig();

  void LoadPlugin();
  void UnloadPlugin();
  StandIn::PluginLibrary& Plugin() { return *plugin_; }
  // The exported symbol `name` of the loaded plugin; fails the test when missing.
  void* PluginSymbol(const std::string& name);

  StandIn::World& World();
  // What crossed since the test began (or the journal was last started).
  static JournalEntries Journal();
  // The messages of the log lines at `level` ("info", "critical", ...) of the plugin's logger.
  static std::vector<std::string> Messages(const std::string& level);
  // <server dir>/HostApi/Logs/Server.log
  std::string LogFilePath() const;
  // The content of the log file; empty when there is none.
  std::string LogFile() const;

 private:
  std::string serverDir_;
  std::unique_ptr<StandIn::PluginLibrary> plugin_;
};
