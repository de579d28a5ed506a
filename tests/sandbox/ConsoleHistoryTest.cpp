// Where the typed console keeps its lines across runs: the operator's server directory, else the
// user's state directory as the environment names it.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "sandbox/console/ConsoleHistory.h"

namespace {

using Variables = std::map<std::string, std::string>;

TEST(ConsoleHistoryTest, FileChosenFromTheServerDirectoryAndTheEnvironment) {
  struct Case {
    const char* why;
    std::string operatorDir;  // empty: a scratch server directory
    Variables environment;
    std::string file;
  };
  const std::string state = "/questveto-sandbox/console-history";
  const Case cases[] = {
      {"the operator's directory wins",
       "/srv/game",
       {{"XDG_STATE_HOME", "/s"}, {"HOME", "/h"}},
       "/srv/game/console-history"},
      {"XDG_STATE_HOME before HOME", "", {{"XDG_STATE_HOME", "/s"}, {"HOME", "/h"}}, "/s" + state},
      {"XDG_STATE_HOME alone", "", {{"XDG_STATE_HOME", "/s"}}, "/s" + state},
      {"no XDG_STATE_HOME", "", {{"HOME", "/h"}}, "/h/.local/state" + state},
      {"an empty XDG_STATE_HOME",
       "",
       {{"XDG_STATE_HOME", ""}, {"HOME", "/h"}},
       "/h/.local/state" + state},
      {"a relative XDG_STATE_HOME",
       "",
       {{"XDG_STATE_HOME", "s"}, {"HOME", "/h"}},
       "/h/.local/state" + state},
      {"a relative HOME", "", {{"HOME", "h"}}, ""},
      {"an empty HOME", "", {{"HOME", ""}}, ""},
      {"neither", "", {}, ""},
  };
  for (const Case& c : cases) {
    const auto lookup = [&](const std::string& name) -> std::optional<std::string> {
      const auto found = c.environment.find(name);
      if (found == c.environment.end()) return std::nullopt;
      return found->second;
    };
    EXPECT_EQ(Sandbox::ConsoleHistoryFile(c.operatorDir, lookup), c.file) << c.why;
  }
}

}  // namespace
