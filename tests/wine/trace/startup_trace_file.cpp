// The recorder behind ZelvioTraced.exe: every start-up mark with the performance counter in
// microseconds, written once start-up is over to "startup-trace.txt" beside the program.
// The counter is the one every Wine process shares, so the benchmark can put the marks on
// the driver's time line (zdriver start-timed prints the counter when it starts the program).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/startup_trace_win32.h"

namespace zelvio {
namespace {

struct Mark {
  long long microseconds;
  std::string step;
};

std::vector<Mark>& Marks() {
  static std::vector<Mark> marks = [] {
    std::vector<Mark> reserved;
    reserved.reserve(256);
    return reserved;
  }();
  return marks;
}

long long NowMicroseconds() {
  LARGE_INTEGER frequency = {};
  LARGE_INTEGER now = {};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return now.QuadPart / frequency.QuadPart * 1000000 +
         now.QuadPart % frequency.QuadPart * 1000000 / frequency.QuadPart;
}

std::string TraceFilePath() {
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  size_t slash = folder.find_last_of("\\/");
  folder.resize(slash == std::string::npos ? 0 : slash + 1);
  return folder + "startup-trace.txt";
}

}  // namespace

void StartupTraceMark(const std::string& step) {
  if (Marks().size() < Marks().capacity()) Marks().push_back({NowMicroseconds(), step});
}

void StartupTraceEnd() {
  static bool written = false;
  if (written) return;
  written = true;
  FILE* file = std::fopen(TraceFilePath().c_str(), "w");
  if (!file) return;
  for (const Mark& mark : Marks()) std::fprintf(file, "%lld %s\n", mark.microseconds, mark.step.c_str());
  std::fclose(file);
}

}  // namespace zelvio
