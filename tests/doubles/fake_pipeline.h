// A recording stand-in for the capture pipeline, for headless runs of the main window.
//
// Every call is appended to `log`, in call order:
//   "enumerate audio devices"  "enumerate compressors"  "list: 0" (ListAudioLinesAndFormats
//   for device 0)  "build: audio=off device=-1 compressor=-1 '' format=-1 line=-1
//   path=C:\...\Screencast_2024-05-17-14-03-09.avi"  "run"  "pause"  "stop"  "position"
//   "compressor dialog"  "free catalogs"
// and every graph build keeps its options in `builds`.
//
// A call named in `failures` ("list", "build", "run", "pause", "stop", "position", "dialog")
// throws after it is logged: EDirectShowException when the failure carries a code,
// ZelvioError otherwise.
// A failing "list" first hands over what `listings` holds for the device, as a discovery
// that fails half-way does.
//
// Header-only, so the fuzz targets can use it without a library of their own.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "capture/capture_pipeline.h"
#include "platform/errors.h"

namespace zelvio {

class FakePipeline : public CapturePipeline {
 public:
  struct Failure {
    std::string text;
    int32_t code = 0;  // non-zero: thrown as EDirectShowException
  };

  // ---- What the tests configure ------------------------------------------------------------
  std::vector<std::string> audioDevices;
  std::vector<std::string> compressors;
  std::map<int, AudioListing> listings;  // by device position; a missing one lists nothing
  std::map<std::string, Failure> failures;
  // Whether a graph is built, as the product's GraphActive means it: a build sets it (also one
  // that fails half-way, since the graph manager exists by then); stopping keeps it.
  bool graphActive = false;
  int64_t position = 0;      // 100-nanosecond units

  // ---- What the tests read back --------------------------------------------------------------
  std::vector<std::string> log;
  std::vector<CaptureOptions> builds;

  size_t Count(const std::string& line) const {
    size_t count = 0;
    for (const std::string& entry : log) count += entry == line ? 1 : 0;
    return count;
  }

  // ---- CapturePipeline -------------------------------------------------------------------------
  std::vector<std::string> EnumerateAudioDevices() override {
    log.push_back("enumerate audio devices");
    return audioDevices;
  }

  std::vector<std::string> EnumerateVideoCompressors() override {
    log.push_back("enumerate compressors");
    return compressors;
  }

  void ListAudioLinesAndFormats(int device, AudioListing& listing) override {
    log.push_back("list: " + std::to_string(device));
    auto found = listings.find(device);
    if (found != listings.end()) listing = found->second;
    FailIfAsked("list");
  }

  void BuildCaptureGraph(const CaptureOptions& options) override {
    builds.push_back(options);
    log.push_back("build: audio=" + std::string(options.audioEnabled ? "on" : "off") +
                  " device=" + std::to_string(options.audioDevice) + " compressor=" +
                  std::to_string(options.compressor) + " '" + options.compressorName + "' format=" +
                  std::to_string(options.audioFormat) + " line=" + std::to_string(options.inputLine) +
                  " path=" + options.screencastPath);
    graphActive = true;
    FailIfAsked("build");
  }

  bool GraphActive() override { return graphActive; }

  void RunGraph() override {
    log.push_back("run");
    FailIfAsked("run");
  }

  void PauseGraph() override {
    log.push_back("pause");
    FailIfAsked("pause");
  }

  void StopGraph() override {
    log.push_back("stop");
    FailIfAsked("stop");
  }

  int64_t CurrentPosition() override {
    log.push_back("position");
    FailIfAsked("position");
    return position;
  }

  void ShowCompressorDialog() override {
    log.push_back("compressor dialog");
    FailIfAsked("dialog");
  }

  void FreeCatalogs() override { log.push_back("free catalogs"); }

 private:
  void FailIfAsked(const std::string& call) {
    auto found = failures.find(call);
    if (found == failures.end()) return;
    if (found->second.code != 0) throw EDirectShowException(found->second.text, found->second.code);
    throw ZelvioError(found->second.text);
  }
};

}  // namespace zelvio
