#include "standin/World.h"

#include <algorithm>

#include <fmt/format.h>

#include "standin/CallText.h"
#include "standin/Fatal.h"
#include "standin/HookRegistry.h"
#include "standin/Utf8.h"

namespace StandIn {
namespace {

// What fills a default object around its fields ("MISSION\0" and a number no version has).
constexpr uint64_t kMissionHeader = 0x004E4F495353494DULL;
constexpr int32_t kMissionFlags = -0x5EEDF1A6;
// The request type of a command: what an RCON client sends to run one.
constexpr int32_t kExecCommand = 2;
// The dispatcher's contents; plugins never look into it.
constexpr uint64_t kDispatcherBody = 0xD15BA7C4E5000000ULL;

[[noreturn]] void NotLive(const char* key, const void* object, const char* kind) {
  Fatal(fmt::format("{}: {} is not a live {} of this world", key, object, kind));
}

template <typename Object, typename Matches>
Object& FindLive(const std::vector<std::unique_ptr<Object>>& objects, Matches matches,
                 const char* key, const void* pointer, const char* kind) {
  for (const std::unique_ptr<Object>& object : objects) {
    if (matches(*object)) return *object;
  }
  NotLive(key, pointer, kind);
}

}  // namespace

MissionClass::MissionClass(const std::string& displayNameUtf8, int32_t version,
                           const std::string& tag)
    : tag_(tag) {
  object_.Header = kMissionHeader;
  object_.DisplayName.Assign(DecodeUtf8(displayNameUtf8));
  object_.Flags = kMissionFlags;
  object_.Version = version;
}

std::string MissionClass::DisplayName() const {
  return TextOf(object_.DisplayName.AsFString());
}

void MissionClass::SetDisplayName(const std::string& utf8) {
  object_.DisplayName.Assign(DecodeUtf8(utf8));
}

Controller::Controller(const std::string& characterNameUtf8)
    : characterName_(DecodeUtf8(characterNameUtf8)) {}

std::string Controller::CharacterName() const {
  return EncodeUtf8(characterName_);
}

const MissionDataValue* MissionDataBuff::Value(const std::string& tag,
                                               const std::string& entry) const {
  for (const MissionDataEntry& written : entries_) {
    if (written.Tag == tag && written.Entry == entry) return &written.Value;
  }
  return nullptr;
}

void MissionDataBuff::Write(const std::string& tag, const std::string& entry,
                            MissionDataValue value) {
  for (MissionDataEntry& written : entries_) {
    if (written.Tag == tag && written.Entry == entry) {
      written.Value = value;
      return;
    }
  }
  entries_.push_back({tag, entry, value});
}

Character::Character(Controller* owner, Controller* instigator, bool withMissionData)
    : owner_(owner),
      instigator_(instigator),
      missionData_(withMissionData ? std::make_unique<MissionDataBuff>() : nullptr) {}

RCONPacket* RconConnection::Receive(int32_t requestId, const std::string& body) {
  auto packet = std::make_unique<RconPacketLayout>();
  // The wire size: id, type, the body and its two terminating zero bytes.
  packet->Size = static_cast<int32_t>(2 * sizeof(int32_t) + body.size() + 2);
  packet->RequestId = requestId;
  packet->Type = kExecCommand;
  packet->Body.Assign(DecodeUtf8(body));
  packets_.push_back(std::move(packet));
  return reinterpret_cast<RCONPacket*>(packets_.back().get());
}

World::World() : dispatcher_(kDispatcherBody) {}

World::~World() = default;

MissionClass& World::AddMission(const std::string& displayNameUtf8, int32_t version,
                                const std::string& tag) {
  missions_.push_back(std::make_unique<MissionClass>(displayNameUtf8, version, tag));
  return *missions_.back();
}

Controller& World::AddController(const std::string& characterNameUtf8) {
  controllers_.push_back(std::make_unique<Controller>(characterNameUtf8));
  return *controllers_.back();
}

Character& World::AddCharacter(Controller* owner, Controller* instigator, bool withMissionData) {
  characters_.push_back(std::make_unique<Character>(OwnController(owner), OwnController(instigator),
                                                    withMissionData));
  return *characters_.back();
}

RconConnection& World::AddRconConnection() {
  connections_.push_back(std::make_unique<RconConnection>());
  return *connections_.back();
}

void World::RemoveRconConnection(RconConnection& connection) {
  const auto found = std::find_if(connections_.begin(), connections_.end(),
                                  [&connection](const std::unique_ptr<RconConnection>& own) {
                                    return own.get() == &connection;
                                  });
  if (found == connections_.end()) Fatal("RemoveRconConnection: not a connection of this world");
  connections_.erase(found);
}

MissionClass* World::FindMission(const std::string& displayNameUtf8) {
  for (const std::unique_ptr<MissionClass>& mission : missions_) {
    if (mission->DisplayName() == displayNameUtf8) return mission.get();
  }
  return nullptr;
}

uintptr_t World::StartMission(UClass* missionClass, APrimalCharacter* character, uintptr_t fourth) {
  CallText::Record("game starts mission", missionClass, character, fourth);
  auto entry =
      reinterpret_cast<StartMissionFunction>(Hooks::Entry("AMissionDispatcher.StartMission"));
  return entry(Dispatcher(), missionClass, character, fourth);
}

std::string World::NameText(FName name) const {
  return NameTextFor(name, "NameText");
}

MissionClass& World::MissionOfClass(const void* object, const char* key) {
  return FindLive(
      missions_, [object](MissionClass& mission) { return mission.Class() == object; }, key, object,
      "mission class");
}

MissionClass& World::MissionOfDefaultObject(const void* object, const char* key) {
  return FindLive(
      missions_, [object](MissionClass& mission) { return mission.DefaultObject() == object; }, key,
      object, "mission default object");
}

Controller& World::ControllerAt(const void* object, const char* key) {
  return FindLive(
      controllers_, [object](Controller& controller) { return controller.Object() == object; }, key,
      object, "player controller");
}

Character& World::CharacterAt(const void* object, const char* key) {
  return FindLive(
      characters_, [object](Character& character) { return character.Object() == object; }, key,
      object, "character");
}

MissionDataBuff& World::MissionDataAt(const void* object, const char* key) {
  for (const std::unique_ptr<Character>& character : characters_) {
    MissionDataBuff* buff = character->MissionData();
    if (buff != nullptr && buff->Object() == object) return *buff;
  }
  NotLive(key, object, "mission data buff");
}

RconConnection& World::ConnectionAt(const void* object, const char* key) {
  return FindLive(
      connections_, [object](RconConnection& connection) { return connection.Object() == object; },
      key, object, "RCON connection");
}

void World::CheckDispatcher(const void* object, const char* key) const {
  if (object != &dispatcher_) NotLive(key, object, "mission dispatcher");
}

std::string World::Describe(const void* object) const {
  if (object == nullptr) return "null";
  if (object == &dispatcher_) return "dispatcher";
  for (const std::unique_ptr<MissionClass>& mission : missions_) {
    if (mission->Class() == object) return fmt::format("class \"{}\"", mission->DisplayName());
    if (mission->DefaultObject() == object) {
      return fmt::format("mission \"{}\"", mission->DisplayName());
    }
  }
  for (const std::unique_ptr<Controller>& controller : controllers_) {
    if (controller->Object() == object) {
      return fmt::format("controller \"{}\"", controller->CharacterName());
    }
  }
  for (std::size_t i = 0; i < characters_.size(); ++i) {
    if (characters_[i]->Object() == object) return fmt::format("character {}", i + 1);
    const MissionDataBuff* buff = characters_[i]->MissionData();
    if (buff != nullptr && buff == object) return fmt::format("buff of character {}", i + 1);
  }
  for (std::size_t i = 0; i < connections_.size(); ++i) {
    if (connections_[i]->Object() == object) return fmt::format("rcon {}", i + 1);
  }
  return fmt::format("{}", object);
}

const std::string& World::NameTextFor(FName name, const char* key) const {
  const std::string* text = names_.Find(name);
  if (text == nullptr) {
    Fatal(fmt::format("{}: {:#x} is not a name made by FName.Init", key, name.Value));
  }
  return *text;
}

Controller* World::OwnController(Controller* controller) {
  if (controller == nullptr) return nullptr;
  return &FindLive(
      controllers_, [controller](Controller& own) { return &own == controller; }, "AddCharacter",
      controller, "controller");
}

}  // namespace StandIn
