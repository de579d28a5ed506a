// A second plugin in the same host that asks QuestVeto whether missions are switched off, the way
// any other plugin would: through the public client header, which finds QuestVeto's exported query
// in the already loaded library at each question. Tests put questions to it through the functions
// below.
#include <optional>
#include <string>

#include "ForeignString.h"
#include "QuestVetoClient.h"
#include "host-bridge/FString.h"
#include "host-bridge/Platform.h"

namespace {

constexpr int kNotLoaded = -1;
constexpr int kNameFailed = -2;

int Answer(std::optional<bool> disabled) {
  if (!disabled) return kNotLoaded;
  return *disabled ? 1 : 0;
}

}  // namespace

// Nothing to set up or tear down: the query is looked up at each question.
QV_ENTRY_POINT DllMain(void* /*module*/, unsigned long /*reason*/, void* /*reserved*/) {
  return 1;
}

// 1 when QuestVeto switches off the mission named `displayNameUtf8`, 0 when not, -1 when
// QuestVeto is not loaded, -2 when this plugin cannot make the name (its own host call failed) and
// QuestVeto is not asked.
extern "C" QV_EXPORT int ClientAskByName(const char* displayNameUtf8) {
  FString name;
  try {
    name = FString::FromUtf8(displayNameUtf8);
  } catch (...) {
    return kNameFailed;
  }
  return Answer(QuestVetoClient::IsMissionDisabled(name));
}

// The same for a name whose fields are given as they are, sound or not.
extern "C" QV_EXPORT int ClientAskByFields(const WideChar* chars, int32_t count, int32_t capacity) {
  const ForeignString name(chars, count, capacity);
  return Answer(QuestVetoClient::IsMissionDisabled(name.Get()));
}

// The same for a mission object.
extern "C" QV_EXPORT int ClientAskByMission(AMissionType* mission) {
  return Answer(QuestVetoClient::IsMissionDisabled(mission));
}
