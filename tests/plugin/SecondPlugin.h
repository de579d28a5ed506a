// Another plugin in the same host, asking QuestVeto's exported query through the public client
// header, which resolves the query in the loaded QuestVeto library by its exported names at each
// question. Loaded while the object lives.
#pragma once

#include <memory>
#include <string>

#include "host-bridge/GameTypes.h"
#include "host-bridge/Platform.h"
#include "standin/PluginLoader.h"

class SecondPlugin {
 public:
  SecondPlugin();

  // 1 switched off, 0 not, -1 the client found no query; -2 it could not make the name.
  int Ask(const std::string& displayName) const;
  int Ask(AMissionType* mission) const;
  // A name handed over as its fields are, sound or not.
  int Ask(const WideChar* chars, int32_t count, int32_t capacity) const;

 private:
  std::unique_ptr<StandIn::PluginLibrary> library_;
  int (*askByName_)(const char*);
  int (*askByMission_)(AMissionType*);
  int (*askByFields_)(const WideChar*, int32_t, int32_t);
};
