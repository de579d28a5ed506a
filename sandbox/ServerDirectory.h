// The server directory a sandbox run starts in, made ready for the plugin: a configuration is in
// place before the plugin loads, so that a first run does not start with a missing file.
// Paths are UTF-8 text, as the host hands the server directory to plugins, on Windows too.
#pragma once

#include <string>
#include <utility>

namespace Sandbox {

// Copies `sampleConfig` to the config file in `dir` (StandIn::ConfigPathIn), creating the
// directories, when nothing is there yet (not even a dangling link); true when it copied. An
// existing file is never touched. Throws std::filesystem::filesystem_error when the copy fails.
bool ProvideSampleConfig(const std::string& dir, const std::string& sampleConfig);

// A fresh directory "questveto-sandbox-<number>" in the system's temporary directory holding the
// sample configuration, or nothing when `sampleConfig` is empty.
std::string FreshServerDir(const std::string& sampleConfig);

// A server directory made for one run: removed, with a line saying so, when the run ends, unless
// the operator asked to keep it (then the line says where it is).
class ScratchDir {
 public:
  ScratchDir(std::string path, bool keep) : path_(std::move(path)), keep_(keep) {}
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  ~ScratchDir();

 private:
  std::string path_;
  bool keep_;
};

}  // namespace Sandbox
