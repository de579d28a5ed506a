#include "QuestVetoImport.h"

#include <windows.h>

namespace {

const wchar_t* const kModule = L"QuestVeto.dll";
// QuestVeto::IsMissionDisabled(const FString&) and (AMissionType*) under the names the compiler's
// C++ ABI gives them: MSVC's decorated names, or the Itanium names MinGW's GCC exports.
#if defined(_MSC_VER)
const char* const kByName = "?IsMissionDisabled@QuestVeto@@YA_NAEBUFString@@@Z";
const char* const kByMission = "?IsMissionDisabled@QuestVeto@@YA_NPEAUAMissionType@@@Z";
#else
const char* const kByName = "_ZN9QuestVeto17IsMissionDisabledERK7FString";
const char* const kByMission = "_ZN9QuestVeto17IsMissionDisabledEP12AMissionType";
#endif

}  // namespace

QuestVetoQuery FindQuestVetoQuery() {
  // Takes no reference: the library stays exactly as loaded as its host keeps it.
  HMODULE module = GetModuleHandleW(kModule);
  if (module == nullptr) return {};
  QuestVetoQuery query;
  query.ByName = reinterpret_cast<decltype(query.ByName)>(
      reinterpret_cast<void*>(GetProcAddress(module, kByName)));
  query.ByMission = reinterpret_cast<decltype(query.ByMission)>(
      reinterpret_cast<void*>(GetProcAddress(module, kByMission)));
  return query;
}
