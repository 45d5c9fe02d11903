// The capture pipeline as the form sees it. The product implements it with DirectShow;
// native tests use a double. Every call runs on the window thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "capture/avi/avi_repair.h"
#include "capture/graph/graph_events.h"
#include "capture/media/connected_media_type.h"

namespace zelvio {

// What a graph build reads from the form's controls.
struct CaptureOptions {
  bool audioEnabled = false;
  int audioDevice = -1;        // position in the device list
  int compressor = -1;         // position in the compressor list
  std::string compressorName;  // the text the compressor list shows
  int audioFormat = -1;        // position in the format list, -1 for none
  int inputLine = -1;          // position in the input-line list, -1 for none
  std::string screencastPath;  // the file the File Writer gets
};

// The lines and formats of one audio device. Filled as far as the discovery gets, so a
// failure half-way still tells the form what to show.
struct AudioListing {
  std::vector<std::string> formats;  // one description per capture format
  std::vector<std::string> lines;    // input pin names, in pin order
  int enabledLine = -1;              // the last enabled line, -1 for none
};

// What the repair of an unfinished recording did.

class CapturePipeline {
 public:
  virtual ~CapturePipeline() = default;

  // Reads the device and compressor catalogs ahead of the listings, as plain data that needs
  // nothing from the window (start-up does it while the overlay program starts). The
  // listings then hand out what was read; without it they read the catalogs themselves.
  // It also makes the parts of the first capture graph that need nothing from the window
  // or the options; the first build takes them over.
  virtual void PrepareCatalogs() = 0;
  // Start-up listings, in list order.
  virtual std::vector<std::string> EnumerateAudioDevices() = 0;
  virtual std::vector<std::string> EnumerateVideoCompressors() = 0;

  // Inspects the device at `device` and fills `listing`. Throws ZelvioError
  // ("Interface not supported") when an input pin has no mixer interface, after putting
  // that pin's name into the listing.
  virtual void ListAudioLinesAndFormats(int device, AudioListing& listing) = 0;

  // Empties the capture graph and builds it again. Throws on failure.
  virtual void BuildCaptureGraph(const CaptureOptions& options) = 0;
  virtual bool GraphActive() = 0;
  // Throw EDirectShowException when the graph reports a failure code.
  virtual void RunGraph() = 0;
  virtual void PauseGraph() = 0;
  virtual void StopGraph() = 0;
  // Position of the running graph in 100-nanosecond units.
  virtual int64_t CurrentPosition() = 0;

  // The current compressor's own configuration dialog, when it has one.
  virtual void ShowCompressorDialog() = 0;

  // Close: the catalogs go away (format list, device list, compressor enumerator).
  virtual void FreeCatalogs() = 0;

  // Every event of the capture graph, one call each, on the window thread and after the
  // graph has let go of it. An empty handler drops them.
  virtual void SetGraphEventHandler(std::function<void(const GraphEvent&)> handler) = 0;
  // The platform's own words for a result code (for a full disk, the system's text).
  virtual std::string ResultText(int32_t result) = 0;
  // The media types connected to the AVI Mux's inputs, in pin order; empty without a graph.
  virtual std::vector<ConnectedMediaType> MuxInputTypes() = 0;
  // Finishes, in place, a recording whose mux never finished it, from the notes that were
  // written beside it when it started.
  virtual avi::RepairResult RepairRecording(const std::string& aviPath, const std::string& notes) = 0;
  // The graph lets go of the file it writes, if that is `aviPath`, so it can be removed.
  virtual void ReleaseRecordingFile(const std::string& aviPath) = 0;
};

}  // namespace zelvio
