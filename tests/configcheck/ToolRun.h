// Runs questveto-config-check in-process on files in a temporary directory of the test's own.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tools/configcheck/ConfigCheckCommand.h"

struct ToolRun {
  int Status;
  std::string Out;
  std::string Err;

  // The --json output as a document; fails the test when it does not parse.
  nlohmann::json Json() const {
    try {
      return nlohmann::json::parse(Out);
    } catch (const nlohmann::json::exception& error) {
      ADD_FAILURE() << "not JSON: " << error.what() << "\n" << Out;
      return nullptr;
    }
  }
};

class ToolTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "qv-configcheck-XXXXXX");
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // The path of `name` in the test's directory.
  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

  // Writes `text` to `name` in the test's directory and answers its path.
  std::string Write(const std::string& name, const std::string& text) {
    std::string path = PathOf(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  ToolRun Run(const std::vector<std::string>& args) {
    std::vector<const char*> argv{"questveto-config-check"};
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunConfigCheck(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
  }

  // The --json report of `config` written to config.json, with `names` to look up.
  nlohmann::json Report(const std::string& config, std::vector<std::string> names = {}) {
    names.insert(names.begin(), {"--json", Write("config.json", config)});
    return Run(names).Json();
  }

 private:
  std::filesystem::path dir_;
};
