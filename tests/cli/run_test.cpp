#include "cli/run.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace cli {
namespace {

std::string Slurp(std::FILE* file) {
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
  return text;
}

TEST(Deliver, WritesTheAnswerAndReturnsItsStatus) {
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  ASSERT_NE(out, nullptr);
  ASSERT_NE(err, nullptr);
  EXPECT_EQ(Deliver({kExitRefused, "", "baud51-cli: no\n"}, out, err),
            kExitRefused);
  EXPECT_EQ(Deliver({kExitAnswered, "answer\n", ""}, out, err), kExitAnswered);
  EXPECT_EQ(Slurp(out), "answer\n");
  EXPECT_EQ(Slurp(err), "baud51-cli: no\n");
  std::fclose(out);
  std::fclose(err);
}

// A stream opened for reading refuses every write. (Not this source file:
// a compiler cache may make __FILE__ relative to another folder.)
TEST(Deliver, AnOutputThatRefusesIsStatusThreeWithOneLine) {
  const std::string path = testing::TempDir() + "baud51_deliver_refuses";
  std::FILE* made = std::fopen(path.c_str(), "w");
  ASSERT_NE(made, nullptr);
  std::fclose(made);
  std::FILE* out = std::fopen(path.c_str(), "r");
  std::FILE* err = std::tmpfile();
  ASSERT_NE(out, nullptr);
  ASSERT_NE(err, nullptr);
  EXPECT_EQ(Deliver({kExitAnswered, "answer\n", ""}, out, err),
            kExitWriteFailed);
  const std::string line = Slurp(err);
  EXPECT_TRUE(line.starts_with("baud51-cli: cannot write the output: "))
      << line;
  EXPECT_EQ(line.find('\n'), line.size() - 1) << line;
  std::fclose(out);
  std::fclose(err);
  std::remove(path.c_str());
}

// Every key anywhere in `json`.
void KeysOf(const nlohmann::json& json, std::set<std::string>& keys) {
  if (json.is_object()) {
    for (const auto& [key, value] : json.items()) {
      keys.insert(key);
      KeysOf(value, keys);
    }
  } else if (json.is_array()) {
    for (const auto& value : json) KeysOf(value, keys);
  }
}

RunResult RunWith(std::vector<std::string> args, const std::string& format) {
  args.insert(args.end(), {"--format", format});
  return Run(args, {});
}

// Each answer in each format: its own output with status 0, or refused as
// bad input. CSV's keys are unique and each is a key of the same JSON.
TEST(Formats, EachAnswerIsWrittenInItsOwnOrRefused) {
  const std::string code = testing::TempDir() + "baud51_formats.c";
  std::FILE* file = std::fopen(code.c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::fputs("TMOD = 0x20; TH1 = 0xFD; TR1 = 1; SCON = 0x50;\n", file);
  std::fclose(file);
  const std::vector<std::vector<std::string>> answers = {
      {"12", "9600"},
      {"table", "12"},
      {"crystals", "9600"},
      {"crystals", "9600", "--chip", "stc15"},
      {"tick", "12", "1ms"},
      {"chips"},
      {"explain", "11.0592", code},
      {"delay", "12", "1ms"}};
  for (const std::vector<std::string>& args : answers) {
    const std::string text = RunWith(args, "text").out;
    for (const std::string format : {"csv", "json", "markdown"}) {
      const RunResult result = RunWith(args, format);
      if (result.status == kExitBadInput) continue;
      ASSERT_EQ(result.status, kExitAnswered) << args[0] << " " << format;
      EXPECT_NE(result.out, text) << args[0] << " " << format;
    }
    const RunResult csv = RunWith(args, "csv");
    if (csv.status != kExitAnswered) continue;
    std::set<std::string> json_keys, csv_keys;
    KeysOf(nlohmann::json::parse(RunWith(args, "json").out), json_keys);
    std::istringstream header(csv.out.substr(0, csv.out.find('\n')));
    for (std::string key; std::getline(header, key, ',');) {
      EXPECT_TRUE(csv_keys.insert(key).second) << args[0] << ": " << key;
      EXPECT_TRUE(json_keys.contains(key)) << args[0] << ": " << key;
    }
  }
  std::remove(code.c_str());
}

}  // namespace
}  // namespace cli
