// Drives the product's DirectShow pipeline through the CapturePipeline interface, the way
// the main window does, against real Wine graph objects and the registered stand-ins.
// Usage: pipelinetest <output.avi>   (run from the folder that holds Filters/PushSource.ax)
#include <objbase.h>
#include <windows.h>

#include <cstdio>
#include <memory>

#include "capture/graph/directshow_pipeline.h"
#include "pipeline_checks.h"
#include "quiet_platform.h"

using namespace pipelinetest;

namespace {

int RunChecks(const std::string& avi) {
  ztest::Report check;
  QuietPlatform platform;
  std::unique_ptr<zelvio::CapturePipeline> pipeline = zelvio::CreateDirectShowPipeline(platform, nullptr);

  CheckMonikerBinding(check);
  CheckErrorText(check);
  CheckRunningObjectTable(check);
  int withMixer = -1;
  int withoutMixer = -1;
  CheckDeviceList(check, *pipeline, withMixer, withoutMixer);
  int compressor = CheckCompressorList(check, *pipeline);
  if (withoutMixer >= 0) CheckMissingMixer(check, *pipeline, withoutMixer);
  if (withMixer >= 0) CheckLinesAndFormats(check, *pipeline, withMixer);
  CheckBuildWithoutCompressor(check, *pipeline, avi + ".unused.avi");
  CheckMissingModule(check, *pipeline, avi + ".unused.avi");

  zelvio::CaptureOptions options;
  options.compressor = compressor;
  options.compressorName = "Zelvio Test Codec (dialog)";
  options.audioEnabled = withMixer >= 0;
  options.audioDevice = withMixer;
  options.audioFormat = 2;  // 48000 Hz, 16 bits, stereo
  options.inputLine = 1;
  options.screencastPath = avi;
  RecordWithAudio(check, *pipeline, options, 2000);
  CheckCompressorDialog(check, *pipeline);
  // Last: with a writer that cannot stop cleanly, Wine's mux can stay paused for good.
  options.screencastPath += ".after-failure.avi";
  CheckFailedRunRecovers(check, *pipeline, options);

  pipeline->FreeCatalogs();
  pipeline.reset();
  for (const std::string& error : platform.errors) check.Note("reported: " + error);
  check.Check(platform.errors.empty(), "no error reached the error box");
  return check.Finish();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: pipelinetest <output.avi>\n");
    return 2;
  }
  setvbuf(stdout, nullptr, _IONBF, 0);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int exitCode = RunChecks(argv[1]);
  CoUninitialize();
  return exitCode;
}
