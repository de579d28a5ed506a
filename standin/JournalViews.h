// The journal's entries as typed views: for each call a reader cares about, the key it is
// recorded under and its arguments by name and type, declared here once. The game functions
// record under these keys; the sandbox, the soak run, the fuzzers and the tests pick the calls
// they read through the views, never by key text and argument position: the notifications, chat
// messages and RCON replies the game sent, the mission data it wrote and replicated, the mission
// starts that reached it, and the messages of a logger at a level. A view reads the one record,
// the journal: it keeps nothing of its own.
//
// Tests still match the journal's text in four cases, where a view cannot say what they check:
// - the order of calls of different kinds: a whole trace, mission data written before it is
//   replicated;
// - the host's own calls, which no view types (function lookups, memory, hooks, commands, log
//   sinks), and the faults the stand-in injected into them;
// - log lines compared whole as the host's sinks received them, "log [logger][level] message",
//   the line an operator reads;
// - a fault run's record, which the fault harness keeps as text so that a failing run is shown
//   whole beside the fault that struck it.
//
// `From(entry)` is the call `entry` records when it is of the view's key, and none for any other
// entry. An entry of the key whose arguments do not have the view's types is a fault of the
// stand-in itself: Fatal, naming the entry.
#pragma once

#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "host-bridge/Color.h"
#include "standin/Api.h"
#include "standin/Journal.h"

namespace StandIn::Journal {

// The game shows a player an on-screen notification.
struct Notification {
  static constexpr const char* kKey = "AShooterPlayerController.ClientServerSOTFNotificationCustom";
  const void* Controller;
  std::string Text;
  LinearColor Colour;
  float First;  // the two numbers the game was handed
  float Second;
  const void* Texture;
  const void* Sound;

  STANDIN_API static std::optional<Notification> From(const Entry& entry);
};

// The game sends a player a chat message.
struct ChatMessage {
  static constexpr const char* kKey = "AShooterPlayerController.ClientServerChatDirectMessage";
  const void* Controller;
  std::string Text;
  LinearColor Colour;
  bool Flag;

  STANDIN_API static std::optional<ChatMessage> From(const Entry& entry);
};

// The game sends an RCON client a reply.
struct RconReply {
  static constexpr const char* kKey = "RCONClientConnection.SendMessageW";
  const void* Connection;
  int32_t RequestId;
  int32_t Type;
  std::string Text;

  STANDIN_API static std::optional<RconReply> From(const Entry& entry);
};

// The game writes an entry of a character's mission data, through the call of the value's type.
struct MissionDataWrite {
  static constexpr const char* kBoolKey = "APrimalBuff_MissionData.SetMissionData_Bool";
  static constexpr const char* kIntKey = "APrimalBuff_MissionData.SetMissionData_Int";
  static constexpr const char* kDoubleKey = "APrimalBuff_MissionData.SetMissionData_Double";
  static constexpr const char* kKeys[] = {kBoolKey, kIntKey, kDoubleKey};
  const void* Buff;
  std::string Tag;   // the mission's tag
  std::string Name;  // the entry's name ("Complete", ...)
  std::variant<bool, int32_t, double> Value;

  STANDIN_API static std::optional<MissionDataWrite> From(const Entry& entry);
};

// The game replicates an actor (a mission data buff) at once.
struct Replication {
  static constexpr const char* kKey = "AActor.ForceReplicateNow";
  const void* Actor;
  bool First;  // the two flags the game was handed
  bool Second;

  STANDIN_API static std::optional<Replication> From(const Entry& entry);
};

// A mission start reaches the game's own function.
struct GameStart {
  static constexpr const char* kKey = "AMissionDispatcher.StartMission";
  const void* Dispatcher;
  const void* MissionClass;
  const void* Character;
  uintptr_t Fourth;

  STANDIN_API static std::optional<GameStart> From(const Entry& entry);
};

// A line written to the host's log sinks.
struct LogLine {
  static constexpr const char* kKey = "log";
  std::string Logger;
  std::string Level;  // "info", "critical", ...
  std::string Message;

  STANDIN_API static std::optional<LogLine> From(const Entry& entry);
};

// The calls `View` reads among `entries`, in order.
template <typename View>
std::vector<View> All(const std::vector<Entry>& entries) {
  std::vector<View> views;
  for (const Entry& entry : entries) {
    if (std::optional<View> view = View::From(entry)) views.push_back(std::move(*view));
  }
  return views;
}

namespace Detail {
// A view of one call names its key kKey; a view of several, their keys kKeys.
template <typename View, typename = void>
struct KeysOf {
  static void AddTo(std::vector<std::string>& keys) { keys.emplace_back(View::kKey); }
};
template <typename View>
struct KeysOf<View, std::void_t<decltype(View::kKeys)>> {
  static void AddTo(std::vector<std::string>& keys) {
    keys.insert(keys.end(), std::begin(View::kKeys), std::end(View::kKeys));
  }
};
}  // namespace Detail

// The keys of the calls the views `Views` read: what a reader that reads only those asks Start
// to record.
template <typename... Views>
std::vector<std::string> KeysOf() {
  std::vector<std::string> keys;
  (Detail::KeysOf<Views>::AddTo(keys), ...);
  return keys;
}

}  // namespace StandIn::Journal
