#include "standin/JournalViews.h"

#include <fmt/format.h>

#include "standin/Fatal.h"

namespace StandIn::Journal {
namespace {

// The arguments of an entry as a view reads them: exactly as many as the view names, each of the
// type it expects. Any other shape is the recording side's fault, and Fatal.
class Arguments {
 public:
  Arguments(const Entry& entry, const char* view, std::size_t count) : entry_(entry), view_(view) {
    if (entry.Arguments.size() != count) {
      Fail(fmt::format("{} arguments, not {}", entry.Arguments.size(), count));
    }
  }

  const void* Object(std::size_t index) const { return At<const void*>(index, "an object"); }
  const std::string& Text(std::size_t index) const { return At<std::string>(index, "text"); }
  LinearColor Colour(std::size_t index) const { return At<LinearColor>(index, "a colour"); }
  int64_t Integer(std::size_t index) const { return At<int64_t>(index, "an integer"); }
  double Real(std::size_t index) const { return At<double>(index, "a real number"); }
  bool Flag(std::size_t index) const { return Integer(index) != 0; }

 private:
  template <typename Type>
  const Type& At(std::size_t index, const char* what) const {
    const Type* value = std::get_if<Type>(&entry_.Arguments[index]);
    if (value == nullptr) Fail(fmt::format("argument {} is not {}", index + 1, what));
    return *value;
  }

  [[noreturn]] void Fail(const std::string& what) const {
    Fatal(fmt::format("journal entry read as {}: {}; the entry: {}", view_, what, entry_.Text));
  }

  const Entry& entry_;
  const char* view_;
};

}  // namespace

std::optional<Notification> Notification::From(const Entry& entry) {
  if (entry.Call != kKey) return std::nullopt;
  const Arguments arguments(entry, "a notification", 7);
  return Notification{arguments.Object(0),
                      arguments.Text(1),
                      arguments.Colour(2),
                      static_cast<float>(arguments.Real(3)),
                      static_cast<float>(arguments.Real(4)),
                      arguments.Object(5),
                      arguments.Object(6)};
}

std::optional<ChatMessage> ChatMessage::From(const Entry& entry) {
  if (entry.Call != kKey) return std::nullopt;
  const Arguments arguments(entry, "a chat message", 4);
  return ChatMessage{arguments.Object(0), arguments.Text(1), arguments.Colour(2),
                     arguments.Flag(3)};
}

std::optional<RconReply> RconReply::From(const Entry& entry) {
  if (entry.Call != kKey) return std::nullopt;
  const Arguments arguments(entry, "an RCON reply", 4);
  return RconReply{arguments.Object(0), static_cast<int32_t>(arguments.Integer(1)),
                   static_cast<int32_t>(arguments.Integer(2)), arguments.Text(3)};
}

std::optional<MissionDataWrite> MissionDataWrite::From(const Entry& entry) {
  const bool boolean = entry.Call == kBoolKey;
  const bool integer = entry.Call == kIntKey;
  if (!boolean && !integer && entry.Call != kDoubleKey) return std::nullopt;
  const Arguments arguments(entry, "a mission data write", 4);
  MissionDataWrite write{arguments.Object(0), arguments.Text(1), arguments.Text(2), {}};
  if (boolean) {
    write.Value = arguments.Flag(3);
  } else if (integer) {
    write.Value = static_cast<int32_t>(arguments.Integer(3));
  } else {
    write.Value = arguments.Real(3);
  }
  return write;
}

std::optional<Replication> Replication::From(const Entry& entry) {
  if (entry.Call != kKey) return std::nullopt;
  const Arguments arguments(entry, "a replication", 3);
  return Replication{arguments.Object(0), arguments.Flag(1), arguments.Flag(2)};
}

std::optional<GameStart> GameStart::From(const Entry& entry) {
  if (entry.Call != kKey) return std::nullopt;
  const Arguments arguments(entry, "a game start", 4);
  return GameStart{arguments.Object(0), arguments.Object(1), arguments.Object(2),
                   static_cast<uintptr_t>(arguments.Integer(3))};
}

std::optional<LogLine> LogLine::From(const Entry& entry) {
  if (entry.Call != kKey) return std::nullopt;
  const Arguments arguments(entry, "a log line", 3);
  return LogLine{arguments.Text(0), arguments.Text(1), arguments.Text(2)};
}

}  // namespace StandIn::Journal
