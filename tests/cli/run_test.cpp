#include "cli/run.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

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

}  // namespace
}  // namespace cli
