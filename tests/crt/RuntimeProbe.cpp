// A DLL that shows what the module runtime (crt/) does for a DLL: its static objects, atexit
// functions, thread-local data and exceptions. The test program loads and frees it.
#include <stdlib.h>
#include <string.h>

#include <stdexcept>
#include <string>

#define PROBE_API extern "C" __declspec(dllexport)

namespace {

// Where the test wants to hear of the DLL's teardown; set after load.
int* teardownCount = nullptr;

struct StaticObject {
  StaticObject() : value(42) {}
  ~StaticObject() {
    if (teardownCount != nullptr) ++*teardownCount;
  }
  int value;
};
StaticObject staticObject;

thread_local char threadName[32] = "unnamed";

}  // namespace

// 42 once the static constructors ran.
PROBE_API int ProbeStaticValue() { return staticObject.value; }

// Counts into `counter` once for the static object's destructor and once for an atexit function.
PROBE_API void ProbeCountTeardownIn(int* counter) {
  teardownCount = counter;
  atexit([] { ++*teardownCount; });
}

// Names the calling thread's copy and gives back the copy's text.
PROBE_API const char* ProbeThreadName(const char* name) {
  if (name != nullptr) strncpy_s(threadName, name, _TRUNCATE);
  return threadName;
}

// Throws inside the DLL and catches there: 1 when the handler got the exception with its text.
PROBE_API int ProbeCatchesItsOwnException() {
  try {
    throw std::runtime_error("inside the DLL");
  } catch (const std::exception& caught) {
    return std::string(caught.what()) == "inside the DLL" ? 1 : 0;
  }
}
