#pragma once
// A small test harness for the Win32 test programs, which have no GoogleTest:
// each check is named "group / row", a failure prints both values, and the
// program ends with "N passed, N failed" and a non-zero status on failure.

#include <cstdio>
#include <sstream>
#include <string>
#include <string_view>

namespace check {

class Suite {
 public:
  // Starts a group of rows; the rows' names are unique within it.
  void Group(std::string_view name) { group_ = name; }

  // Counts one check of `row`, printing `detail` when it fails.
  bool Expect(bool ok, std::string_view row, std::string_view detail = {}) {
    ok ? ++passed_ : ++failed_;
    if (!ok) {
      std::printf("FAIL %s / %.*s: %.*s\n", group_.c_str(),
                  static_cast<int>(row.size()), row.data(),
                  static_cast<int>(detail.size()), detail.data());
    }
    return ok;
  }

  template <class A, class E>
  bool Equal(const A& actual, const E& expected, std::string_view row) {
    if (actual == expected) return Expect(true, row);
    std::ostringstream detail;
    detail << "got \"" << actual << "\", want \"" << expected << "\"";
    return Expect(false, row, detail.str());
  }

  // The closing line ctest and CI read; the process's exit status.
  int Finish() const {
    std::printf("%d passed, %d failed\n", passed_, failed_);
    return failed_ == 0 ? 0 : 1;
  }

 private:
  std::string group_;
  int passed_ = 0;
  int failed_ = 0;
};

}  // namespace check
