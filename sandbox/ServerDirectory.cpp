#include "sandbox/ServerDirectory.h"

#include <filesystem>
#include <system_error>

#include <fmt/format.h>

#include "standin/ScratchServer.h"

namespace Sandbox {

namespace fs = std::filesystem;

bool ProvideSampleConfig(const std::string& dir, const std::string& sampleConfig) {
  const fs::path config = fs::u8path(StandIn::ConfigPathIn(dir));
  if (fs::exists(fs::symlink_status(config))) return false;
  fs::create_directories(config.parent_path());
  // Without overwrite: a file that appeared meanwhile makes the copy fail rather than be replaced.
  fs::copy_file(fs::u8path(sampleConfig), config, fs::copy_options::none);
  return true;
}

std::string FreshServerDir(const std::string& sampleConfig) {
  std::string dir = StandIn::FreshDirectory("questveto-sandbox-");
  if (!sampleConfig.empty()) ProvideSampleConfig(dir, sampleConfig);
  return dir;
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
