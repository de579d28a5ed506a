// Asking QuestVeto from another plugin: whether the operator has switched a mission off.
//
// Copy this one header into your plugin; it needs nothing else from QuestVeto's sources and adds
// no link-time dependency on QuestVeto. Your plugin keeps loading when QuestVeto is missing, and
// QuestVeto can be loaded, unloaded or replaced between your calls: the query is looked up by
// name in the already loaded QuestVeto library at every call, and no reference to the library is
// kept (it is never loaded by this header either).
//
//   if (const std::optional<bool> off = QuestVetoClient::IsMissionDisabled(mission)) {
//     if (*off) { /* switched off by QuestVeto's configuration */ }
//   } else {
//     /* QuestVeto is not loaded: decide for yourself */
//   }
//
// Threading: call it only on the game thread, the thread on which the host calls plugins and also
// loads and unloads them. That is what keeps QuestVeto loaded from the lookup to the end of the
// call without a reference: its unload cannot come in between. From another thread, an unload on
// the game thread could unmap the query while it runs. The query is not a pure read either:
// QuestVeto's filter looks its list up in the configuration object in force and, when that object
// is still empty or lacks the list, writes the missing entry into it; a "qv.reload" replaces the
// object. None of this takes a lock, so a call from another thread can race a mission start or a
// reload on the game thread and read or write a half-replaced object.
//
// When answers change: only when QuestVeto reads its configuration, that is at its load and at
// each successful "qv.reload" (a failed one leaves the list in force as it was). Ask at the moment
// you need the answer, at every mission start if you like: a call costs finding the query in the
// loaded library (a fraction of a microsecond) and the filter's test, the same test a start costs
// (docs/plugin-authors.md gives measured figures). It needs no cache, and a cached answer would
// miss the next reload.
//
// `FString` and `AMissionType` are the engine's string and mission types as your host framework
// declares them; this header only names them. It names them `struct`: where your framework
// declares one as `class`, MSVC warns (C4099) and nothing else changes, since the query is called
// through a pointer whatever name QuestVeto exports it under.
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

// The names under which QuestVeto may export QuestVeto::IsMissionDisabled, tried in this order:
// the compiler that built QuestVeto decorates them, not yours, so each is tried whatever compiler
// builds your plugin.
//  - GCC, MinGW and clang for Linux use the Itanium ABI, which does not encode whether a type was
//    declared `struct` or `class`: one name.
//  - MSVC and clang for the MSVC ABI (the shipped QuestVeto.dll: the struct form) encode it, as U
//    for `struct` and V for `class`, so a QuestVeto built against headers that declare FString or
//    AMissionType as `class` exports the V form.
struct ExportedNames {
  const char* Itanium;
  const char* MsvcStruct;
  const char* MsvcClass;
};
// bool QuestVeto::IsMissionDisabled(const FString&)
inline constexpr ExportedNames kByDisplayName = {
    "_ZN9QuestVeto17IsMissionDisabledERK7FString",
    "?IsMissionDisabled@QuestVeto@@YA_NAEBUFString@@@Z",
    "?IsMissionDisabled@QuestVeto@@YA_NAEBVFString@@@Z"};
// bool QuestVeto::IsMissionDisabled(AMissionType*)
inline constexpr ExportedNames kByMission = {
    "_ZN9QuestVeto17IsMissionDisabledEP12AMissionType",
    "?IsMissionDisabled@QuestVeto@@YA_NPEAUAMissionType@@@Z",
    "?IsMissionDisabled@QuestVeto@@YA_NPEAVAMissionType@@@Z"};

#if defined(_WIN32)
inline constexpr const wchar_t* kModuleName = L"QuestVeto.dll";
#else
inline constexpr const char* kModuleName = "QuestVeto.so";
#endif

namespace Detail {

// The address of the first of `names` that the loaded QuestVeto library exports, or null when it
// is not loaded or exports none of them.
inline void* FindExport(const ExportedNames& names) {
  const char* const tried[] = {names.Itanium, names.MsvcStruct, names.MsvcClass};
#if defined(_WIN32)
  // Takes no reference: the library stays exactly as loaded as its host keeps it.
  const HMODULE module = GetModuleHandleW(kModuleName);
  if (module == nullptr) return nullptr;
  for (const char* name : tried) {
    if (const FARPROC found = GetProcAddress(module, name)) return reinterpret_cast<void*>(found);
  }
  return nullptr;
#else
  // RTLD_NOLOAD finds the library only when it is already loaded; the reference this takes is
  // given back at once, so QuestVeto still unloads when its host lets it go.
  void* module = dlopen(kModuleName, RTLD_NOLOAD | RTLD_NOW);
  if (module == nullptr) return nullptr;
  void* found = nullptr;
  for (const char* name : tried) {
    found = dlsym(module, name);
    if (found != nullptr) break;
  }
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
