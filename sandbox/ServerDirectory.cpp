#include "sandbox/ServerDirectory.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include <fmt/format.h>

#include "standin/ScratchServer.h"

namespace Sandbox {

namespace fs = std::filesystem;

std::string ConfigFileIn(const std::string& dir) {
  return (fs::u8path(dir) / StandIn::kConfigFile).u8string();
}

bool ProvideSampleConfig(const std::string& dir, const std::string& sampleConfig) {
  const fs::path config = fs::u8path(ConfigFileIn(dir));
  if (fs::exists(fs::symlink_status(config))) return false;
  fs::create_directories(config.parent_path());
  // Without overwrite: a file that appeared meanwhile makes the copy fail rather than be replaced.
  fs::copy_file(fs::u8path(sampleConfig), config, fs::copy_options::none);
  return true;
}

std::string FreshServerDir(const std::string& sampleConfig) {
  const fs::path dir = fs::temp_directory_path() / fmt::format("questveto-sandbox-{}", getpid());
  fs::remove_all(dir);
  fs::create_directories(dir);
  if (!sampleConfig.empty()) ProvideSampleConfig(dir.u8string(), sampleConfig);
  return dir.u8string();
}

ScratchDir::~ScratchDir() {
  if (keep_) {
    fmt::print("Kept the server directory {}\n", path_);
    return;
  }
  std::error_code ignored;
  fs::remove_all(fs::u8path(path_), ignored);
  fmt::print("Removed the server directory {} (--keep-dir keeps it)\n", path_);
}

}  // namespace Sandbox
