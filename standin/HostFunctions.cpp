// The functions plugins import, over the stand-in server.
#include "host-bridge/HostApi.h"

#include "standin/CallText.h"
#include "standin/CommandRegistry.h"
#include "standin/Faults.h"
#include "standin/FunctionTable.h"
#include "standin/HookRegistry.h"
#include "standin/ServerState.h"
#include "common/Utf8.h"

using StandIn::CallText::Quoted;
using StandIn::CallText::Record;

void* GetAddress(const std::string& key) {
  Record("GetAddress", key.c_str());
  StandIn::Faults::HostCall("GetAddress", &key);
  return StandIn::FunctionTable::Function(key);
}

uint64_t GetAddress(const void* object, const std::string& key) {
  Record("GetAddress", object, key.c_str());
  StandIn::Faults::HostCall("GetAddress");
  return StandIn::FunctionTable::Field(object, key);
}

std::vector<std::shared_ptr<spdlog::sinks::sink>>& GetLogSinks() {
  Record("GetLogSinks");
  StandIn::Faults::HostCall("GetLogSinks");
  return StandIn::RunningState().Sinks;
}

namespace HostApi {

IHooks& GetHooks() {
  Record("GetHooks");
  StandIn::Faults::HostCall("GetHooks");
  return StandIn::Hooks::Registry();
}

ICommands& GetCommands() {
  Record("GetCommands");
  StandIn::Faults::HostCall("GetCommands");
  return StandIn::Commands::Registry();
}

namespace Tools {

std::string GetCurrentDir() {
  Record("GetCurrentDir");
  StandIn::Faults::HostCall("GetCurrentDir");
  return StandIn::RunningState().Directory;
}

std::string Utf8Encode(const WideString& text) {
  std::string encoded = Text::EncodeUtf8(text);
  StandIn::Journal::Record([&] { return "Utf8Encode(" + Quoted(encoded) + ")"; });
  StandIn::Faults::HostCall("Utf8Encode");
  return encoded;
}

WideString Utf8Decode(const std::string& text) {
  Record("Utf8Decode", text.c_str());
  StandIn::Faults::HostCall("Utf8Decode");
  return Text::DecodeUtf8(text);
}

}  // namespace Tools
}  // namespace HostApi
