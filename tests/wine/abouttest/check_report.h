// PASS / FAIL lines on standard output, one per check, and the count of failures.
#pragma once

#include <string>

namespace abouttest {

class CheckReport {
 public:
  bool Check(const std::string& what, bool ok, const std::string& detail = "");
  bool Equal(const std::string& what, long long expected, long long actual);
  bool Equal(const std::string& what, const std::string& expected, const std::string& actual);
  int Failed() const { return failed_; }
  // Prints "N passed, N failed" and gives the exit code: 0 when nothing failed.
  int Finish() const;

 private:
  int passed_ = 0;
  int failed_ = 0;
};

}  // namespace abouttest
