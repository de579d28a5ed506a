#include "BenchServer.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

#include "plugin/QuestVetoClient.h"
#include "standin/Server.h"

namespace fs = std::filesystem;

namespace {

const char* const kNameQuery = QuestVetoClient::kByDisplayName.Itanium;

std::string FreshDirectory() {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (;;) {
    const fs::path dir = fs::temp_directory_path() / ("qv-bench-" + std::to_string(random()));
    if (fs::create_directory(dir)) return dir.string();
  }
}

}  // namespace

BenchServer::BenchServer() : directory_(FreshDirectory()) {
  StandIn::Start(directory_);
}

BenchServer::~BenchServer() {
  plugin_.reset();
  StandIn::Stop();
  std::error_code ignored;
  fs::remove_all(directory_, ignored);
}

std::string BenchServer::ConfigPath() const {
  return directory_ + "/HostApi/Plugins/QuestVeto/config.json";
}

void BenchServer::WriteConfig(const std::string& text) {
  const fs::path path = ConfigPath();
  fs::create_directories(path.parent_path());
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  if (!file.good()) throw std::runtime_error("cannot write " + path.string());
}

void BenchServer::LoadPlugin() {
  plugin_ = StandIn::PluginLibrary::Load(QV_PLUGIN_PATH);
  query_ = reinterpret_cast<NameQuery>(plugin_->Symbol(kNameQuery));
  if (query_ == nullptr) {
    throw std::runtime_error(std::string(QV_PLUGIN_PATH) + " exports no " + kNameQuery);
  }
}

StandIn::World& BenchServer::World() {
  return StandIn::CurrentWorld();
}
