// Names each function of host-bridge/HostApi.h once, so that the object compiled from this file refers
// to each under the name the compiler gives its declaration (its __imp_ pointer). The author
// kit's import library of the host, version.lib, is made from those references
// (cmake/HostImportLibrary.cmake): a plugin built with the kit links against the host's functions
// as the header declares them, not against whatever a test host happens to export. Nothing links
// this object.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host-bridge/HostApi.h"

struct HostFunctions {
  void* (*game_function)(const std::string&) = &GetAddress;
  uint64_t (*field_offset)(const void*, const std::string&) = &GetAddress;
  std::vector<std::shared_ptr<spdlog::sinks::sink>>& (*log_sinks)() = &GetLogSinks;
  HostApi::IHooks& (*hooks)() = &HostApi::GetHooks;
  HostApi::ICommands& (*commands)() = &HostApi::GetCommands;
  std::string (*current_dir)() = &HostApi::Tools::GetCurrentDir;
  std::string (*utf8_encode)(const WideString&) = &HostApi::Tools::Utf8Encode;
  WideString (*utf8_decode)(const std::string&) = &HostApi::Tools::Utf8Decode;
};

// Defined with external linkage, so that it is kept: its initialiser is what refers to the
// functions.
extern const HostFunctions kHostFunctions;
const HostFunctions kHostFunctions{};
