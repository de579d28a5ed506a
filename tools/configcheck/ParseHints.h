// What most likely broke a config.json that the JSON library cannot parse, for the mistakes
// operators make most: a comment, a comma after the last member, a file saved as UTF-16, a
// missing comma between members.
#pragma once

#include <cstddef>
#include <string>

// A hint for the parse error `libraryMessage` at byte `errorOffset` of `text` (the last byte the
// parser read), or "" when the cause is not one of the common ones.
std::string ParseErrorHint(const std::string& text, std::size_t errorOffset,
                           const std::string& libraryMessage);
