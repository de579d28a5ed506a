// A fresh stand-in server in a temporary directory for each test, with the plugin loadable
// through the loader as a real server would load it, and the journal recording from the start.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "standin/StandIn.h"
#include "support/JournalMatch.h"

class ServerTest : public testing::Test {
 protected:
  void SetUp() override;
  // Unloads the plugin if loaded, stops the server and removes its directory.
  void TearDown() override;

  const std::string& ServerDir() const { return server_->Directory(); }
  // The plugin's config file in the server directory.
  std::string ConfigPath() const { return server_->ConfigPath(); }
  void WriteConfig(const std::string& text) const { server_->WriteConfig(text); }
  void RemoveConfig() const { server_->RemoveConfig(); }

  void LoadPlugin() { server_->LoadPlugin(QV_PLUGIN_PATH); }
  void UnloadPlugin() { server_->UnloadPlugin(); }
  StandIn::PluginLibrary& Plugin() { return *server_->Plugin(); }
  // The exported symbol `name` of the loaded plugin; fails the test when missing.
  void* PluginSymbol(const std::string& name);

  StandIn::World& World();
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
};
