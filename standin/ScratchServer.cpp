#include "standin/ScratchServer.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

#include "standin/Journal.h"
#include "standin/Server.h"
#include "standin/World.h"

namespace StandIn {

namespace fs = std::filesystem;

std::string FreshDirectory(const std::string& prefix, const std::string& parent) {
  const fs::path in = parent.empty() ? fs::temp_directory_path() : fs::u8path(parent);
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (;;) {
    const fs::path dir = in / fs::u8path(prefix + std::to_string(random()));
    if (fs::create_directory(dir)) return dir.u8string();
  }
}

ScratchServer::Options& ScratchServer::Options::In(std::string directory) {
  directory_ = std::move(directory);
  return *this;
}

ScratchServer::Options& ScratchServer::Options::Fresh(std::string prefix, std::string parent) {
  directory_.clear();
  prefix_ = std::move(prefix);
  parent_ = std::move(parent);
  return *this;
}

ScratchServer::Options& ScratchServer::Options::Record(std::vector<std::string> calls) {
  record_ = true;
  calls_ = std::move(calls);
  return *this;
}

ScratchServer::Options& ScratchServer::Options::WithoutLogFile() {
  writeLogFile_ = false;
  return *this;
}

ScratchServer::ScratchServer(const Options& options)
    : directory_(options.directory_.empty() ? FreshDirectory(options.prefix_, options.parent_)
                                            : options.directory_),
      fresh_(options.directory_.empty()),
      record_(options.record_) {
  if (record_) Journal::Start(options.calls_);
  Start(directory_, ServerOptions{options.writeLogFile_});
}

ScratchServer::~ScratchServer() {
  plugin_.reset();
  if (Running()) Stop();
  if (record_) Journal::Stop();
  if (!fresh_) return;
  std::error_code ignored;
  fs::remove_all(fs::u8path(directory_), ignored);
}

void ScratchServer::WriteConfig(const std::string& text) const {
  const fs::path path = fs::u8path(ConfigPath());
  fs::create_directories(path.parent_path());
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  if (!file.good()) throw std::runtime_error("cannot write " + ConfigPath());
}

void ScratchServer::RemoveConfig() const {
  fs::remove(fs::u8path(ConfigPath()));
}

PluginLibrary& ScratchServer::LoadPlugin(const std::string& path) {
  plugin_ = PluginLibrary::Load(path);
  return *plugin_;
}

void ScratchServer::UnloadPlugin() {
  plugin_.reset();
}

World& ScratchServer::World() const {
  return RunningWorld();
}

}  // namespace StandIn
