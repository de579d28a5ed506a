#include "support/ServerFixture.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "standin/Journal.h"
#include "standin/Server.h"

namespace fs = std::filesystem;

namespace {

std::string FreshDirectory() {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (;;) {
    fs::path dir = fs::temp_directory_path() / ("qv-test-" + std::to_string(random()));
    if (fs::create_directory(dir)) return dir.string();
  }
}

}  // namespace

void ServerTest::SetUp() {
  serverDir_ = FreshDirectory();
  StandIn::Journal::Start();
  StandIn::Start(serverDir_);
}

void ServerTest::TearDown() {
  plugin_.reset();
  if (StandIn::Running()) StandIn::Stop();
  StandIn::Journal::Stop();
  std::error_code ignored;
  fs::remove_all(serverDir_, ignored);
}

std::string ServerTest::ConfigPath() const {
  return serverDir_ + "/HostApi/Plugins/QuestVeto/config.json";
}

void ServerTest::WriteConfig(const std::string& text) {
  fs::create_directories(fs::path(ConfigPath()).parent_path());
  std::ofstream file(ConfigPath(), std::ios::binary | std::ios::trunc);
  file << text;
  ASSERT_TRUE(file.good()) << "cannot write " << ConfigPath();
}

void ServerTest::RemoveConfig() {
  fs::remove(ConfigPath());
}

void ServerTest::LoadPlugin() {
  plugin_ = StandIn::PluginLibrary::Load(QV_PLUGIN_PATH);
}

void ServerTest::UnloadPlugin() {
  plugin_.reset();
}

void* ServerTest::PluginSymbol(const std::string& name) {
  void* symbol = plugin_ ? plugin_->Symbol(name) : nullptr;
  EXPECT_NE(symbol, nullptr) << "the plugin exports no " << name;
  return symbol;
}

StandIn::World& ServerTest::World() {
  return StandIn::CurrentWorld();
}

JournalEntries ServerTest::Journal() {
  return StandIn::Journal::Entries();
}

std::vector<std::string> ServerTest::Messages(const std::string& level) {
  const std::string marker = "log [QuestVeto][" + level + "] ";
  std::vector<std::string> messages;
  for (const std::string& entry : Journal()) {
    if (entry.rfind(marker, 0) == 0) messages.push_back(entry.substr(marker.size()));
  }
  return messages;
}

std::string ServerTest::LogFilePath() const {
  return serverDir_ + "/HostApi/Logs/Server.log";
}

std::string ServerTest::LogFile() const {
  std::ifstream file(LogFilePath());
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}
