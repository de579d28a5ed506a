#include <dlfcn.h>

#include "QuestVetoImport.h"

namespace {

const char* const kModule = "QuestVeto.so";
// Itanium ABI names of QuestVeto::IsMissionDisabled(const FString&) and (AMissionType*).
const char* const kByName = "_ZN9QuestVeto17IsMissionDisabledERK7FString";
const char* const kByMission = "_ZN9QuestVeto17IsMissionDisabledEP12AMissionType";

}  // namespace

QuestVetoQuery FindQuestVetoQuery() {
  // RTLD_NOLOAD finds the library only if it is already mapped; the reference the call takes is
  // given back at once, so the library still unloads when its host lets it go.
  void* module = dlopen(kModule, RTLD_NOLOAD | RTLD_NOW);
  if (module == nullptr) return {};
  QuestVetoQuery query;
  query.ByName = reinterpret_cast<decltype(query.ByName)>(dlsym(module, kByName));
  query.ByMission = reinterpret_cast<decltype(query.ByMission)>(dlsym(module, kByMission));
  dlclose(module);
  return query;
}
