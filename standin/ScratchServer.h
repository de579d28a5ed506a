// Running a stand-in server: a directory of its own with the plugin's config file, the server
// started in it, the plugin loaded and, at the end, all of it undone.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "standin/Api.h"
#include "standin/PluginLoader.h"
#include "standin/ServerFiles.h"

namespace StandIn {

class World;

// A new empty directory named `prefix` and a random number in `parent` (the system's temporary
// directory when empty).
std::string FreshDirectory(const std::string& prefix, const std::string& parent = {});

// A stand-in server in a directory of its own, the one way tests, benchmarks, the soak, the
// fuzzers and the sandbox run one: the directory (a fresh one, or one given), the server started
// in it, the plugin's config file, the plugin loaded through the loader, and at the end the
// plugin unloaded, the server stopped and a fresh directory removed. Directories are UTF-8 text.
class ScratchServer {
 public:
  // Named options, each set by its own call: ScratchServer::Options().Fresh("qv-test-").Record().
  class Options {
   public:
    // Runs in `directory`, which stays at the end.
    Options& In(std::string directory);
    // Runs in a fresh directory, named `prefix` and a number, inside `parent` (empty: the
    // temporary directory), removed at the end; the default, as "qv-server-".
    Options& Fresh(std::string prefix, std::string parent = {});
    // The journal records from the start to the end: every crossing, or only the calls named.
    Options& Record(std::vector<std::string> calls = {});
    // The host's log goes to the journal only, not to the log file (a fuzzer has no use for it).
    Options& WithoutLogFile();

   private:
    friend class ScratchServer;

    std::string directory_;
    std::string prefix_ = "qv-server-";
    std::string parent_;
    bool record_ = false;
    std::vector<std::string> calls_;
    bool writeLogFile_ = true;
  };

  // Starts the server; Fatal when one already runs.
  explicit ScratchServer(const Options& options);
  // Unloads the plugin, stops the server, stops the journal it started and removes a fresh
  // directory.
  ~ScratchServer();
  ScratchServer(const ScratchServer&) = delete;
  ScratchServer& operator=(const ScratchServer&) = delete;

  const std::string& Directory() const { return directory_; }
  std::string ConfigPath() const { return ConfigPathIn(directory_); }
  std::string LogPath() const { return LogPathIn(directory_); }
  // Replaces the config file with `text`, making its folders; throws std::runtime_error naming
  // the file when it cannot be written.
  void WriteConfig(const std::string& text) const;
  void RemoveConfig() const;

  // Loads the plugin library at `path` (throws std::runtime_error when it cannot), or unloads it.
  PluginLibrary& LoadPlugin(const std::string& path);
  void UnloadPlugin();
  // The loaded plugin, or null.
  PluginLibrary* Plugin() const { return plugin_.get(); }
  StandIn::World& World() const;

 private:
  std::string directory_;
  bool fresh_;
  bool record_;
  std::unique_ptr<PluginLibrary> plugin_;
};

}  // namespace StandIn
