// Console lines as the server takes them from a script or standard input, on either platform's
// way of reading: split at line breaks whatever the chunks the input arrives in.
#include <gtest/gtest.h>

#include <fcntl.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "sandbox/LineReader.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace Sandbox {
namespace {

namespace fs = std::filesystem;

struct Reading {
  std::vector<std::string> Lines;
  bool Ended = false;
  std::string Problem;
};

// Reads `input` from a file through a LineReader until it ends or the handler stops at "quit";
// a reader that stopped leaves the io_context nothing to do.
Reading ReadAll(const std::string& input) {
  const fs::path path =
      fs::temp_directory_path() / fmt::format("qv-line-reader-{}", std::random_device()());
  std::ofstream(path, std::ios::binary) << input;
  const int descriptor = open(path.string().c_str(), O_RDONLY);
  EXPECT_GE(descriptor, 0) << path;

  Reading reading;
  asio::io_context io;
  {
    LineReader reader(
        io, descriptor,
        [&](const std::string& line) {
          reading.Lines.push_back(line);
          return line != "quit";
        },
        [&](const std::string& problem) {
          reading.Ended = true;
          reading.Problem = problem;
          io.stop();
        });
    reader.Start();
    io.run();
  }
  close(descriptor);
  fs::remove(path);
  return reading;
}

std::string NumberedLines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += fmt::format("line {}\n", i);
  return text;
}

TEST(LineReaderTest, SplitsInputIntoLines) {
  struct Case {
    const char* Name;
    std::string Input;
    std::vector<std::string> Lines;
  };
  std::vector<std::string> numbered;
  numbered.reserve(2000);
  for (int i = 0; i < 2000; ++i) numbered.push_back(fmt::format("line {}", i));
  const std::vector<Case> cases = {
      {"plain lines", "help\nplayers\n", {"help", "players"}},
      {"Windows line breaks", "help\r\nplayers\r\n", {"help", "players"}},
      {"last line without a break", "help\nplayers", {"help", "players"}},
      {"empty lines", "\n\nhelp\n", {"", "", "help"}},
      {"no input", "", {}},
      {"lines across many reads", NumberedLines(2000), numbered},
  };
  for (const Case& c : cases) {
    const Reading reading = ReadAll(c.Input);
    EXPECT_EQ(reading.Lines, c.Lines) << c.Name;
    EXPECT_TRUE(reading.Ended) << c.Name;
    EXPECT_EQ(reading.Problem, "") << c.Name;
  }
}

TEST(LineReaderTest, StopsWhenTheHandlerSaysSo) {
  const Reading reading = ReadAll("help\nquit\nplayers\n");
  EXPECT_EQ(reading.Lines, (std::vector<std::string>{"help", "quit"}));
  EXPECT_FALSE(reading.Ended);
}

TEST(LineReaderTest, OverlongLineEndsTheInput) {
  const Reading longest = ReadAll(std::string(std::size_t{64} * 1024, 'x') + "\nhelp\n");
  EXPECT_EQ(longest.Lines.size(), 2u);
  EXPECT_EQ(longest.Problem, "");

  const Reading overlong = ReadAll("help\n" + std::string(64 * 1024 + 1, 'x') + "\nplayers\n");
  EXPECT_EQ(overlong.Lines, std::vector<std::string>{"help"});
  EXPECT_TRUE(overlong.Ended);
  EXPECT_EQ(overlong.Problem, "a console line is longer than 65536 bytes");
}

}  // namespace
}  // namespace Sandbox
