#include "sandbox/server/WorldFile.h"

#include <fstream>
#include <limits>
#include <set>
#include <sstream>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "host-bridge/Platform.h"
#include "common/PrintableText.h"
#include "common/Utf16Text.h"

namespace Sandbox {
namespace {

using nlohmann::json;

// Reads one JSON value against its place in the file (a path such as players[1].alive), so that
// every error names the file and that place.
class Reader {
 public:
  explicit Reader(std::string source) : source_(std::move(source)) {}

  [[noreturn]] void Fail(const std::string& path, const std::string& problem) const {
    throw WorldFileError(
        fmt::format("{}: {}: {}", source_, path.empty() ? "top level" : path, problem));
  }

  // `value` must be an object whose keys are all in `known`.
  void Object(const json& value, const std::string& path,
              std::initializer_list<const char*> known) const {
    if (!value.is_object()) Fail(path, fmt::format("must be an object, not {}", value.type_name()));
    for (const auto& item : value.items()) {
      bool isKnown = false;
      for (const char* key : known) isKnown = isKnown || item.key() == key;
      if (!isKnown) Fail(Join(path, item.key()), "unknown key");
    }
  }

  const json& Array(const json& object, const std::string& path, const char* key) const {
    const json& value = Required(object, path, key);
    if (!value.is_array()) {
      Fail(Join(path, key), fmt::format("must be an array, not {}", value.type_name()));
    }
    return value;
  }

  std::string String(const json& object, const std::string& path, const char* key) const {
    const json& value = Required(object, path, key);
    if (!value.is_string()) {
      Fail(Join(path, key), fmt::format("must be a string, not {}", value.type_name()));
    }
    const auto& text = value.get_ref<const std::string&>();
    if (text.empty()) Fail(Join(path, key), "must not be empty");
    return text;
  }

  bool Bool(const json& object, const std::string& path, const char* key, bool otherwise) const {
    if (!object.contains(key)) return otherwise;
    const json& value = object[key];
    if (!value.is_boolean()) {
      Fail(Join(path, key), fmt::format("must be true or false, not {}", value.type_name()));
    }
    return value.get<bool>();
  }

  int32_t Int32(const json& object, const std::string& path, const char* key,
                int32_t otherwise) const {
    if (!object.contains(key)) return otherwise;
    const json& value = object[key];
    using Limits = std::numeric_limits<int32_t>;
    const bool fits = (value.is_number_integer() && value.get<int64_t>() >= Limits::min() &&
                       value.get<int64_t>() <= Limits::max()) ||
                      (value.is_number_unsigned() && value.get<uint64_t>() <= Limits::max());
    if (!fits) Fail(Join(path, key), fmt::format("must be a 32-bit integer, not {}", value.dump()));
    return static_cast<int32_t>(value.get<int64_t>());
  }

  static std::string Join(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
  }

 private:
  const json& Required(const json& object, const std::string& path, const char* key) const {
    if (!object.contains(key)) Fail(Join(path, key), "missing");
    return object[key];
  }

  std::string source_;
};

MissionPlan ReadMission(const Reader& reader, const json& value, const std::string& path) {
  reader.Object(value, path, {"name", "version", "tag"});
  return {reader.String(value, path, "name"), reader.Int32(value, path, "version", 1),
          reader.String(value, path, "tag")};
}

PlayerPlan ReadPlayer(const Reader& reader, const json& value, const std::string& path) {
  reader.Object(value, path, {"name", "alive", "controller", "missionData"});
  PlayerPlan player{reader.String(value, path, "name"), reader.Bool(value, path, "alive", true),
                    reader.Bool(value, path, "controller", true),
                    reader.Bool(value, path, "missionData", true)};
  if (player.Name.find_first_of(" \t") != std::string::npos) {
    reader.Fail(Reader::Join(path, "name"), "must be a single word");
  }
  return player;
}

template <typename Plan>
void CheckUnique(const Reader& reader, const std::vector<Plan>& plans, const std::string& list) {
  std::set<std::string> seen;
  for (std::size_t i = 0; i < plans.size(); ++i) {
    if (!seen.insert(plans[i].Name).second) {
      reader.Fail(fmt::format("{}[{}].name", list, i),
                  fmt::format("\"{}\" is taken", plans[i].Name));
    }
  }
}

}  // namespace

WorldFileError::WorldFileError(const std::string& message)
    : std::runtime_error(Printable(message)) {}

WorldPlan ParseWorld(const std::string& text, const std::string& source) {
  json root;
  try {
    // A world saved by Notepad as "Unicode" is read as the UTF-8 it stands for.
    root = json::parse(LooksLikeUtf16(text) ? Utf16ToUtf8(text) : text);
  } catch (const json::parse_error& error) {
    throw WorldFileError(fmt::format("{}: {}", source, error.what()));
  }
  const Reader reader(source);
  reader.Object(root, "", {"missions", "players"});
  WorldPlan world;
  const json& missions = reader.Array(root, "", "missions");
  for (std::size_t i = 0; i < missions.size(); ++i) {
    world.Missions.push_back(ReadMission(reader, missions[i], fmt::format("missions[{}]", i)));
  }
  const json& players = reader.Array(root, "", "players");
  for (std::size_t i = 0; i < players.size(); ++i) {
    world.Players.push_back(ReadPlayer(reader, players[i], fmt::format("players[{}]", i)));
  }
  CheckUnique(reader, world.Missions, "missions");
  CheckUnique(reader, world.Players, "players");
  return world;
}

WorldPlan ReadWorldFile(const std::string& path) {
  std::ifstream file;
  Platform::OpenForReading(file, path, std::ios::binary);
  if (!file.is_open()) throw WorldFileError(fmt::format("{}: cannot be opened", path));
  std::ostringstream text;
  text << file.rdbuf();
  return ParseWorld(text.str(), path);
}

}  // namespace Sandbox
