#include "plugin/SecondPlugin.h"

#include <stdexcept>

namespace {

template <typename Function>
Function Resolve(const StandIn::PluginLibrary& library, const char* name) {
  void* symbol = library.Symbol(name);
  if (symbol == nullptr) throw std::runtime_error(library.Path() + " exports no " + name);
  return reinterpret_cast<Function>(symbol);
}

}  // namespace

SecondPlugin::SecondPlugin()
    : library_(StandIn::PluginLibrary::Load(QV_CLIENT_PLUGIN_PATH)),
      askByName_(Resolve<decltype(askByName_)>(*library_, "ClientAskByName")),
      askByMission_(Resolve<decltype(askByMission_)>(*library_, "ClientAskByMission")),
      askByFields_(Resolve<decltype(askByFields_)>(*library_, "ClientAskByFields")) {}

int SecondPlugin::Ask(const std::string& displayName) const {
  return askByName_(displayName.c_str());
}

int SecondPlugin::Ask(AMissionType* mission) const {
  return askByMission_(mission);
}

int SecondPlugin::Ask(const WideChar* chars, int32_t count, int32_t capacity) const {
  return askByFields_(chars, count, capacity);
}
