#include "standin/CommandRegistry.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>
#include <vector>

#include "host-bridge/Color.h"
#include "standin/CallText.h"
#include "standin/Fatal.h"
#include "standin/Faults.h"
#include "standin/GameFunctions.h"
#include "standin/GameString.h"
#include "standin/GameWorld.h"
#include "common/Utf8.h"

namespace StandIn::Commands {
namespace {

// Command names are matched without regard to ASCII case, as server consoles do.
std::string Key(const std::string& name) {
  std::string key = name;
  std::transform(key.begin(), key.end(), key.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return key;
}

std::string Key(const FString& name) {
  return Key(TextOf(&name));
}

std::string FirstWord(const std::string& line) {
  const auto begin = line.find_first_not_of(" \t");
  if (begin == std::string::npos) return {};
  const auto end = line.find_first_of(" \t", begin);
  return line.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

// The host's answer to a line whose first word names no command; "" for a blank line.
std::string UnknownCommandAnswer(const std::string& line) {
  const std::string word = FirstWord(line);
  return word.empty() ? std::string() : "Unknown command: " + word;
}

// The host's own messages are plain white.
constexpr LinearColor kHostMessageColor{1.0f, 1.0f, 1.0f, 1.0f};

// The host tells a player something the way the game delivers chat.
void TellPlayer(APlayerController* player, const std::string& text) {
  GameString message(Text::DecodeUtf8(text));
  LinearColor color = kHostMessageColor;
  SendChat(reinterpret_cast<AShooterPlayerController*>(player), message.AsFString(), &color, false);
}

// The host answers an RCON client the way the game sends RCON replies.
void AnswerRcon(RCONClientConnection* connection, int32_t requestId, const std::string& text) {
  GameString message(Text::DecodeUtf8(text));
  SendRconMessage(connection, requestId, 0, message.AsFString());
}

template <typename Handler>
class Table {
 public:
  void Add(const std::string& key, const Handler& handler) {
    std::lock_guard<std::mutex> guard(lock_);
    handlers_[key] = handler;
  }
  bool Remove(const std::string& key) {
    std::lock_guard<std::mutex> guard(lock_);
    return handlers_.erase(key) != 0;
  }
  // A copy, so that a handler may add or remove commands while it runs.
  Handler Find(const std::string& key) const {
    std::lock_guard<std::mutex> guard(lock_);
    auto found = handlers_.find(key);
    return found == handlers_.end() ? Handler() : found->second;
  }
  void AppendNames(std::vector<std::string>& names) const {
    std::lock_guard<std::mutex> guard(lock_);
    for (const auto& entry : handlers_) names.push_back(entry.first);
  }
  void Clear() {
    std::lock_guard<std::mutex> guard(lock_);
    handlers_.clear();
  }

 private:
  mutable std::mutex lock_;
  std::map<std::string, Handler> handlers_;
};

// A registry operation as it crossed: journalled, counted as a fallible host call; the key of
// the name it was handed, which must be readable (GameString.h).
std::string Handed(const char* operation, const FString& name) {
  Journal::Record([&] { return fmt::format("ICommands.{}({})", operation, CallText::Arg(&name)); });
  Faults::HostCall(operation);
  const std::string flaw = UnreadableBecause(name);
  if (!flaw.empty()) Fatal(fmt::format("ICommands.{}: {}", operation, flaw));
  return Key(name);
}

// A call of an entry that only holds a place in the host's table means the caller's idea of the
// table is not the host's.
[[noreturn]] void UnusedEntryCalled(const char* entry) {
  Fatal(std::string("ICommands.") + entry + ": a plugin called an entry of the host's command " +
        "table that only holds a place; its declaration of the table is not the host's");
}

class CommandRegistry final : public HostApi::ICommands {
 public:
  void UnusedBeforeAdd() override { UnusedEntryCalled("UnusedBeforeAdd"); }
  void UnusedBetweenAddAndRemove() override { UnusedEntryCalled("UnusedBetweenAddAndRemove"); }
  void UnusedAfterRemove() override { UnusedEntryCalled("UnusedAfterRemove"); }
  void AddConsoleCommand(const FString& name, const HostApi::ConsoleCommand& handler) override {
    console_.Add(Handed("AddConsoleCommand", name), handler);
  }
  void AddRconCommand(const FString& name, const HostApi::RconCommand& handler) override {
    rcon_.Add(Handed("AddRconCommand", name), handler);
  }
  bool RemoveConsoleCommand(const FString& name) override {
    return console_.Remove(Handed("RemoveConsoleCommand", name));
  }
  bool RemoveRconCommand(const FString& name) override {
    return rcon_.Remove(Handed("RemoveRconCommand", name));
  }
  std::vector<std::string> CommandNames() const {
    std::vector<std::string> names;
    console_.AppendNames(names);
    rcon_.AppendNames(names);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
  }

  Table<HostApi::ConsoleCommand> console_;
  Table<HostApi::RconCommand> rcon_;
};

CommandRegistry& TheRegistry() {
  static CommandRegistry registry;
  return registry;
}

}  // namespace

HostApi::ICommands& Registry() {
  return TheRegistry();
}

bool RunConsole(const std::string& line, APlayerController* player) {
  Journal::Record(
      [&] { return fmt::format("console {} {}", CallText::Arg(player), CallText::Quoted(line)); });
  HostApi::ConsoleCommand handler = TheRegistry().console_.Find(Key(FirstWord(line)));
  if (!handler) return false;
  GameString text(Text::DecodeUtf8(line));
  handler(player, text.AsFString(), false);
  return true;
}

bool RunRcon(const std::string& body, RCONClientConnection* connection, RCONPacket* request) {
  Journal::Record(
      [&] { return fmt::format("{} {}", CallText::Arg(connection), CallText::Quoted(body)); });
  HostApi::RconCommand handler = TheRegistry().rcon_.Find(Key(FirstWord(body)));
  if (!handler) return false;
  handler(connection, request, reinterpret_cast<UWorld*>(&CurrentWorld()));
  return true;
}

std::vector<std::string> Names() {
  return TheRegistry().CommandNames();
}

std::string Console(const std::string& line, APlayerController* player) {
  if (RunConsole(line, player)) return {};
  std::string answer = UnknownCommandAnswer(line);
  if (player != nullptr && !answer.empty()) TellPlayer(player, answer);
  return answer;
}

std::string Rcon(RconConnection& connection, int32_t requestId, const std::string& body) {
  RCONPacket* request = connection.Receive(requestId, body);
  if (RunRcon(body, connection.Object(), request)) return {};
  std::string answer = UnknownCommandAnswer(body);
  if (!answer.empty()) AnswerRcon(connection.Object(), requestId, answer);
  return answer;
}

void Clear() {
  TheRegistry().console_.Clear();
  TheRegistry().rcon_.Clear();
}

}  // namespace StandIn::Commands
