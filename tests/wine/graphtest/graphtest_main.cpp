// Wine end-to-end test of the screen source in a recording graph. Usage:
//   graphtest.exe <PushSource.ax> <output.avi> <results.txt>
// Prints one PASS/FAIL line per check and "N passed, N failed"; the exit code is the number
// of failures. results.txt carries the numbers run.sh needs to check the AVI.
#include <windows.h>
#include <dshow.h>
#include <amvideo.h>

#include <cstdio>
#include <string>

#include "barcode_window.h"
#include "catalog_checks.h"
#include "graph_builder.h"
#include "kit_checks.h"
#include "live_loop_checks.h"
#include "push_source_ids.h"
#include "standin_ids.h"

using namespace graphtest;

namespace {

std::wstring Widen(const char* text) {
  int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring result(static_cast<size_t>(n > 0 ? n - 1 : 0), L'\0');
  if (n > 1) MultiByteToWideChar(CP_ACP, 0, text, -1, &result[0], n);
  return result;
}

void CheckVideoConnection(RecordingGraph& g, const BarcodeLayout& layout, ztest::Report& report) {
  zelvio::kit::ComPtr<IPin> out = FirstPin(g.pushSource.Get(), PINDIR_OUTPUT);
  AM_MEDIA_TYPE mt = {};
  if (!out || FAILED(out->ConnectionMediaType(&mt))) {
    report.Check(false, "push source output is connected");
    return;
  }
  const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
  bool ok = mt.subtype == MEDIASUBTYPE_RGB32 && vih && vih->bmiHeader.biWidth == layout.width &&
            vih->bmiHeader.biHeight == layout.height && vih->AvgTimePerFrame == 10000000 / layout.fps;
  report.Check(ok, ztest::Format("push source connected as RGB32 %dx%d at %d fps", layout.width,
                                 layout.height, layout.fps));
  CoTaskMemFree(mt.pbFormat);
  if (mt.pUnk) mt.pUnk->Release();
}

FILTER_STATE GraphState(IMediaControl* control) {
  OAFilterState state = State_Stopped;
  control->GetState(1000, &state);
  return static_cast<FILTER_STATE>(state);
}

struct RunFigures {
  LONGLONG positionAtStop = 0;
  LONGLONG delivered = 0;
  LONGLONG skipped = 0;
  double runningSeconds = 0;
  bool haveCounts = false;
};

double SecondsSince(const LARGE_INTEGER& from) {
  LARGE_INTEGER now;
  LARGE_INTEGER frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A stand-in for the cursor-hook program's window; the source looks for it by class and title.
HWND CreateCursorHookWindow() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TFormHookCursor";
  RegisterClassA(&wc);
  return CreateWindowExA(WS_EX_TOOLWINDOW, "TFormHookCursor", "FormHookCursor", WS_POPUP, 0, 0, 1, 1, nullptr,
                         nullptr, wc.hInstance, nullptr);
}

// Run 3 s, pause 1 s, run 2.7 s (the I-beam in the last 0.7 s), stop.
RunFigures RunScenario(RecordingGraph& g, const BarcodeLayout& layout, BarcodeWindows& windows,
                       ztest::Report& report) {
  RunFigures figures;
  zelvio::kit::ComPtr<IMediaControl> control;
  zelvio::kit::ComPtr<IMediaSeeking> seeking;
  g.graph.QueryTo(IID_IMediaControl, control);
  g.graph.QueryTo(IID_IMediaSeeking, seeking);
  if (!control || !seeking) {
    report.Check(false, "graph has IMediaControl and IMediaSeeking");
    return figures;
  }
  zelvio::kit::ComPtr<IZelvioPushSourceStats> stats;
  g.pushSource.QueryTo(IID_IZelvioPushSourceStats, stats);
  report.Check(static_cast<bool>(stats), "push source exposes its delivered/skipped counts");
  LARGE_INTEGER started;
  QueryPerformanceCounter(&started);
  // Run may answer S_FALSE while the renderers wait for their first sample.
  HRESULT run = control->Run();
  report.Check(SUCCEEDED(run), ztest::Format("Run (hr=0x%08lX)", static_cast<unsigned long>(run)));
  report.Check(GraphState(control.Get()) == State_Running, "graph running");
  Sleep(3000);
  figures.runningSeconds += SecondsSince(started);
  report.Ok(control->Pause(), "Pause");
  report.Check(GraphState(control.Get()) == State_Paused, "graph paused");
  LONGLONG atPause = -1;
  HRESULT firstRead = seeking->GetCurrentPosition(&atPause);
  Sleep(1000);
  LONGLONG stillPaused = -1;
  HRESULT secondRead = seeking->GetCurrentPosition(&stillPaused);
  // Both reads must work and show the 3 s that ran; equal failures prove nothing.
  report.Check(firstRead == S_OK && secondRead == S_OK,
               ztest::Format("position read while paused (hr=0x%08lX, 0x%08lX)",
                             static_cast<unsigned long>(firstRead), static_cast<unsigned long>(secondRead)));
  report.Check(atPause >= 20'000'000,
               ztest::Format("position at the pause shows the run before it (%lld)", atPause));
  report.Check(stillPaused == atPause,
               ztest::Format("position holds while paused (%lld, then %lld)", atPause, stillPaused));
  // From here on the cursor-hook window exists, so frames must show the cursor.
  HWND hook = CreateCursorHookWindow();
  SetCursorPos(layout.left + layout.cursorX, layout.top + layout.cursorY);
  report.Check(hook != nullptr, "cursor-hook window created");
  QueryPerformanceCounter(&started);
  run = control->Run();
  report.Check(SUCCEEDED(run),
               ztest::Format("Run after pause (hr=0x%08lX)", static_cast<unsigned long>(run)));
  // A slow stretch downstream: the test codec holds every frame well over a frame time, so
  // the source falls behind and must give up slots instead of queueing old pictures.
  Sleep(700);
  LONGLONG skippedBefore = 0;
  LONGLONG deliveredBefore = 0;
  if (stats) stats->GetCounts(&deliveredBefore, &skippedBefore);
  HANDLE slow = CreateEventW(nullptr, TRUE, FALSE, standins::kSlowCodecEventName);
  if (slow) SetEvent(slow);
  Sleep(600);
  if (slow) ResetEvent(slow);
  LONGLONG skippedAfter = 0;
  LONGLONG deliveredAfter = 0;
  if (stats) stats->GetCounts(&deliveredAfter, &skippedAfter);
  report.Check(slow != nullptr && skippedAfter - skippedBefore >= 3,
               ztest::Format("slow stretch: the source skips slots (%lld skipped, %lld delivered in 0.6 s)",
                             skippedAfter - skippedBefore, deliveredAfter - deliveredBefore));
  if (slow) CloseHandle(slow);
  Sleep(700);
  // An I-beam's hot spot lies inside its image: the frames from here on must show the image
  // placed at the cursor position less the hot spot.
  report.Check(windows.UseCursor(LoadCursor(nullptr, IDC_IBEAM)), "the region's cursor turned into an I-beam");
  Sleep(700);
  seeking->GetCurrentPosition(&figures.positionAtStop);
  figures.runningSeconds += SecondsSince(started);
  report.Ok(control->Stop(), "Stop");
  if (hook) DestroyWindow(hook);
  report.Check(GraphState(control.Get()) == State_Stopped, "graph stopped");
  if (stats) report.Ok(stats->GetCounts(&figures.delivered, &figures.skipped), "counts read after Stop");
  figures.haveCounts = static_cast<bool>(stats);
  return figures;
}

// What the recorder and the platform's mux share: one new input per connected one, the
// interleaving the recorder sets, read back, and the master-stream setting.
void CheckMuxInterfaces(RecordingGraph& g, ztest::Report& report) {
  zelvio::kit::ComPtr<IEnumPins> pins;
  int inputs = 0;
  int connected = 0;
  int outputs = 0;
  if (SUCCEEDED(g.mux->EnumPins(pins.Put()))) {
    IPin* pin = nullptr;
    while (pins->Next(1, &pin, nullptr) == S_OK) {
      PIN_DIRECTION dir = PINDIR_INPUT;
      pin->QueryDirection(&dir);
      IPin* peer = nullptr;
      bool isConnected = SUCCEEDED(pin->ConnectedTo(&peer)) && peer;
      if (peer) peer->Release();
      if (dir == PINDIR_OUTPUT) {
        ++outputs;
      } else {
        ++inputs;
        if (isConnected) ++connected;
      }
      pin->Release();
    }
  }
  report.Check(outputs == 1 && connected == 2 && inputs == 3,
               ztest::Format("mux: one output, two connected inputs and one free (%d, %d, %d)", outputs,
                             connected, inputs));
  zelvio::kit::ComPtr<IConfigInterleaving> interleaving;
  g.mux.QueryTo(IID_IConfigInterleaving, interleaving);
  InterleavingMode mode = INTERLEAVE_NONE;
  REFERENCE_TIME period = 0;
  REFERENCE_TIME preroll = 0;
  bool modeOk = interleaving && SUCCEEDED(interleaving->get_Mode(&mode)) && mode == INTERLEAVE_FULL;
  report.Check(modeOk, ztest::Format("mux get_Mode answers INTERLEAVE_FULL (%d)", static_cast<int>(mode)));
  const REFERENCE_TIME wantedPeriod = 5000000;
  const REFERENCE_TIME wantedPreroll = 2500000;
  bool periodOk = interleaving && SUCCEEDED(interleaving->put_Interleaving(&wantedPeriod, &wantedPreroll)) &&
                  SUCCEEDED(interleaving->get_Interleaving(&period, &preroll)) && period == wantedPeriod &&
                  preroll == wantedPreroll;
  report.Check(periodOk, ztest::Format("mux put_Interleaving / get_Interleaving round trip (%lld, %lld)",
                                       period, preroll));
  zelvio::kit::ComPtr<IConfigAviMux> config;
  g.mux.QueryTo(IID_IConfigAviMux, config);
  LONG master = -2;
  bool masterOk = config && SUCCEEDED(config->SetMasterStream(1)) &&
                  SUCCEEDED(config->GetMasterStream(&master)) && master == 1 &&
                  SUCCEEDED(config->SetMasterStream(-1));
  report.Check(masterOk,
               ztest::Format("mux IConfigAviMux master stream round trip (%ld)", static_cast<long>(master)));
}

// The mux's position is how far the file has got: about the recording's length at stop.
void CheckMuxPosition(RecordingGraph& g, double runningSeconds, ztest::Report& report) {
  zelvio::kit::ComPtr<IMediaSeeking> seeking;
  g.mux.QueryTo(IID_IMediaSeeking, seeking);
  LONGLONG position = 0;
  bool ok = seeking && SUCCEEDED(seeking->GetCurrentPosition(&position));
  double seconds = static_cast<double>(position) / 1e7;
  report.Check(ok && seconds > runningSeconds - 0.6 && seconds < runningSeconds + 0.1,
               ztest::Format("mux position at stop %.3f s for %.3f s running", seconds, runningSeconds));
}

// A full disk while recording: the mux must stop writing and abort the graph with
// EC_ERRORABORT carrying the write's error, as the platform's mux does; the recorder learns
// of the failure only through that event. /dev/full (drive Z: is the Unix root) accepts the
// file and fails every write with "disk full".
void CheckFullDisk(const char* pushSourceModule, ztest::Report& report) {
  const wchar_t* fullDisk = L"Z:\\dev\\full";
  HANDLE probe = CreateFileW(fullDisk, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe == INVALID_HANDLE_VALUE) {
    report.Skip("full disk", ztest::Format("/dev/full cannot be opened (error %lu)", GetLastError()));
    return;
  }
  CloseHandle(probe);
  RecordingGraph g;
  ztest::Report building(true);  // its lines repeat the main graph's; only the outcome counts here
  bool built = BuildRecordingGraph(pushSourceModule, fullDisk, g, building) && building.Failed() == 0;
  report.Check(built, "graph writing to a full disk built");
  zelvio::kit::ComPtr<IMediaControl> control;
  zelvio::kit::ComPtr<IMediaEvent> events;
  g.graph.QueryTo(IID_IMediaControl, control);
  g.graph.QueryTo(IID_IMediaEvent, events);
  if (built && control && events) {
    HRESULT run = control->Run();
    report.Check(SUCCEEDED(run),
                 ztest::Format("full disk: Run (hr=0x%08lX)", static_cast<unsigned long>(run)));
    long code = 0;
    LONG_PTR param1 = 0;
    LONG_PTR param2 = 0;
    bool aborted = false;
    DWORD until = GetTickCount() + 5000;
    while (!aborted && GetTickCount() < until) {
      if (events->GetEvent(&code, &param1, &param2, 100) != S_OK) continue;
      aborted = code == EC_ERRORABORT;
      if (!aborted) events->FreeEventParams(code, param1, param2);
    }
    report.Check(aborted && static_cast<HRESULT>(param1) == HRESULT_FROM_WIN32(ERROR_DISK_FULL),
                 ztest::Format("full disk: EC_ERRORABORT with 0x80070070 (%s, 0x%08lX)",
                               aborted ? "aborted" : "no abort", static_cast<unsigned long>(param1)));
    if (aborted) events->FreeEventParams(code, param1, param2);
    HRESULT stop = control->Stop();
    report.Check(SUCCEEDED(stop),
                 ztest::Format("full disk: Stop (hr=0x%08lX)", static_cast<unsigned long>(stop)));
  }
  TearDown(g);
}

// <name>_hot_x, _hot_y, _width, _height and _pixels (RRGGBB, comma-separated, top-down).
void WriteCursorImage(FILE* out, const char* name, HCURSOR cursor) {
  CursorImage image = DrawCursorOnGrey(cursor);
  std::fprintf(out, "%s_hot_x=%d\n%s_hot_y=%d\n%s_width=%d\n%s_height=%d\n%s_pixels=", name, image.hotX, name,
               image.hotY, name, image.width, name, image.height, name);
  for (size_t i = 0; i < image.pixels.size(); ++i) std::fprintf(out, "%s%06X", i ? "," : "", image.pixels[i]);
  std::fprintf(out, "\n");
}

void WriteResults(const char* path, const BarcodeLayout& l, const RunFigures& f, bool audioInMux) {
  FILE* out = std::fopen(path, "w");
  if (!out) return;
  std::fprintf(out, "width=%d\nheight=%d\nfps=%d\n", l.width, l.height, l.fps);
  std::fprintf(out, "bar_x=%d\nbar_y=%d\nblock_w=%d\nblock_h=%d\nbits=%d\ntick_ms=%d\n", l.barX, l.barY,
               l.blockWidth, l.blockHeight, l.bits, l.tickMs);
  std::fprintf(out, "position_at_stop=%lld\nrunning_seconds=%.4f\n", f.positionAtStop, f.runningSeconds);
  std::fprintf(out, "delivered=%lld\nskipped=%lld\nhave_counts=%d\n", f.delivered, f.skipped,
               f.haveCounts ? 1 : 0);
  std::fprintf(out, "audio_in_mux=%d\n", audioInMux ? 1 : 0);
  std::fprintf(out, "cursor_x=%d\ncursor_y=%d\n", l.cursorX, l.cursorY);
  WriteCursorImage(out, "arrow", LoadCursor(nullptr, IDC_ARROW));
  WriteCursorImage(out, "ibeam", LoadCursor(nullptr, IDC_IBEAM));
  std::fprintf(out, "edge_top=%u\nedge_bottom=%u\nedge_left=%u\nedge_right=%u\n", kEdgeColours.top,
               kEdgeColours.bottom, kEdgeColours.left, kEdgeColours.right);
  std::fclose(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == "--priority") {
    ztest::Report report;
    CheckStreamingThreadPriority(report);
    return report.Finish();
  }
  if (argc < 4) {
    std::printf("usage: graphtest.exe <PushSource.ax> <output.avi> <results.txt> | --priority\n");
    return 2;
  }
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  ztest::Report report;
  BarcodeLayout layout;
  BarcodeWindows windows(layout);
  SetCursorPos(0, 0);  // off the region until the cursor-hook window appears
  report.Check(windows.Start(), "test windows created");
  Sleep(500);

  CheckCatalogs(report);
  CheckKit(argv[1], Widen(argv[2]) + L".scratch", report);
  CheckLiveLoopWait(report);

  RunFigures figures;
  bool audioInMux = false;
  {
    RecordingGraph g;
    if (BuildRecordingGraph(argv[1], Widen(argv[2]), g, report)) {
      CheckVideoConnection(g, layout, report);
      CheckMuxInterfaces(g, report);
      figures = RunScenario(g, layout, windows, report);
      CheckMuxPosition(g, figures.runningSeconds, report);
    }
    audioInMux = g.audioInMux;
    TearDown(g);
  }
  std::printf("# push source: %lld delivered, %lld skipped, position at stop %lld\n", figures.delivered,
              figures.skipped, figures.positionAtStop);
  CheckFullDisk(argv[1], report);
  WriteResults(argv[3], layout, figures, audioInMux);
  windows.Stop();
  CoUninitialize();
  return report.Finish();
}
