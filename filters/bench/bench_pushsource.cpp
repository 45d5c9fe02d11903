// Throughput benchmark of the screen source: PushSource.ax -> Null Renderer for a while at a
// given size and rate, with the bare BitBlt cost measured in the same process.
// Usage: bench_pushsource.exe <PushSource.ax> <width> <height> <fps> <seconds>
// Prints one "key=value" line per figure.
#include <windows.h>
#include <dshow.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "graph_parts.h"
#include "push_source_ids.h"
#include "screen_grabber.h"

namespace {

double FileTimeSeconds(const FILETIME& t) {
  ULARGE_INTEGER v;
  v.LowPart = t.dwLowDateTime;
  v.HighPart = t.dwHighDateTime;
  return static_cast<double>(v.QuadPart) / 1e7;
}

double ProcessCpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  return FileTimeSeconds(kernel) + FileTimeSeconds(user);
}

double NowSeconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct BlitCost {
  double medianMs = 0;
  double cpuMsPerBlit = 0;
};

// Paced at the frame rate like the source, so both see the same X server load.
BlitCost MeasureBareBlit(int width, int height, int fps, int count) {
  zelvio::pushsource::ScreenGrabber grabber;
  BlitCost cost;
  if (!grabber.Open(width, height, 32)) return cost;
  for (int i = 0; i < 10; ++i) grabber.BlitOnly(0, 0);
  std::vector<double> times;
  // Process time, like the per-frame figure, so the two compare like for like.
  double cpuBefore = ProcessCpuSeconds();
  for (int i = 0; i < count; ++i) {
    double t0 = NowSeconds();
    grabber.BlitOnly(0, 0);
    GdiFlush();
    double ms = (NowSeconds() - t0) * 1000.0;
    times.push_back(ms);
    double rest = 1000.0 / fps - ms;
    if (rest > 1) Sleep(static_cast<DWORD>(rest));
  }
  cost.cpuMsPerBlit = (ProcessCpuSeconds() - cpuBefore) * 1000.0 / count;
  std::sort(times.begin(), times.end());
  cost.medianMs = times[times.size() / 2];
  return cost;
}

int Fail(const char* what, HRESULT hr) {
  std::printf("error=%s hr=0x%08lX\n", what, static_cast<unsigned long>(hr));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6) {
    std::printf("usage: bench_pushsource.exe <PushSource.ax> <width> <height> <fps> <seconds>\n");
    return 2;
  }
  const int width = std::atoi(argv[2]);
  const int height = std::atoi(argv[3]);
  const int fps = std::atoi(argv[4]);
  const int seconds = std::atoi(argv[5]);
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  // The source reads its region and rate from this window, as it does from the overlay.
  HWND overlay = ztest::CreateOverlayStandIn(0, 0, width, height, fps);

  zelvio::kit::ComPtr<IGraphBuilder> graph;
  zelvio::kit::ComPtr<ICaptureGraphBuilder2> builder;
  zelvio::kit::ComPtr<IBaseFilter> source;
  zelvio::kit::ComPtr<IBaseFilter> renderer;
  HRESULT hr =
      CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.PutVoid());
  if (FAILED(hr)) return Fail("graph", hr);
  hr = CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2,
                        builder.PutVoid());
  if (FAILED(hr)) return Fail("builder", hr);
  builder->SetFiltergraph(graph.Get());
  hr = ztest::LoadFilterFromModule(argv[1], CLSID_ZelvioPushSource, source.Put());
  if (FAILED(hr)) return Fail("pushsource", hr);
  hr = ztest::CreateFilter(ztest::kNullRenderer, renderer);
  if (FAILED(hr)) return Fail("nullrenderer", hr);
  graph->AddFilter(source.Get(), L"PushSource");
  graph->AddFilter(renderer.Get(), L"Null");
  hr = builder->RenderStream(nullptr, &MEDIATYPE_Video, source.Get(), nullptr, renderer.Get());
  if (FAILED(hr)) return Fail("connect", hr);

  zelvio::kit::ComPtr<IMediaControl> control;
  zelvio::kit::ComPtr<IZelvioPushSourceStats> stats;
  graph.QueryTo(IID_IMediaControl, control);
  source.QueryTo(IID_IZelvioPushSourceStats, stats);
  double cpuBefore = ProcessCpuSeconds();
  double wallBefore = NowSeconds();
  hr = control->Run();
  if (FAILED(hr)) return Fail("run", hr);
  Sleep(static_cast<DWORD>(seconds) * 1000);
  LONGLONG delivered = 0;
  LONGLONG skipped = 0;
  stats->GetCounts(&delivered, &skipped);
  double wall = NowSeconds() - wallBefore;
  double cpu = ProcessCpuSeconds() - cpuBefore;
  control->Stop();
  // Measured after the run, when Wine's start-up work in this process is long over.
  BlitCost bare = MeasureBareBlit(width, height, fps, 5 * fps);

  std::printf("size=%dx%d\nfps=%d\nseconds=%.2f\n", width, height, fps, wall);
  std::printf("delivered=%lld\nskipped=%lld\n", delivered, skipped);
  std::printf("delivered_per_second=%.2f\n", delivered / wall);
  std::printf("delivered_share=%.4f\n",
              delivered + skipped > 0 ? double(delivered) / double(delivered + skipped) : 0.0);
  std::printf("cpu_ms_per_frame=%.3f\n", delivered > 0 ? cpu * 1000.0 / delivered : 0.0);
  std::printf("bare_blit_median_ms=%.3f\nbare_blit_cpu_ms=%.3f\n", bare.medianMs, bare.cpuMsPerBlit);
  if (overlay) DestroyWindow(overlay);
  CoUninitialize();
  return 0;
}
