// A second plugin in the same host that asks QuestVeto whether missions are switched off, the way
// any other plugin would: through QuestVeto's exported query, found in the already loaded library.
// Tests put questions to it through the two functions below.
#include <string>

#include "QuestVetoImport.h"
#include "host/FString.h"
#include "host/Platform.h"

namespace {

constexpr int kQueryMissing = -1;
constexpr int kNameFailed = -2;

int Answer(bool disabled) {
  return disabled ? 1 : 0;
}

}  // namespace

// Nothing to set up or tear down: the query is looked up at each question.
QV_ENTRY_POINT DllMain(void* /*module*/, unsigned long /*reason*/, void* /*reserved*/) {
  return 1;
}

// 1 when QuestVeto switches off the mission named `displayNameUtf8`, 0 when not, -1 when
// QuestVeto's query cannot be found.
// -2 when this plugin cannot make the name (its own host call failed); QuestVeto is not asked.
extern "C" QV_EXPORT int ClientAskByName(const char* displayNameUtf8) {
  const QuestVetoQuery query = FindQuestVetoQuery();
  if (query.ByName == nullptr) return kQueryMissing;
  FString name;
  try {
    name = FString::FromUtf8(displayNameUtf8);
  } catch (...) {
    return kNameFailed;
  }
  return Answer(query.ByName(name));
}

// The same for a mission object.
extern "C" QV_EXPORT int ClientAskByMission(AMissionType* mission) {
  const QuestVetoQuery query = FindQuestVetoQuery();
  if (query.ByMission == nullptr) return kQueryMissing;
  return Answer(query.ByMission(mission));
}
