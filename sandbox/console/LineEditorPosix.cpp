// The one place that uses the line-editing library (libedit, through its readline-compatible
// callback interface): the library reads one key at a time when Asio reports the terminal
// readable, so typing, console commands and RCON requests all share the one game thread.
#include "sandbox/console/LineEditor.h"

#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include <editline/readline.h>
#include <fmt/format.h>

namespace Sandbox {
namespace {

const char* const kPrompt = "> ";
constexpr int kHistoryLines = 1000;

bool Blank(const std::string& line) {
  return line.find_first_not_of(" \t") == std::string::npos;
}

// Where the `characters`th character of the UTF-8 `line` begins: the library counts positions
// in characters, the line it shows is in bytes.
std::size_t ByteOffset(const std::string& line, int characters) {
  std::size_t at = 0;
  for (int seen = 0; at < line.size(); ++at) {
    if ((static_cast<unsigned char>(line[at]) & 0xC0) != 0x80 && seen++ == characters) break;
  }
  return at;
}

class LineEditor final : public LineSource {
 public:
  LineEditor(asio::io_context& io, std::string historyFile, Completer complete,
             LineReader::LineHandler onLine, LineReader::EndHandler onEnd)
      : terminal_(io, STDIN_FILENO),
        historyFile_(std::move(historyFile)),
        complete_(std::move(complete)),
        onLine_(std::move(onLine)),
        onEnd_(std::move(onEnd)) {
    current_ = this;
  }

  // Hands the terminal back in the mode it came in.
  ~LineEditor() override {
    if (installed_) rl_callback_handler_remove();
    terminal_.release();
    current_ = nullptr;
  }

  LineEditor(const LineEditor&) = delete;
  LineEditor& operator=(const LineEditor&) = delete;

  void Start() override {
    // Keys are read as characters of the terminal's encoding. Only the character type category
    // is taken from the environment: the stand-in's text conversions do not depend on it.
    std::setlocale(LC_CTYPE, "");
    // SIGINT and SIGTERM are the server's (its signal set stops it), not the library's.
    rl_catch_signals = 0;
    rl_readline_name = "questveto-sandbox";
    rl_attempted_completion_function = &LineEditor::CompleteWord;
    using_history();
    stifle_history(kHistoryLines);
    read_history(historyFile_.c_str());  // none yet: an empty history
    // The folder of a first history (the user's state directory may not exist yet); when it
    // cannot be made, lines are still edited and recalled, for this run only.
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(historyFile_).parent_path(), ignored);
    rl_callback_handler_install(kPrompt, &LineEditor::OnLine);
    installed_ = true;
    WaitForKey();
  }

 private:
  void WaitForKey() {
    terminal_.async_wait(asio::posix::descriptor_base::wait_read, [this](std::error_code error) {
      if (error == asio::error::operation_aborted) return;
      if (error) {
        Finish(fmt::format("reading the console failed: {}", error.message()));
      } else {
        rl_callback_read_char();  // may deliver a line through OnLine
      }
      if (failure_) {
        // Whatever the line handler threw goes on to the io_context's caller, as a plain
        // reader's would, once the terminal is handed back.
        rl_callback_handler_remove();
        installed_ = false;
        std::rethrow_exception(std::exchange(failure_, nullptr));
      }
      if (finished_) return Stop();
      if (delivered_) ShowPrompt();
      WaitForKey();
    });
  }

  // After a line the library leaves the terminal as the line's output found it, with no prompt:
  // editing is set up afresh, which shows the prompt below that output.
  void ShowPrompt() {
    delivered_ = false;
    rl_callback_handler_remove();
    rl_callback_handler_install(kPrompt, &LineEditor::OnLine);
  }

  // Stops reading once the current key is handled; `problem` goes to the end handler, unless the
  // line handler asked to stop (no value).
  void Finish(std::optional<std::string> problem) {
    finished_ = true;
    endProblem_ = std::move(problem);
  }

  // After the key that ended the input, outside the library's line callback.
  void Stop() {
    rl_callback_handler_remove();
    installed_ = false;
    if (endProblem_) onEnd_(*endProblem_);
  }

  void Deliver(const std::string& line) {
    delivered_ = true;
    if (!Blank(line)) {
      add_history(line.c_str());
      write_history(historyFile_.c_str());
    }
    if (!onLine_(line)) Finish(std::nullopt);
  }

  // The library's line callback: `line` is malloc'ed and ours, null at the end of input.
  static void OnLine(char* line) {
    if (line == nullptr) {
      fmt::print("\n");
      return current_->Finish(std::string());
    }
    const std::string text(line);
    std::free(line);
    // Nothing may unwind through the library's C code: a failure waits until it has returned.
    try {
      current_->Deliver(text);
    } catch (...) {
      current_->failure_ = std::current_exception();
    }
  }

  // The library's completion callback for the word from `start` to `end`, in the line before
  // the cursor. The console's completions are whole arguments, which may hold blanks (mission
  // names); the library replaces only the word, so each is offered from the word's start on.
  static char** CompleteWord(const char* word, int start, int end) {
    rl_attempted_completion_over = 1;  // never the library's own file name completion
    const std::string line(rl_line_buffer);
    const std::string beforeCursor = line.substr(0, ByteOffset(line, end));
    const Completion completion = current_->complete_(beforeCursor);
    std::vector<std::string>& offered = current_->offered_;
    offered.clear();
    const std::size_t wordStart = ByteOffset(line, start);
    if (wordStart < completion.Start) return nullptr;
    for (const std::string& candidate : completion.Candidates) {
      offered.push_back(candidate.substr(wordStart - completion.Start));
    }
    rl_completion_append_character = completion.RestOfLine ? 0 : static_cast<unsigned char>(' ');
    return rl_completion_matches(word, &LineEditor::NextOffered);
  }

  // The library's generator: the offered words one by one (state 0 first), each a malloc'ed copy.
  static char* NextOffered(const char* /*word*/, int state) {
    const std::vector<std::string>& offered = current_->offered_;
    const auto index = static_cast<std::size_t>(state);
    return index < offered.size() ? strdup(offered[index].c_str()) : nullptr;
  }

  static LineEditor* current_;

  asio::posix::stream_descriptor terminal_;
  std::string historyFile_;
  Completer complete_;
  LineReader::LineHandler onLine_;
  LineReader::EndHandler onEnd_;
  std::vector<std::string> offered_;
  bool installed_ = false;
  bool finished_ = false;
  bool delivered_ = false;  // a line went out with the last key
  std::optional<std::string> endProblem_;
  std::exception_ptr failure_;  // thrown by the line handler, rethrown outside the library
};

LineEditor* LineEditor::current_ = nullptr;

}  // namespace

std::unique_ptr<LineSource> OpenLineEditor(asio::io_context& io, const std::string& historyFile,
                                           Completer complete, LineReader::LineHandler onLine,
                                           LineReader::EndHandler onEnd) {
  return std::make_unique<LineEditor>(io, historyFile, std::move(complete), std::move(onLine),
                                      std::move(onEnd));
}

}  // namespace Sandbox
