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

#include "sandbox/console/LineReader.h"

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
  std::vector<std::string> Refused;
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
        },
        [&](const std::string& why) { reading.Refused.push_back(why); });
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

// A line over the bound is dropped whole, wherever the reads that bring it begin and end, and
// the lines around it are read as they are.
TEST(LineReaderTest, OverlongLinesAreRefusedAloneAndReadingGoesOn) {
  const std::string refused = "A console line longer than 65536 bytes was refused";
  const std::string longest(LineReader::kMaxLineBytes, 'x');
  const std::string overlong(LineReader::kMaxLineBytes + 1, 'x');
  const std::string huge(std::size_t{300} * 1024, 'y');
  struct Case {
    const char* Name;
    std::string Input;
    std::vector<std::string> Lines;
    std::size_t Refusals;
  };
  const std::vector<Case> cases = {
      {"the longest line taken", longest + "\nhelp\n", {longest, "help"}, 0},
      {"one byte over", "help\n" + overlong + "\nplayers\n", {"help", "players"}, 1},
      {"many reads long, then lines", huge + "\nhelp\nplayers\n", {"help", "players"}, 1},
      {"two in a row", overlong + "\n" + huge + "\r\nhelp\n", {"help"}, 2},
      {"the last line, without a break", "help\n" + huge, {"help"}, 1},
      {"a line over the bound ending in its break", "help\n" + huge + "\n", {"help"}, 1},
  };
  for (const Case& c : cases) {
    const Reading reading = ReadAll(c.Input);
    EXPECT_EQ(reading.Lines.size(), c.Lines.size()) << c.Name;
    EXPECT_TRUE(reading.Lines == c.Lines) << c.Name;
    EXPECT_EQ(reading.Refused, std::vector<std::string>(c.Refusals, refused)) << c.Name;
    EXPECT_TRUE(reading.Ended) << c.Name;
    EXPECT_EQ(reading.Problem, "") << c.Name;
  }
}

}  // namespace
}  // namespace Sandbox
