// What GetAddress answers from: every game function and field of the stand-in game by key. A
// function's own entry is in Registries.h.
#pragma once

#include <cstdint>
#include <string>

#include "standin/Api.h"
#include "standin/Registries.h"

namespace StandIn::FunctionTable {

// Address of the field inside `object`; Fatal when `object` is not of the field's class.
using FieldLocator = uint64_t (*)(const void* object);

// Adds or replaces the game function `key`. Only while the host library initialises, before
// anything is looked up.
void AddFunction(const std::string& key, void* entry);
// Adds or replaces the field `key`; the same restriction.
void AddField(const std::string& key, FieldLocator locator);

// The field's address inside `object`; Fatal naming the key when the game has no such field.
STANDIN_API uint64_t Field(const void* object, const std::string& key);
// True when the game has a function of that name.
STANDIN_API bool HasFunction(const std::string& key);

}  // namespace StandIn::FunctionTable
