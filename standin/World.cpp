#include <algorithm>

#include <fmt/format.h>

#include "standin/CallText.h"
#include "standin/Fatal.h"
#include "standin/GameWorld.h"
#include "standin/HookRegistry.h"
#include "standin/Utf8.h"
#include "standin/WorldFactory.h"

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

GameMission::GameMission(const std::string& displayNameUtf8, int32_t version,
                         const std::string& tag)
    : tag_(tag) {
  object_.Header = kMissionHeader;
  object_.DisplayName.Assign(DecodeUtf8(displayNameUtf8));
  object_.Flags = kMissionFlags;
  object_.Version = version;
}

std::string GameMission::DisplayName() const {
  return TextOf(object_.DisplayName.AsFString());
}

void GameMission::SetDisplayName(const std::string& utf8) {
  object_.DisplayName.Assign(DecodeUtf8(utf8));
}

GameController::GameController(const std::string& characterNameUtf8)
    : characterName_(DecodeUtf8(characterNameUtf8)) {}

std::string GameController::CharacterName() const {
  return EncodeUtf8(characterName_);
}

const MissionDataValue* GameMissionData::Value(const std::string& tag,
                                               const std::string& entry) const {
  for (const MissionDataEntry& written : entries_) {
    if (written.Tag == tag && written.Entry == entry) return &written.Value;
  }
  return nullptr;
}

void GameMissionData::Write(const std::string& tag, const std::string& entry,
                            MissionDataValue value) {
  for (MissionDataEntry& written : entries_) {
    if (written.Tag == tag && written.Entry == entry) {
      written.Value = value;
      return;
    }
  }
  entries_.push_back({tag, entry, value});
}

GameCharacter::GameCharacter(GameController* owner, GameController* instigator,
                             bool withMissionData)
    : owner_(owner),
      instigator_(instigator),
      missionData_(withMissionData ? std::make_unique<GameMissionData>() : nullptr) {}

RCONPacket* GameRconConnection::Receive(int32_t requestId, const std::string& body) {
  auto packet = std::make_unique<RconPacketLayout>();
  // The wire size: id, type, the body and its two terminating zero bytes.
  packet->Size = static_cast<int32_t>(2 * sizeof(int32_t) + body.size() + 2);
  packet->RequestId = requestId;
  packet->Type = kExecCommand;
  packet->Body.Assign(DecodeUtf8(body));
  packets_.push_back(std::move(packet));
  return reinterpret_cast<RCONPacket*>(packets_.back().get());
}

GameWorld::GameWorld() : dispatcher_(kDispatcherBody) {}

MissionClass& GameWorld::AddMission(const std::string& displayNameUtf8, int32_t version,
                                    const std::string& tag) {
  missions_.push_back(std::make_unique<GameMission>(displayNameUtf8, version, tag));
  return *missions_.back();
}

Controller& GameWorld::AddController(const std::string& characterNameUtf8) {
  controllers_.push_back(std::make_unique<GameController>(characterNameUtf8));
  return *controllers_.back();
}

Character& GameWorld::AddCharacter(Controller* owner, Controller* instigator,
                                   bool withMissionData) {
  characters_.push_back(std::make_unique<GameCharacter>(
      OwnController(owner), OwnController(instigator), withMissionData));
  return *characters_.back();
}

RconConnection& GameWorld::AddRconConnection() {
  connections_.push_back(std::make_unique<GameRconConnection>());
  return *connections_.back();
}

void GameWorld::RemoveRconConnection(RconConnection& connection) {
  const auto found = std::find_if(connections_.begin(), connections_.end(),
                                  [&connection](const std::unique_ptr<GameRconConnection>& own) {
                                    return own.get() == &connection;
                                  });
  if (found == connections_.end()) Fatal("RemoveRconConnection: not a connection of this world");
  connections_.erase(found);
}

MissionClass* GameWorld::FindMission(const std::string& displayNameUtf8) {
  for (const std::unique_ptr<GameMission>& mission : missions_) {
    if (mission->DisplayName() == displayNameUtf8) return mission.get();
  }
  return nullptr;
}

uintptr_t GameWorld::StartMission(UClass* missionClass, APrimalCharacter* character,
                                  uintptr_t fourth) {
  CallText::Record("game starts mission", missionClass, character, fourth);
  auto entry =
      reinterpret_cast<StartMissionFunction>(Hooks::Entry("AMissionDispatcher.StartMission"));
  return entry(Dispatcher(), missionClass, character, fourth);
}

std::string GameWorld::NameText(FName name) const {
  return NameTextFor(name, "NameText");
}

GameMission& GameWorld::MissionOfClass(const void* object, const char* key) {
  return FindLive(
      missions_, [object](GameMission& mission) { return mission.Class() == object; }, key, object,
      "mission class");
}

GameMission& GameWorld::MissionOfDefaultObject(const void* object, const char* key) {
  return FindLive(
      missions_, [object](GameMission& mission) { return mission.DefaultObject() == object; }, key,
      object, "mission default object");
}

GameController& GameWorld::ControllerAt(const void* object, const char* key) {
  return FindLive(
      controllers_, [object](GameController& controller) { return controller.Object() == object; },
      key, object, "player controller");
}

GameCharacter& GameWorld::CharacterAt(const void* object, const char* key) {
  return FindLive(
      characters_, [object](GameCharacter& character) { return character.Object() == object; }, key,
      object, "character");
}

GameMissionData& GameWorld::MissionDataAt(const void* object, const char* key) {
  for (const std::unique_ptr<GameCharacter>& character : characters_) {
    GameMissionData* buff = character->MissionData();
    if (buff != nullptr && buff->Object() == object) return *buff;
  }
  NotLive(key, object, "mission data buff");
}

GameRconConnection& GameWorld::ConnectionAt(const void* object, const char* key) {
  return FindLive(
      connections_,
      [object](GameRconConnection& connection) { return connection.Object() == object; }, key,
      object, "RCON connection");
}

void GameWorld::CheckDispatcher(const void* object, const char* key) const {
  if (object != &dispatcher_) NotLive(key, object, "mission dispatcher");
}

std::string GameWorld::Describe(const void* object) const {
  if (object == nullptr) return "null";
  if (object == &dispatcher_) return "dispatcher";
  for (const std::unique_ptr<GameMission>& mission : missions_) {
    if (mission->Class() == object) return fmt::format("class \"{}\"", mission->DisplayName());
    if (mission->DefaultObject() == object) {
      return fmt::format("mission \"{}\"", mission->DisplayName());
    }
  }
  for (const std::unique_ptr<GameController>& controller : controllers_) {
    if (controller->Object() == object) {
      return fmt::format("controller \"{}\"", controller->CharacterName());
    }
  }
  for (std::size_t i = 0; i < characters_.size(); ++i) {
    if (characters_[i]->Object() == object) return fmt::format("character {}", i + 1);
    const GameMissionData* buff = characters_[i]->MissionData();
    if (buff != nullptr && buff == object) return fmt::format("buff of character {}", i + 1);
  }
  for (std::size_t i = 0; i < connections_.size(); ++i) {
    if (connections_[i]->Object() == object) return fmt::format("rcon {}", i + 1);
  }
  return fmt::format("{}", object);
}

const std::string& GameWorld::NameTextFor(FName name, const char* key) const {
  const std::string* text = names_.Find(name);
  if (text == nullptr) {
    Fatal(fmt::format("{}: {:#x} is not a name made by FName.Init", key, name.Value));
  }
  return *text;
}

GameController* GameWorld::OwnController(Controller* controller) {
  if (controller == nullptr) return nullptr;
  return &FindLive(
      controllers_, [controller](GameController& own) { return &own == controller; },
      "AddCharacter", controller, "controller");
}

GameWorld& RunningWorld() {
  return static_cast<GameWorld&>(CurrentWorld());
}

std::unique_ptr<World> MakeWorld() {
  return std::make_unique<GameWorld>();
}

}  // namespace StandIn
