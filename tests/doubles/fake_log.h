// The call log of the recording doubles: every call that shows something or changes the
// outside world is one readable line, in call order, so a test can assert an exact sequence
// across kinds. Questions that change nothing go in only while `logQueries` is on.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace zelvio {

class FakeLog {
 public:
  std::vector<std::string> log;
  bool logQueries = false;

  // Log lines that begin with `prefix`, in order.
  std::vector<std::string> Entries(std::string_view prefix) const {
    std::vector<std::string> found;
    for (const std::string& line : log) {
      if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
    }
    return found;
  }
  size_t Count(std::string_view prefix) const { return Entries(prefix).size(); }
  // Log lines that begin with any of the prefixes, in order: one sequence across kinds.
  std::vector<std::string> Entries(std::initializer_list<std::string_view> prefixes) const {
    std::vector<std::string> found;
    for (const std::string& line : log) {
      for (std::string_view prefix : prefixes) {
        if (line.compare(0, prefix.size(), prefix) != 0) continue;
        found.push_back(line);
        break;
      }
    }
    return found;
  }

 protected:
  void Query(const std::string& line) {
    if (logQueries) log.push_back(line);
  }
};

}  // namespace zelvio
