// A recording stand-in for the capture pipeline, for headless runs of the main window.
//
// Every call is appended to `log`, in call order:
//   "prepare catalogs"  "enumerate audio devices"  "enumerate compressors"  "list: 0"
//   (ListAudioLinesAndFormats for device 0)  "build: audio=off device=-1 compressor=-1 '' format=-1 line=-1
//   path=C:\...\Screencast_2024-05-17-14-03-09.avi"  "run"  "pause"  "stop"  "position"
//   "compressor dialog"  "free catalogs"  "repair: C:\...\x.avi"  "release: C:\...\x.avi"
// and every graph build keeps its options in `builds`, every repair its notes in `repairs`.
// `SendEvent` plays the graph's side: it hands one event to the handler the form set.
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
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "capture/graph/capture_pipeline.h"
#include "common/errors.h"

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
  int64_t position = 0;                        // 100-nanosecond units
  std::map<int32_t, std::string> resultTexts;  // a missing code reads "Error: 0x8007000E"
  std::vector<ConnectedMediaType> muxInputs;
  // By AVI path; missing: the file is complete, as a clean stop leaves it.
  std::map<std::string, avi::RepairResult> repairOutcomes;
  // Runs inside PrepareCatalogs, so a test can stand for the time the catalogs take.
  std::function<void()> whilePreparing;
  // Runs inside RunGraph before a failure it is asked for, as a writer that opens its file.
  std::function<void()> whileRunning;

  // ---- What the tests read back --------------------------------------------------------------
  std::vector<std::string> log;
  std::vector<CaptureOptions> builds;
  struct Repair {
    std::string aviPath;
    std::string notes;
  };
  std::vector<Repair> repairs;

  bool HasEventHandler() const { return static_cast<bool>(eventHandler_); }
  void SendEvent(const GraphEvent& event) {
    if (eventHandler_) eventHandler_(event);
  }

  size_t Count(const std::string& line) const {
    size_t count = 0;
    for (const std::string& entry : log) count += entry == line ? 1 : 0;
    return count;
  }

  // ---- CapturePipeline -------------------------------------------------------------------------
  void PrepareCatalogs() override {
    log.push_back("prepare catalogs");
    if (whilePreparing) whilePreparing();
  }

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
    log.push_back("build: audio=" + std::string(options.audioEnabled ? "on" : "off") + " device=" +
                  std::to_string(options.audioDevice) + " compressor=" + std::to_string(options.compressor) +
                  " '" + options.compressorName + "' format=" + std::to_string(options.audioFormat) +
                  " line=" + std::to_string(options.inputLine) + " path=" + options.screencastPath);
    graphActive = true;
    FailIfAsked("build");
  }

  bool GraphActive() override { return graphActive; }

  void RunGraph() override {
    log.push_back("run");
    if (whileRunning) whileRunning();
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

  void SetGraphEventHandler(std::function<void(const GraphEvent&)> handler) override {
    eventHandler_ = std::move(handler);
  }

  std::string ResultText(int32_t result) override {
    auto found = resultTexts.find(result);
    if (found != resultTexts.end()) return found->second;
    char text[32];
    std::snprintf(text, sizeof text, "Error: 0x%08X", static_cast<unsigned>(result));
    return text;
  }

  // A question that changes nothing, so it is not logged.
  std::vector<ConnectedMediaType> MuxInputTypes() override { return muxInputs; }

  avi::RepairResult RepairRecording(const std::string& aviPath, const std::string& notes) override {
    log.push_back("repair: " + aviPath);
    repairs.push_back({aviPath, notes});
    auto found = repairOutcomes.find(aviPath);
    if (found != repairOutcomes.end()) return found->second;
    avi::RepairResult complete;
    complete.outcome = avi::RepairOutcome::AlreadyComplete;
    return complete;
  }

  void ReleaseRecordingFile(const std::string& aviPath) override { log.push_back("release: " + aviPath); }

 private:
  std::function<void(const GraphEvent&)> eventHandler_;

  void FailIfAsked(const std::string& call) {
    auto found = failures.find(call);
    if (found == failures.end()) return;
    if (found->second.code != 0) throw EDirectShowException(found->second.text, found->second.code);
    throw ZelvioError(found->second.text);
  }
};

}  // namespace zelvio
