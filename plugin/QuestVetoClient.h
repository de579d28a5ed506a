// Asking QuestVeto from another plugin: whether the operator has switched a mission off.
//
// Copy this one header into your plugin; it needs nothing else from QuestVeto's sources and adds
// no link-time dependency on QuestVeto. Your plugin keeps loading when QuestVeto is missing, and
// QuestVeto can be loaded, unloaded or replaced while your plugin runs: the query is looked up by
// name in the already loaded QuestVeto library at every call, and no reference to the library is
// kept (it is never loaded by this header either).
//
//   if (const std::optional<bool> off = QuestVetoClient::IsMissionDisabled(mission)) {
//     if (*off) { /* switched off by QuestVeto's configuration */ }
//   } else {
//     /* QuestVeto is not loaded: decide for yourself */
//   }
//
// Threading: call it only on the game thread, the thread on which the host calls plugins. The
// query reads QuestVeto's configuration and may add to it, and a "qv.reload" replaces it; neither
// takes a lock.
//
// `FString` and `AMissionType` are the engine's string and mission types as your host framework
// declares them; this header only names them.
#pragma once

#include <optional>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

struct FString;
struct AMissionType;

namespace QuestVetoClient {

// The names under which QuestVeto exports QuestVeto::IsMissionDisabled. They are the C++ names as
// the compiler that built QuestVeto decorates them: the Itanium ABI names of GCC, MinGW and clang
// (the shipped QuestVeto.dll), or MSVC's decorated names for a QuestVeto built with MSVC. Both are
// tried, so the compiler your plugin is built with does not matter.
struct ExportedNames {
  const char* Itanium;
  const char* Msvc;
};
inline constexpr ExportedNames kByDisplayName = {
    "_ZN9QuestVeto17IsMissionDisabledERK7FString",
    "?IsMissionDisabled@QuestVeto@@YA_NAEBUFString@@@Z"};
inline constexpr ExportedNames kByMission = {
    "_ZN9QuestVeto17IsMissionDisabledEP12AMissionType",
    "?IsMissionDisabled@QuestVeto@@YA_NPEAUAMissionType@@@Z"};

#if defined(_WIN32)
inline constexpr const wchar_t* kModuleName = L"QuestVeto.dll";
#else
inline constexpr const char* kModuleName = "QuestVeto.so";
#endif

namespace Detail {

// The address of `names` in the loaded QuestVeto library, or null when it is not loaded or does
// not export them.
inline void* FindExport(const ExportedNames& names) {
#if defined(_WIN32)
  // Takes no reference: the library stays exactly as loaded as its host keeps it.
  const HMODULE module = GetModuleHandleW(kModuleName);
  if (module == nullptr) return nullptr;
  FARPROC found = GetProcAddress(module, names.Itanium);
  if (found == nullptr) found = GetProcAddress(module, names.Msvc);
  return reinterpret_cast<void*>(found);
#else
  // RTLD_NOLOAD finds the library only when it is already loaded; the reference this takes is
  // given back at once, so QuestVeto still unloads when its host lets it go.
  void* module = dlopen(kModuleName, RTLD_NOLOAD | RTLD_NOW);
  if (module == nullptr) return nullptr;
  void* found = dlsym(module, names.Itanium);
  if (found == nullptr) found = dlsym(module, names.Msvc);
  dlclose(module);
  return found;
#endif
}

}  // namespace Detail

// Whether QuestVeto switches off the mission with this display name (it contains, ignoring the
// case of A-Z, an entry of "DisabledMissions"); std::nullopt when QuestVeto is not loaded. A
// configuration QuestVeto cannot read that way answers false.
inline std::optional<bool> IsMissionDisabled(const FString& displayName) {
  using Query = bool (*)(const FString&);
  const auto query = reinterpret_cast<Query>(Detail::FindExport(kByDisplayName));
  if (query == nullptr) return std::nullopt;
  return query(displayName);
}

// The same test on a mission object's display name (pass the mission class's default object);
// false for null, std::nullopt when QuestVeto is not loaded.
inline std::optional<bool> IsMissionDisabled(AMissionType* mission) {
  using Query = bool (*)(AMissionType*);
  const auto query = reinterpret_cast<Query>(Detail::FindExport(kByMission));
  if (query == nullptr) return std::nullopt;
  return query(mission);
}

}  // namespace QuestVetoClient
