// Speed and size of the screen codec's encoder on raw clips (not a test).
//
//   bench_zmbv make CLIP OUT.raw FRAMES [WxH]     paint a synthetic clip (synthetic_screens.h)
//   bench_zmbv encode IN.raw WxH [faster|smaller] [--key N] [--avi OUT.avi] [--threads N]
//                     [--frames OUT.tsv]
//   bench_zmbv compare IN.raw WxH                 the floor: memcmp of consecutive frames
//
// A raw clip is frames of 4 bytes a pixel (B, G, R, X), top row first, concatenated.
// Frames are read alternately into two buffers, so each frame is compared against memory
// other than its own, as with a real grabber; reading the file is not timed.
// Prints per-frame wall time (median, p95, max) and bytes. bench_zmbv.sh runs the clips
// against ffmpeg's encoders.
//
// --threads N hands the encoder a runner of N standard threads (without it: no runner, the
// encoder works alone). Beside the wall time each frame's CPU time is measured for the whole
// process, every thread summed: the work a frame takes, whoever does it. Work / cores is the
// least wall time that many cores could reach. --frames writes one line per frame:
// index, key (1/0), wall ms, CPU ms, bytes.
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "screencodec/bench/synthetic_screens.h"
#include "screencodec/bench/zmbv_avi_file.h"
#include "screencodec/core/std_task_runner.h"
#include "screencodec/core/zmbv_encoder.h"

namespace {

using namespace zelvio::screencodec;
using Clock = std::chrono::steady_clock;

// CPU time: on a machine shared with other work the wall time swings with the load, the CPU
// time much less. The compare counts its own thread; an encode counts the whole process, so
// the runner's threads are in it too.
double CpuMs(clockid_t clock) {
  timespec t;
  clock_gettime(clock, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double ThreadMs() { return CpuMs(CLOCK_THREAD_CPUTIME_ID); }
double ProcessMs() { return CpuMs(CLOCK_PROCESS_CPUTIME_ID); }

bool ParseSize(const std::string& text, int& w, int& h) {
  return std::sscanf(text.c_str(), "%dx%d", &w, &h) == 2 && w > 0 && h > 0;
}

int Usage() {
  std::fprintf(
      stderr,
      "usage: bench_zmbv make CLIP OUT.raw FRAMES [WxH]\n"
      "       bench_zmbv encode IN.raw WxH [faster|smaller] [--key N] [--avi OUT.avi] [--threads N]\n"
      "                         [--frames OUT.tsv]\n"
      "       bench_zmbv compare IN.raw WxH\nclips:");
  for (const auto& name : bench::ClipNames()) std::fprintf(stderr, " %s", name.c_str());
  std::fprintf(stderr, "\n");
  return 2;
}

struct RawClip {
  FILE* file = nullptr;
  size_t frameBytes = 0;
  RawClip(const std::string& path, int w, int h)
      : file(std::fopen(path.c_str(), "rb")), frameBytes(size_t(w) * h * 4) {}
  ~RawClip() {
    if (file) std::fclose(file);
  }
  bool Next(std::vector<uint8_t>& frame) {
    frame.resize(frameBytes);
    return std::fread(frame.data(), 1, frameBytes, file) == frameBytes;
  }
};

void Report(const char* what, std::vector<double> ms) {
  if (ms.empty()) return;
  std::sort(ms.begin(), ms.end());
  double median = ms[ms.size() / 2];
  double p95 = ms[std::min(ms.size() - 1, ms.size() * 95 / 100)];
  double sum = 0;
  for (double v : ms) sum += v;
  std::printf("%s frames %zu median_ms %.3f p95_ms %.3f max_ms %.3f mean_ms %.3f\n", what, ms.size(), median,
              p95, ms.back(), sum / double(ms.size()));
}

int Make(int argc, char** argv) {
  bench::Clip clip;
  if (argc < 5 || !bench::ClipFromName(argv[2], clip)) return Usage();
  int frames = std::atoi(argv[4]), w = 1920, h = 1080;
  if (argc > 5 && !ParseSize(argv[5], w, h)) return Usage();
  FILE* out = std::fopen(argv[3], "wb");
  if (!out) return 1;
  std::vector<uint8_t> frame;
  for (int i = 0; i < frames; ++i) {
    bench::PaintFrame(clip, i, w, h, frame);
    std::fwrite(frame.data(), 1, frame.size(), out);
  }
  std::fclose(out);
  return 0;
}

int Encode(int argc, char** argv) {
  int w, h;
  if (argc < 4 || !ParseSize(argv[3], w, h)) return Usage();
  EncoderSettings settings;
  settings.width = w;
  settings.height = h;
  std::string avi, framesPath;
  int threads = 0;
  for (int i = 4; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "faster")
      settings.effort = Effort::Faster;
    else if (a == "smaller")
      settings.effort = Effort::Smaller;
    else if (a == "--key" && i + 1 < argc)
      settings.keyFrameInterval = std::atoi(argv[++i]);
    else if (a == "--avi" && i + 1 < argc)
      avi = argv[++i];
    else if (a == "--threads" && i + 1 < argc)
      threads = std::atoi(argv[++i]);
    else if (a == "--frames" && i + 1 < argc)
      framesPath = argv[++i];
    else
      return Usage();
  }
  if (threads < 0) return Usage();
  std::unique_ptr<StdTaskRunner> runner;
  if (threads > 0) {
    runner = std::make_unique<StdTaskRunner>(threads);
    settings.runner = runner.get();
  }
  RawClip clip(argv[2], w, h);
  if (!clip.file) return 1;
  FILE* perFrame = framesPath.empty() ? nullptr : std::fopen(framesPath.c_str(), "w");
  if (!framesPath.empty() && !perFrame) return 1;
  ZmbvEncoder encoder(settings);
  std::unique_ptr<bench::ZmbvAviFile> file;
  if (!avi.empty()) file = std::make_unique<bench::ZmbvAviFile>(avi, w, h);
  std::vector<uint8_t> frames[2], packet;
  packet.reserve(ZmbvEncoder::MaxPacketSize(w, h));
  std::vector<double> ms, keyMs, cpuMs, keyCpuMs;
  size_t total = 0;
  for (int i = 0; clip.Next(frames[i & 1]); ++i) {
    auto start = Clock::now();
    double cpuStart = ProcessMs();
    bool key = encoder.Encode(frames[i & 1].data(), std::ptrdiff_t(w) * 4, packet);
    double cpu = ProcessMs() - cpuStart;
    double took = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    (key ? keyMs : ms).push_back(took);
    (key ? keyCpuMs : cpuMs).push_back(cpu);
    total += packet.size();
    if (file) file->Append(packet, key);
    if (perFrame)
      std::fprintf(perFrame, "%d\t%d\t%.3f\t%.3f\t%zu\n", i, key ? 1 : 0, took, cpu, packet.size());
  }
  if (file) file->Finish();
  if (perFrame) std::fclose(perFrame);
  // "threads 0": no runner at all, the encoder's own serial path.
  std::string label = std::string(settings.effort == Effort::Faster ? "zmbv-faster" : "zmbv-smaller") +
                      " threads " + std::to_string(threads);
  Report((label + " inter").c_str(), ms);
  Report((label + " inter-cpu").c_str(), cpuMs);
  Report((label + " key").c_str(), keyMs);
  Report((label + " key-cpu").c_str(), keyCpuMs);
  size_t count = ms.size() + keyMs.size();
  if (count)
    std::printf("%s all frames %zu bytes_per_frame %zu total_bytes %zu\n", label.c_str(), count,
                total / count, total);
  return 0;
}

int Compare(int argc, char** argv) {
  int w, h;
  if (argc < 4 || !ParseSize(argv[3], w, h)) return Usage();
  RawClip clip(argv[2], w, h);
  if (!clip.file) return 1;
  std::vector<uint8_t> frames[2];
  std::vector<double> ms, cpuMs;
  size_t same = 0;
  if (!clip.Next(frames[0])) return 1;
  for (int i = 1; clip.Next(frames[i & 1]); ++i) {
    auto start = Clock::now();
    double cpuStart = ThreadMs();
    same += std::memcmp(frames[i & 1].data(), frames[(i - 1) & 1].data(), frames[0].size()) == 0;
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    cpuMs.push_back(ThreadMs() - cpuStart);
  }
  Report("memcmp", ms);
  Report("memcmp-cpu", cpuMs);
  std::printf("memcmp equal_frames %zu\n", same);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  std::string mode = argv[1];
  try {
    if (mode == "make") return Make(argc, argv);
    if (mode == "encode") return Encode(argc, argv);
    if (mode == "compare") return Compare(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_zmbv: %s\n", e.what());
    return 1;
  }
  return Usage();
}
