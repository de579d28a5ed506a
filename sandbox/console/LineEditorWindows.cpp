#include "sandbox/console/LineEditor.h"

namespace Sandbox {

// The Windows console edits a line and recalls earlier ones itself before it hands the line over,
// so typed lines are read like any other input.
std::unique_ptr<LineSource> OpenLineEditor(asio::io_context&, const std::string&, Completer,
                                           LineReader::LineHandler, LineReader::EndHandler) {
  return nullptr;
}

}  // namespace Sandbox
