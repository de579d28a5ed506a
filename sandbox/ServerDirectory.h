// The server directory a sandbox run starts in, made ready for the plugin: a configuration is in
// place before the plugin loads, so that a first run does not start with a missing file.
#pragma once

#include <string>

namespace Sandbox {

// <dir>/HostApi/Plugins/QuestVeto/config.json
std::string ConfigFileIn(const std::string& dir);

// Copies `sampleConfig` to ConfigFileIn(`dir`), creating the directories, when nothing is there
// yet (not even a dangling link); true when it copied. An existing file is never touched. Throws
// std::filesystem::filesystem_error when the copy fails.
bool ProvideSampleConfig(const std::string& dir, const std::string& sampleConfig);

// A fresh directory in the system's temporary directory holding the sample configuration.
std::string FreshServerDir(const std::string& sampleConfig);

}  // namespace Sandbox
