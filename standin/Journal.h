// The stand-in's flight recorder: one ordered list of everything that crosses between a plugin and
// its host or game, so tests can state the exact sequence of calls, their arguments and their
// order.
#pragma once

#include <string>
#include <vector>

#include "standin/Api.h"

namespace StandIn::Journal {

// Entries, one line each, in the order the crossings happened. For example:
//   host calls:  GetAddress("FName.Init")
//                GetAddress(mission "Alpha", "AMissionType.MissionVersion")
//                GetHooks()  IHooks.InstallHook("AMissionDispatcher.StartMission")
//                GetCommands()  ICommands.AddConsoleCommand("qv.reload")
//                GetLogSinks()  GetCurrentDir()  Utf8Decode("text")  Utf8Encode("text")
//   game calls:  FName.Init("Complete", 0, 1, true, -1)
//                AActor.ForceReplicateNow(buff of character 1, false, false)
//                objects by the world's names (class "Alpha", mission "Alpha", controller "Bob",
//                character 1, buff of character 1, rcon 1, dispatcher, null), engine strings as
//                quoted UTF-8 text, names as quoted text, numbers exactly
//   game heap:   FMemory.Malloc(40, 0)  FMemory.Realloc(40 bytes, 80)  FMemory.Free(40 bytes)
//   log lines:   log [QuestVeto][info] Player Bob started mission: Alpha!
//   calls into the plugin from the game or the host's dispatch:
//                game starts mission(class "Alpha", character 1, 7)
//                console null "qv.reload"  rcon 1 "qv.reload"
//   faults:      fault: GetAddress("FName.Init") fails  fault: the allocation fails
// Recording is off by default and costs one relaxed load per crossing then.

// Forgets every entry and starts recording.
STANDIN_API void Start();
// Stops recording; the entries stay until the next Start.
STANDIN_API void Stop();
STANDIN_API bool Recording();
STANDIN_API std::vector<std::string> Entries();

// Appends `entry` when recording. `describe` builds the entry only then.
STANDIN_API void Append(std::string entry);
template <typename Describe>
void Record(Describe&& describe) {
  if (Recording()) Append(describe());
}

}  // namespace StandIn::Journal
