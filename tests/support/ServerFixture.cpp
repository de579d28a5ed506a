#include "support/ServerFixture.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

#if defined(_WIN32)
#include <windows.h>
#endif

#include "plugin/QuestVetoClient.h"
#include "standin/HeapAndFaults.h"
#include "standin/Journal.h"
#include "standin/JournalViews.h"
#include "standin/Registries.h"
#include "standin/ScratchServer.h"
#include "standin/World.h"
#include "support/OwnExportName.h"

void ServerTest::SetUp() {
  freshCopies_ = false;
  server_.emplace(StandIn::ScratchServer::Options().Fresh("qv-test-").Record());
}

void ServerTest::TearDown() {
  StandIn::Faults::Disarm();
  server_.reset();
}

void ServerTest::Restart() {
  TearDown();
  SetUp();
}

void ServerTest::RestartWith(const std::string& config) {
  Restart();
  LoadWith(config);
  EXPECT_TRUE(Messages("critical").empty()) << "config not read: " << config;
}

void ServerTest::MakeConfigUnreadable() const {
  RemoveConfig();
  std::filesystem::create_directories(std::filesystem::u8path(ConfigPath()));
}

void ServerTest::WriteBesideConfig(const std::string& name, const std::string& text) const {
  const std::filesystem::path directory = std::filesystem::u8path(ConfigPath()).parent_path();
  std::filesystem::create_directories(directory);
  std::ofstream(directory / name, std::ios::binary) << text;
}

namespace {

// The plugin file the build made; on Windows it lies beside the test executable.
std::filesystem::path PluginFile() {
#if defined(_WIN32)
  wchar_t executable[MAX_PATH];
  GetModuleFileNameW(nullptr, executable, MAX_PATH);
  return std::filesystem::path(executable).parent_path() / QV_PLUGIN_PATH;
#else
  return std::filesystem::u8path(QV_PLUGIN_PATH);
#endif
}

#if !defined(_WIN32)
// Gives the library file `copy` a soname of its own, of the length of the plugin's `soname`: the
// system loader finds a loaded library by its soname too, and a lookup by the plugin's own name
// (a second plugin's) must not find a copy that stayed loaded after its unload.
void GiveOwnSoname(const std::filesystem::path& copy, const std::string& soname, int number) {
  std::fstream file(copy, std::ios::in | std::ios::out | std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const std::size_t at = bytes.find(soname + '\0');
  ASSERT_NE(at, std::string::npos) << copy << " names no soname " << soname;
  std::string own = std::to_string(number);
  own.insert(0, soname.size() - own.size(), 'x');
  file.seekp(static_cast<std::streamoff>(at));
  file.write(own.data(), static_cast<std::streamsize>(own.size()));
}
#endif

// A copy of the plugin file in the server directory under a name no load in this process has
// used before ("QuestVeto-3.dll"), so that the system loader maps it anew: Windows would hand back
// a library already loaded under the same file name, whatever its directory.
std::string FreshPluginCopy(const std::string& serverDir) {
  static int copies = 0;
  const int number = ++copies;
  const std::filesystem::path source = PluginFile();
  std::filesystem::path name = source.stem();
  name += "-" + std::to_string(number);
  name += source.extension();
  const std::filesystem::path copy = std::filesystem::u8path(serverDir) / name;
  std::filesystem::copy_file(source, copy);
#if !defined(_WIN32)
  GiveOwnSoname(copy, source.filename().string(), number);
#endif
  return copy.u8string();
}

}  // namespace

void ServerTest::LoadPlugin() {
  server_->LoadPlugin(freshCopies_ ? FreshPluginCopy(ServerDir()) : QV_PLUGIN_PATH);
}

void ServerTest::LoadWith(const std::string& config) {
  WriteConfig(config);
  LoadPlugin();
}

void* ServerTest::PluginSymbol(const std::string& name) {
  void* symbol = server_->Plugin() != nullptr ? server_->Plugin()->Symbol(name) : nullptr;
  EXPECT_NE(symbol, nullptr) << "the plugin exports no " << name;
  return symbol;
}

bool ServerTest::Disabled(const std::string& displayName) {
  return Disabled(FString::FromUtf8(displayName));
}

bool ServerTest::Disabled(const FString& displayName) {
  using NameQuery = bool (*)(const FString&);
  auto query =
      reinterpret_cast<NameQuery>(PluginSymbol(OwnExportName(QuestVetoClient::kByDisplayName)));
  return query != nullptr && query(displayName);
}

bool ServerTest::Disabled(AMissionType* mission) {
  using MissionQuery = bool (*)(AMissionType*);
  auto query =
      reinterpret_cast<MissionQuery>(PluginSymbol(OwnExportName(QuestVetoClient::kByMission)));
  return query != nullptr && query(mission);
}

void ServerTest::ReloadFromConsole() {
  EXPECT_TRUE(StandIn::Commands::RunConsole("qv.reload", nullptr)) << "qv.reload is not registered";
}

StandIn::World& ServerTest::World() {
  return StandIn::RunningWorld();
}

StandIn::Player ServerTest::AddPlayer(const StandIn::PlayerPlan& plan) {
  return World().Populate({{}, {plan}}).All()[0];
}

uintptr_t ServerTest::StartMission(StandIn::MissionClass* mission, StandIn::Character* character,
                                   uintptr_t fourth) {
  return World().StartMission(mission != nullptr ? mission->Class() : nullptr,
                              character != nullptr ? character->Object() : nullptr, fourth);
}

JournalEntries ServerTest::Journal() {
  return StandIn::Journal::Entries();
}

std::vector<std::string> ServerTest::Messages(const std::string& level) {
  using LogLine = StandIn::Journal::LogLine;
  std::vector<std::string> messages;
  for (LogLine& line : StandIn::Journal::All<LogLine>(StandIn::Journal::Peek())) {
    if (line.Logger == "QuestVeto" && line.Level == level)
      messages.push_back(std::move(line.Message));
  }
  return messages;
}

std::string ServerTest::LogFilePath() const {
  return server_->LogPath();
}

std::string ServerTest::LogFile() const {
  std::ifstream file(LogFilePath());
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

bool ReloadRegistered() {
  const std::vector<std::string> names = StandIn::Commands::Names();
  return std::find(names.begin(), names.end(), "qv.reload") != names.end();
}
