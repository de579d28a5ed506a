// The stand-in's flight recorder and its only record of what crossed between a plugin and its host
// or game: one ordered list of crossings, so tests can state the exact sequence of calls, their
// arguments and their order, and the sandbox shows players' messages and RCON replies from the
// same entries. Readers of particular calls read them through the typed views of JournalViews.h.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "host-bridge/Color.h"
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
// Recording is off by default and costs one relaxed load per crossing then. While on, the entries
// are kept until a reader takes them: memory grows only between two Take calls. A reader that acts
// on a few calls records only those, and the other crossings cost it a look at their key.

// An argument of a call as it was received: an object by address, an engine string, name or
// narrow text as UTF-8, a colour, a number; none for a null or malformed string or colour.
using Value = std::variant<std::monostate, const void*, std::string, LinearColor, int64_t, double>;

struct Entry {
  std::string Text;  // the line, as above
  // For a call: its key ("AActor.ForceReplicateNow") and its arguments; empty for other entries.
  std::string Call;
  std::vector<Value> Arguments;
};

// Forgets every entry and starts recording: every crossing, or, when `calls` names some, only the
// calls of those keys (Journal::KeysOf names the keys of views).
STANDIN_API void Start(std::vector<std::string> calls = {});
// Stops recording; the entries stay until the next Start or Take.
STANDIN_API void Stop();
// The lines of the entries kept so far.
STANDIN_API std::vector<std::string> Entries();
// The entries kept so far, which the journal keeps: for a reader that looks again later.
STANDIN_API std::vector<Entry> Peek();
// The entries kept so far, which the journal forgets: a reader that takes them as it goes keeps
// the journal small however long it records.
STANDIN_API std::vector<Entry> Take();

}  // namespace StandIn::Journal
