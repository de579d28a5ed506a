// A stand-in server in a directory of its own, the one way tests, benchmarks, the soak, the
// fuzzer and the sandbox run one: the directory (a fresh one, or one given), the server started
// in it, the plugin's config file, the plugin loaded through the loader, and at the end the
// plugin unloaded, the server stopped and a fresh directory removed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "standin/PluginLoader.h"
#include "standin/Server.h"
#include "standin/World.h"

namespace StandIn {

// Where the plugin reads its configuration, inside the server directory.
inline constexpr const char* kConfigFile = "HostApi/Plugins/QuestVeto/config.json";
// <server dir>/HostApi/Plugins/QuestVeto/config.json
std::string ConfigPathIn(const std::string& serverDir);

// A new empty directory named `prefix` and a random number in `parent` (the system's temporary
// directory when empty).
std::string FreshDirectory(const std::string& prefix, const std::string& parent = {});

// Directories are UTF-8 text, as the host hands them on.
class ScratchServer {
 public:
  struct Options {
    std::string Directory;  // where the server runs; empty: a fresh one, removed at the end
    std::string Prefix = "qv-server-";  // the name of a fresh directory begins with it
    std::string Parent;  // where a fresh directory is made; empty: the temporary directory
    ServerOptions Server;
    bool Record = false;             // the journal records from the start to the end
    std::vector<std::string> Calls;  // ... only these calls, when it names some (Journal::Start)
  };

  // Starts the server; Fatal when one already runs.
  explicit ScratchServer(const Options& options);
  // Unloads the plugin, stops the server (unless it was stopped already), stops the journal it
  // started and removes a fresh directory.
  ~ScratchServer();
  ScratchServer(const ScratchServer&) = delete;
  ScratchServer& operator=(const ScratchServer&) = delete;

  const std::string& Directory() const { return directory_; }
  std::string ConfigPath() const { return ConfigPathIn(directory_); }
  // Replaces the config file with `text`, making its folders; throws std::runtime_error naming
  // the file when it cannot be written.
  void WriteConfig(const std::string& text) const;
  void RemoveConfig() const;

  // Loads the plugin library at `path` (throws std::runtime_error when it cannot), or unloads it.
  PluginLibrary& LoadPlugin(const std::string& path);
  void UnloadPlugin();
  // The loaded plugin, or null.
  PluginLibrary* Plugin() const { return plugin_.get(); }
  StandIn::World& World() const { return CurrentWorld(); }

 private:
  std::string directory_;
  bool fresh_;
  bool record_;
  std::unique_ptr<PluginLibrary> plugin_;
};

}  // namespace StandIn
