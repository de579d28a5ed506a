#include "standin/CommandRegistry.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>
#include <vector>

#include "standin/GameString.h"
#include "standin/Utf8.h"

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

class CommandRegistry final : public HostApi::ICommands {
 public:
  void AddChatCommand(const FString& name, const HostApi::ChatCommand& handler) override {
    chat_.Add(Key(name), handler);
  }
  void AddConsoleCommand(const FString& name, const HostApi::ConsoleCommand& handler) override {
    console_.Add(Key(name), handler);
  }
  void AddRconCommand(const FString& name, const HostApi::RconCommand& handler) override {
    rcon_.Add(Key(name), handler);
  }
  bool RemoveChatCommand(const FString& name) override { return chat_.Remove(Key(name)); }
  bool RemoveConsoleCommand(const FString& name) override { return console_.Remove(Key(name)); }
  bool RemoveRconCommand(const FString& name) override { return rcon_.Remove(Key(name)); }
  std::vector<std::string> CommandNames() const override {
    std::vector<std::string> names;
    chat_.AppendNames(names);
    console_.AppendNames(names);
    rcon_.AppendNames(names);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
  }

  Table<HostApi::ChatCommand> chat_;
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
  HostApi::ConsoleCommand handler = TheRegistry().console_.Find(Key(FirstWord(line)));
  if (!handler) return false;
  GameString text(DecodeUtf8(line));
  handler(player, text.AsFString(), false);
  return true;
}

bool RunRcon(const std::string& body, RCONClientConnection* connection, RCONPacket* request) {
  HostApi::RconCommand handler = TheRegistry().rcon_.Find(Key(FirstWord(body)));
  if (!handler) return false;
  handler(connection, request, HostApi::GetApiUtils().GetWorld());
  return true;
}

bool RunChat(const std::string& line, AShooterPlayerController* player) {
  HostApi::ChatCommand handler = TheRegistry().chat_.Find(Key(FirstWord(line)));
  if (!handler) return false;
  GameString text(DecodeUtf8(line));
  handler(player, text.AsFString());
  return true;
}

void Clear() {
  TheRegistry().chat_.Clear();
  TheRegistry().console_.Clear();
  TheRegistry().rcon_.Clear();
}

}  // namespace StandIn::Commands
