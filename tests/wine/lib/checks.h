// How every Windows-side check program of ours reports, in the format of the shell tests:
// "PASS: what", "FAIL: what (detail)", "SKIP: what (why)", notes as "# text", and a last
// line "N passed, N failed". tests/wine/lib/common.sh (zt_run_checks) reads it back.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>

namespace ztest {

// printf-style text for a check's name.
inline std::string Format(const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

class Report {
 public:
  Report() = default;
  // A quiet report counts without printing: for a step repeated only as set-up, whose
  // lines would otherwise count twice.
  explicit Report(bool quiet) : quiet_(quiet) {}

  bool Check(bool ok, const std::string& what, const std::string& detail = "") {
    ++(ok ? passed_ : failed_);
    if (!quiet_) Line(ok ? "PASS" : "FAIL", what, ok ? "" : detail);
    return ok;
  }
  bool Equal(const std::string& what, long long expected, long long actual) {
    return Check(expected == actual, what,
                 "expected " + std::to_string(expected) + ", got " + std::to_string(actual));
  }
  bool Equal(const std::string& what, const std::string& expected, const std::string& actual) {
    return Check(expected == actual, what, "expected '" + expected + "', got '" + actual + "'");
  }
  // An HRESULT that must be exactly S_OK.
  bool Ok(long hr, const std::string& what) {
    return Check(hr == 0, what, Format("hr=0x%08lX", static_cast<unsigned long>(hr)));
  }
  // A check that cannot be made here counts as neither passed nor failed.
  void Skip(const std::string& what, const std::string& why) {
    if (!quiet_) Line("SKIP", what, why);
  }
  void Note(const std::string& text) {
    std::printf("# %s\n", text.c_str());
    std::fflush(stdout);
  }
  int Passed() const { return passed_; }
  int Failed() const { return failed_; }
  // Prints the last line and gives the exit code: 0 when nothing failed.
  int Finish() const {
    std::printf("%d passed, %d failed\n", passed_, failed_);
    std::fflush(stdout);
    return failed_ == 0 ? 0 : 1;
  }

 private:
  static void Line(const char* result, const std::string& what, const std::string& detail) {
    std::printf("%s: %s%s%s%s\n", result, what.c_str(), detail.empty() ? "" : " (", detail.c_str(),
                detail.empty() ? "" : ")");
    std::fflush(stdout);
  }

  bool quiet_ = false;
  int passed_ = 0;
  int failed_ = 0;
};

}  // namespace ztest
