// Console lines typed on a terminal, with line editing, a history kept in a file across runs and
// tab completion, delivered one at a time on the io_context's thread like LineReader's.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <asio.hpp>

#include "sandbox/console/Completion.h"
#include "sandbox/console/LineReader.h"

namespace Sandbox {

// The completions of the line up to the cursor.
using Completer = std::function<Completion(const std::string& beforeCursor)>;

// Reads standard input, which must be a terminal, showing a prompt. `historyFile` is read at
// Start and rewritten after every line that is not blank, its folder made when missing; a missing
// or unreadable file starts an empty history. Ctrl-D on an empty line is the end of input. Only one
// may exist at a time. Null where the platform's console edits typed lines itself (Windows): read
// them as any input.
std::unique_ptr<LineSource> OpenLineEditor(asio::io_context& io, const std::string& historyFile,
                                           Completer complete, LineReader::LineHandler onLine,
                                           LineReader::EndHandler onEnd);

}  // namespace Sandbox
