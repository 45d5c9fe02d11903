// The capture pipeline as the form sees it. The product implements it with DirectShow;
// native tests use a double. Every call runs on the window thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

class CapturePipeline {
 public:
  virtual ~CapturePipeline() = default;

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
};

}  // namespace zelvio
