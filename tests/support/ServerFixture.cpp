#include "support/ServerFixture.h"

#include <fstream>
#include <sstream>

#include "standin/Journal.h"

void ServerTest::SetUp() {
  server_.emplace(StandIn::ScratchServer::Options().Fresh("qv-test-").Record());
}

void ServerTest::TearDown() {
  server_.reset();
}

void* ServerTest::PluginSymbol(const std::string& name) {
  void* symbol = server_->Plugin() != nullptr ? server_->Plugin()->Symbol(name) : nullptr;
  EXPECT_NE(symbol, nullptr) << "the plugin exports no " << name;
  return symbol;
}

StandIn::World& ServerTest::World() {
  return server_->World();
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
  return server_->LogPath();
}

std::string ServerTest::LogFile() const {
  std::ifstream file(LogFilePath());
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}
