#include "standin/GameWorld.h"

#include <algorithm>

#include <fmt/format.h>

#include "standin/CallText.h"
#include "standin/Fatal.h"
#include "standin/HookRegistry.h"
#include "common/Utf8.h"

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

// `controller` itself, checked to be one of `controllers`, or null.
Controller* OwnController(const std::vector<std::unique_ptr<Controller>>& controllers,
                          Controller* controller) {
  if (controller == nullptr) return nullptr;
  return &FindLive(
      controllers, [controller](Controller& own) { return &own == controller; }, "AddCharacter",
      controller, "controller");
}

const std::string& NameTextIn(const NameTable& names, FName name, const char* key) {
  const std::string* text = names.Find(name);
  if (text == nullptr) {
    Fatal(fmt::format("{}: {:#x} is not a name made by FName.Init", key, name.Value));
  }
  return *text;
}

}  // namespace

MissionClass::MissionClass(const std::string& displayNameUtf8, int32_t version,
                           const std::string& tag)
    : tag_(tag), object_(std::make_unique<DefaultObjectLayout>()) {
  object_->Header = kMissionHeader;
  object_->DisplayName.Assign(Text::DecodeUtf8(displayNameUtf8));
  object_->Flags = kMissionFlags;
  object_->Version = version;
}

MissionClass::~MissionClass() = default;

AMissionType* MissionClass::DefaultObject() {
  return reinterpret_cast<AMissionType*>(object_.get());
}

std::string MissionClass::DisplayName() const {
  return TextOf(object_->DisplayName.AsFString());
}

void MissionClass::SetDisplayName(const std::string& utf8) {
  object_->DisplayName.Assign(Text::DecodeUtf8(utf8));
}

int32_t MissionClass::Version() const {
  return object_->Version;
}

Controller::Controller(const std::string& characterNameUtf8)
    : characterName_(Text::DecodeUtf8(characterNameUtf8)) {}

std::string Controller::CharacterName() const {
  return Text::EncodeUtf8(characterName_);
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

RconConnection::RconConnection() = default;

RconConnection::~RconConnection() = default;

RCONPacket* RconConnection::Receive(int32_t requestId, const std::string& body) {
  auto packet = std::make_unique<PacketLayout>();
  // The wire size: id, type, the body and its two terminating zero bytes.
  packet->Size = static_cast<int32_t>(2 * sizeof(int32_t) + body.size() + 2);
  packet->RequestId = requestId;
  packet->Type = kExecCommand;
  packet->Body.Assign(Text::DecodeUtf8(body));
  packets_.push_back(std::move(packet));
  return reinterpret_cast<RCONPacket*>(packets_.back().get());
}

World::World() : objects_(std::make_unique<Objects>()) {
  objects_->Dispatcher = kDispatcherBody;
}

World::~World() = default;

const Player* Roster::FindPlayer(const std::string& name) const {
  for (const Player& player : players_) {
    if (player.Name == name) return &player;
  }
  return nullptr;
}

const Player* Roster::FindController(const void* controller) const {
  for (const Player& player : players_) {
    if (player.Controller != nullptr && player.Controller->Object() == controller) return &player;
  }
  return nullptr;
}

const Mission* Roster::FindMission(const std::string& name) const {
  for (const Mission& mission : missions_) {
    if (mission.Name == name) return &mission;
  }
  return nullptr;
}

Roster World::Populate(const WorldPlan& plan) {
  // Every World is the running server's GameWorld (only it can construct one).
  GameWorld& world = static_cast<GameWorld&>(*this);
  Roster roster;
  for (const MissionPlan& mission : plan.Missions) {
    roster.missions_.push_back(
        {mission.Name, &world.AddMission(mission.Name, mission.Version, mission.Tag)});
  }
  // Controllers first, so that a character may be instigated by any player's.
  for (const PlayerPlan& player : plan.Players) {
    StandIn::Controller* controller =
        player.Controller ? &world.AddController(player.Name) : nullptr;
    roster.players_.push_back({player.Name, controller, nullptr});
  }
  for (std::size_t i = 0; i < plan.Players.size(); ++i) {
    const PlayerPlan& player = plan.Players[i];
    StandIn::Controller* own = roster.players_[i].Controller;
    StandIn::Controller* instigator = player.Instigated ? own : nullptr;
    if (!player.InstigatedBy.empty()) {
      const Player* by = roster.FindPlayer(player.InstigatedBy);
      if (player.Instigated || by == nullptr || by->Controller == nullptr) {
        Fatal(fmt::format("Populate: player \"{}\" cannot be instigated by \"{}\"", player.Name,
                          player.InstigatedBy));
      }
      instigator = by->Controller;
    }
    StandIn::Character& character =
        world.AddCharacter(player.Instigated ? nullptr : own, instigator, player.MissionData);
    character.SetDead(!player.Alive);
    roster.players_[i].Character = &character;
  }
  return roster;
}

MissionClass& GameWorld::AddMission(const std::string& displayNameUtf8, int32_t version,
                                    const std::string& tag) {
  objects_->Missions.push_back(std::make_unique<MissionClass>(displayNameUtf8, version, tag));
  return *objects_->Missions.back();
}

Controller& GameWorld::AddController(const std::string& characterNameUtf8) {
  objects_->Controllers.push_back(std::make_unique<Controller>(characterNameUtf8));
  return *objects_->Controllers.back();
}

Character& GameWorld::AddCharacter(Controller* owner, Controller* instigator,
                                   bool withMissionData) {
  objects_->Characters.push_back(std::make_unique<Character>(
      OwnController(objects_->Controllers, owner), OwnController(objects_->Controllers, instigator),
      withMissionData));
  return *objects_->Characters.back();
}

RconConnection& World::AddRconConnection() {
  objects_->Connections.push_back(std::make_unique<RconConnection>());
  return *objects_->Connections.back();
}

void World::RemoveRconConnection(RconConnection& connection) {
  const auto found = std::find_if(objects_->Connections.begin(), objects_->Connections.end(),
                                  [&connection](const std::unique_ptr<RconConnection>& own) {
                                    return own.get() == &connection;
                                  });
  if (found == objects_->Connections.end())
    Fatal("RemoveRconConnection: not a connection of this world");
  objects_->Connections.erase(found);
}

MissionClass* World::FindMission(const std::string& displayNameUtf8) {
  for (const std::unique_ptr<MissionClass>& mission : objects_->Missions) {
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

AMissionDispatcher* World::Dispatcher() {
  return reinterpret_cast<AMissionDispatcher*>(&objects_->Dispatcher);
}

uintptr_t World::LastGameResult() const {
  return objects_->LastGameResult;
}

std::string World::NameText(FName name) const {
  return NameTextIn(objects_->Names, name, "NameText");
}

GameWorld::GameWorld() = default;

GameWorld::~GameWorld() = default;

MissionClass& GameWorld::MissionOfClass(const void* object, const char* key) {
  return FindLive(
      objects_->Missions, [object](MissionClass& mission) { return mission.Class() == object; },
      key, object, "mission class");
}

MissionClass& GameWorld::MissionOfDefaultObject(const void* object, const char* key) {
  return FindLive(
      objects_->Missions,
      [object](MissionClass& mission) { return mission.DefaultObject() == object; }, key, object,
      "mission default object");
}

Controller& GameWorld::ControllerAt(const void* object, const char* key) {
  return FindLive(
      objects_->Controllers,
      [object](Controller& controller) { return controller.Object() == object; }, key, object,
      "player controller");
}

Character& GameWorld::CharacterAt(const void* object, const char* key) {
  return FindLive(
      objects_->Characters, [object](Character& character) { return character.Object() == object; },
      key, object, "character");
}

MissionDataBuff& GameWorld::MissionDataAt(const void* object, const char* key) {
  for (const std::unique_ptr<Character>& character : objects_->Characters) {
    MissionDataBuff* buff = character->MissionData();
    if (buff != nullptr && buff->Object() == object) return *buff;
  }
  NotLive(key, object, "mission data buff");
}

RconConnection& GameWorld::ConnectionAt(const void* object, const char* key) {
  return FindLive(
      objects_->Connections,
      [object](RconConnection& connection) { return connection.Object() == object; }, key, object,
      "RCON connection");
}

FString* GameWorld::DisplayNameFieldAt(const void* object, const char* key) {
  return MissionOfDefaultObject(object, key).object_->DisplayName.AsFString();
}

int32_t* GameWorld::VersionFieldAt(const void* object, const char* key) {
  return &MissionOfDefaultObject(object, key).object_->Version;
}

const WideString& GameWorld::CharacterNameAt(const void* object, const char* key) {
  return ControllerAt(object, key).characterName_;
}

void GameWorld::CheckDispatcher(const void* object, const char* key) const {
  if (object != &objects_->Dispatcher) NotLive(key, object, "mission dispatcher");
}

std::string GameWorld::Describe(const void* object) const {
  if (object == nullptr) return "null";
  if (object == &objects_->Dispatcher) return "dispatcher";
  for (const std::unique_ptr<MissionClass>& mission : objects_->Missions) {
    if (mission->Class() == object) return fmt::format("class \"{}\"", mission->DisplayName());
    if (mission->DefaultObject() == object) {
      return fmt::format("mission \"{}\"", mission->DisplayName());
    }
  }
  for (const std::unique_ptr<Controller>& controller : objects_->Controllers) {
    if (controller->Object() == object) {
      return fmt::format("controller \"{}\"", controller->CharacterName());
    }
  }
  for (std::size_t i = 0; i < objects_->Characters.size(); ++i) {
    if (objects_->Characters[i]->Object() == object) return fmt::format("character {}", i + 1);
    const MissionDataBuff* buff = objects_->Characters[i]->MissionData();
    if (buff != nullptr && buff == object) return fmt::format("buff of character {}", i + 1);
  }
  for (std::size_t i = 0; i < objects_->Connections.size(); ++i) {
    if (objects_->Connections[i]->Object() == object) return fmt::format("rcon {}", i + 1);
  }
  return fmt::format("{}", object);
}

const std::string* GameWorld::InternedText(FName name) const {
  return objects_->Names.Find(name);
}

const std::string& GameWorld::NameTextFor(FName name, const char* key) const {
  return NameTextIn(objects_->Names, name, key);
}

}  // namespace StandIn
