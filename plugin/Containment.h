// Keeping a failure from the game: the plugin runs inside the server process, and anything thrown
// out of its entry point, its hook or a command handler would take the server down.
#pragma once

#include <exception>

// Runs `step` and answers true when it ran through. Whatever it throws goes no further:
// `onFailure` gets the reason (the what() text of a std::exception, null for anything else) to
// log, and the answer is false. What `onFailure` itself throws is not caught here.
template <typename Step, typename OnFailure>
bool Contain(Step&& step, OnFailure&& onFailure) {
  try {
    step();
    return true;
  } catch (const std::exception& error) {
    onFailure(error.what());
  } catch (...) {
    onFailure(nullptr);
  }
  return false;
}

// The reason Contain gives, for a log line that always names one.
inline const char* OrUnknown(const char* reason) {
  return reason != nullptr ? reason : "unknown error";
}
