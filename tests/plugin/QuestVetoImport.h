// How another plugin reaches QuestVeto's exported query at run time: both overloads of
// QuestVeto::IsMissionDisabled, looked up by their exported names in the QuestVeto library that
// the host has already loaded. The one platform-specific part (module lookup and the compiler's
// decorated names) lives in QuestVetoImport{Posix,Windows}.cpp.
#pragma once

#include "host/FString.h"
#include "host/GameTypes.h"

struct QuestVetoQuery {
  bool (*ByName)(const FString& displayName) = nullptr;
  bool (*ByMission)(AMissionType* mission) = nullptr;
};

// Both entries of the loaded QuestVeto library; a member is null when the library is not loaded
// or does not export that overload. The library is only looked up, never loaded by this call.
QuestVetoQuery FindQuestVetoQuery();
