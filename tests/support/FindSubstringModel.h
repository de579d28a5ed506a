// The oracle of FindSubstring: the same search written straight from its contract on a standard
// string, shared by the unit tests and the fuzzer so that both hold the search to one model.
// It folds case by its own rule (a to z only), independent of the code under test.
#pragma once

#include <cstdint>

#include "host-bridge/Platform.h"

// What FindSubstring answers for a string holding `text` and its terminator. `text` may hold
// characters after an embedded 0; the search does not see past the first terminator, except
// that the end limit of a search from the end is the string's length. A forward search visits
// the text from its starting point; a backward one tries candidates from the end limit
// downwards, each lying wholly before that limit. Only `ignoreCase` 1 ignores case.
int32_t ModelFindSubstring(const WideString& text, const WideChar* pattern, int32_t ignoreCase,
                           int32_t fromEnd, int32_t start);
