// The host library that loads plugins into the game server process (imported as version.dll).
// Declares exactly what the plugin uses of it: eight functions and the operations it calls on the
// two interfaces they return. The host offers a ninth, HostApi::GetApiUtils, the accessor of its
// utility interface; the plugin calls none of that interface's operations and so never calls the
// accessor, which is therefore neither declared here nor imported by the library. The real host
// is the server's plugin framework, the test implementation is the stand-in under standin/.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host-bridge/GameTypes.h"
#include "host-bridge/Platform.h"

struct FString;

namespace spdlog::sinks {
class sink;
}

// Entry of the game function named by `key` ("AActor.ForceReplicateNow"); plugins call it directly.
HOSTAPI void* GetAddress(const std::string& key);

// Address of the field named by `key` ("AMissionType.MissionVersion") inside `object`.
HOSTAPI uint64_t GetAddress(const void* object, const std::string& key);

// The host's shared log sinks; a plugin's logger writes to these.
HOSTAPI std::vector<std::shared_ptr<spdlog::sinks::sink>>& GetLogSinks();

namespace HostApi {

using ConsoleCommand = std::function<void(APlayerController*, FString*, bool)>;
using RconCommand = std::function<void(RCONClientConnection*, RCONPacket*, UWorld*)>;

// Places detours on game functions. A detour receives the calls of the function it replaces and
// may call on through the entry written to `original`.
class IHooks {
 public:
  virtual ~IHooks() = default;
  // Takes `detour` off the function `key`; false when it was not installed there.
  virtual bool RemoveHook(const std::string& key, void* detour) = 0;
  // Routes calls of `key` to `detour` and writes the previous entry to `*original`; false when
  // `key` names no hookable function.
  virtual bool InstallHook(const std::string& key, void* detour, void** original) = 0;
};

// Commands given by players on the console and by RCON clients, kept by name. The registry keeps
// its own copies of names and handlers. The host's table has operations plugins of this kind never
// call before, between and after the four they do; each holds its place here under a name that
// says so, so that the plugin's calls reach the host's entries for them.
class ICommands {
 public:
  virtual ~ICommands() = default;
  virtual void UnusedBeforeAdd() = 0;
  // Registers a console command; replaces a previous handler of that name.
  virtual void AddConsoleCommand(const FString& name, const ConsoleCommand& handler) = 0;
  // Registers an RCON command; replaces a previous handler of that name.
  virtual void AddRconCommand(const FString& name, const RconCommand& handler) = 0;
  virtual void UnusedBetweenAddAndRemove() = 0;
  // Removes a console command; false when none had that name.
  virtual bool RemoveConsoleCommand(const FString& name) = 0;
  // Removes an RCON command; false when none had that name.
  virtual bool RemoveRconCommand(const FString& name) = 0;
  virtual void UnusedAfterRemove() = 0;
};

HOSTAPI IHooks& GetHooks();
HOSTAPI ICommands& GetCommands();

namespace Tools {
// The server directory, without a trailing separator, as UTF-8 text (the host's encoding for all
// its texts), on Windows too: not in the system's code page.
HOSTAPI std::string GetCurrentDir();
// 16-bit text to UTF-8; an unpaired surrogate becomes U+FFFD.
HOSTAPI std::string Utf8Encode(const WideString& text);
// UTF-8 to 16-bit text; every maximal malformed sequence becomes one U+FFFD.
HOSTAPI WideString Utf8Decode(const std::string& text);
}  // namespace Tools

}  // namespace HostApi

#if defined(_MSC_VER)
// What crosses the boundary with a host built with Visual Studio must have the layouts of its C++
// library (x64): a library or setting that changes one makes every call with it wrong.
static_assert(sizeof(std::string) == 32 && sizeof(WideString) == 32,
              "std::string: pointer or 16-byte buffer, size, capacity");
static_assert(sizeof(HostApi::ConsoleCommand) == 64 && sizeof(HostApi::RconCommand) == 64,
              "std::function: 56 bytes of storage and the pointer to the callable");
static_assert(sizeof(std::shared_ptr<spdlog::sinks::sink>) == 16, "std::shared_ptr: two pointers");
static_assert(sizeof(std::vector<std::shared_ptr<spdlog::sinks::sink>>) == 24,
              "std::vector: three pointers");
#endif
