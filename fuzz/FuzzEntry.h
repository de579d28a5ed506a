// What the fuzzers that drive the plugin share at libFuzzer's entry: an input's run whose escaping
// exception is a finding.
#pragma once

#include <exception>
#include <string>

namespace Fuzz {

// Runs `run()` for one input and answers 0, what LLVMFuzzerTestOneInput answers. An exception
// escaping `run` is handed to `fail`, which reports it and stops the process, so that libFuzzer
// keeps the input.
template <typename Run, typename Fail>
int RunOneInput(Run&& run, Fail&& fail) {
  try {
    run();
  } catch (const std::exception& error) {
    fail(std::string("an exception escaped: ") + error.what());
  } catch (...) {
    fail("an exception of unknown type escaped");
  }
  return 0;
}

}  // namespace Fuzz
