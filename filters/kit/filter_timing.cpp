#include "kit/filter_timing.h"

#ifdef ZELVIO_FILTER_TIMING
#include <cstdio>
#include <string>

#include "kit/base_filter.h"
#include "kit/base_pin.h"
#include "kit/com_ptr.h"

namespace zelvio::kit {

namespace {

std::string Utf8(const std::wstring& text) {
  int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
  out.resize(static_cast<size_t>(size - 1));
  return out;
}

std::wstring FilterName(IBaseFilter* filter) {
  FILTER_INFO info = {};
  if (!filter || FAILED(filter->QueryFilterInfo(&info))) return L"?";
  if (info.pGraph) info.pGraph->Release();
  return info.achName;
}

std::wstring PeerFilterName(BasePin& pin) {
  IPin* peer = pin.Peer();
  PIN_INFO info = {};
  if (!peer || FAILED(peer->QueryPinInfo(&info))) return L"-";
  std::wstring name = FilterName(info.pFilter);
  if (info.pFilter) info.pFilter->Release();
  return name;
}

std::string Line(const std::wstring& filter, const std::wstring& pin, const char* dir,
                 const std::wstring& peer, const WorkTiming& timing) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  char numbers[96];
  std::snprintf(numbers, sizeof numbers, "\tcalls=%lld\tms=%.3f\n",
                static_cast<long long>(timing.calls.load()),
                static_cast<double>(timing.ticks.load()) * 1000.0 / static_cast<double>(frequency.QuadPart));
  return "filter=" + Utf8(filter) + "\tpin=" + Utf8(pin) + "\tdir=" + dir + "\tpeer=" + Utf8(peer) + numbers;
}

void AppendToTimesFile(const std::string& text) {
  wchar_t path[MAX_PATH];
  DWORD length = GetEnvironmentVariableW(L"ZELVIO_FILTER_TIMES", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH || text.empty()) return;
  HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

double CounterMs(LONGLONG ticks) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

void WriteFilterTimings(BaseFilter& filter) {
  std::wstring name = FilterName(&filter);
  std::string text;
  if (filter.StepTiming().calls > 0) text += Line(name, L"-", "step", L"-", filter.StepTiming());
  for (int i = 0; i < filter.PinCount(); ++i) {
    BasePin* pin = filter.PinAt(i);
    if (!pin || pin->Timing().calls == 0) continue;
    PIN_DIRECTION direction = PINDIR_INPUT;
    pin->QueryDirection(&direction);
    text += Line(name, pin->Name(), direction == PINDIR_INPUT ? "in" : "out", PeerFilterName(*pin),
                 pin->Timing());
  }
  AppendToTimesFile(text);
}

StepLog::Span::Span(StepLog& log, int64_t slot, int64_t streamTime)
    : log_(log), slot_(slot), streamTime_(streamTime) {
  QueryPerformanceCounter(&start_);
}

StepLog::Span::~Span() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  char line[160];
  std::snprintf(line, sizeof line, "step\tslot=%lld\tstream_ms=%.2f\tbegin_ms=%.2f\tend_ms=%.2f\n",
                static_cast<long long>(slot_), static_cast<double>(streamTime_) / 10000.0,
                CounterMs(start_.QuadPart), CounterMs(now.QuadPart));
  log_.text_ += line;
}

void StepLog::Clear() {
  text_.clear();
  text_.reserve(1 << 20);
}

void StepLog::Write() {
  AppendToTimesFile(text_);
  text_.clear();
}

void ResetFilterTimings(BaseFilter& filter) {
  filter.StepTiming().Reset();
  for (int i = 0; i < filter.PinCount(); ++i) {
    if (BasePin* pin = filter.PinAt(i)) pin->Timing().Reset();
  }
}

}  // namespace zelvio::kit
#endif
