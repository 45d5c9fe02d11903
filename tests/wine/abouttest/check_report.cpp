#include "check_report.h"

#include <cstdio>

namespace abouttest {

bool CheckReport::Check(const std::string& what, bool ok, const std::string& detail) {
  if (ok) {
    ++passed_;
    std::printf("PASS: %s\n", what.c_str());
  } else {
    ++failed_;
    std::printf("FAIL: %s%s%s%s\n", what.c_str(), detail.empty() ? "" : " (", detail.c_str(),
                detail.empty() ? "" : ")");
  }
  std::fflush(stdout);
  return ok;
}

bool CheckReport::Equal(const std::string& what, long long expected, long long actual) {
  return Check(what, expected == actual,
               "expected " + std::to_string(expected) + ", got " + std::to_string(actual));
}

bool CheckReport::Equal(const std::string& what, const std::string& expected, const std::string& actual) {
  return Check(what, expected == actual, "expected '" + expected + "', got '" + actual + "'");
}

int CheckReport::Finish() const {
  std::printf("%d passed, %d failed\n", passed_, failed_);
  std::fflush(stdout);
  return failed_ == 0 ? 0 : 1;
}

}  // namespace abouttest
