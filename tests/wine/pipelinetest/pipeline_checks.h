// The checks of the pipeline test, one group per function. Each prints "ok"/"FAIL" lines
// and counts failures; measurements are printed as "measure:" lines.
#pragma once

#include <string>

#include "capture/capture_pipeline.h"
#include "quiet_platform.h"

namespace pipelinetest {

struct Checker {
  int failures = 0;
  void Expect(bool condition, const std::string& what);
  void ExpectEqual(const std::string& actual, const std::string& expected, const std::string& what);
};

void CheckMonikerBinding(Checker& check);
void CheckErrorText(Checker& check);
void CheckRunningObjectTable(Checker& check);
// Returns the list position of the dialog compressor, -1 when missing.
int CheckCompressorList(Checker& check, zelvio::CapturePipeline& pipeline);
// Fills the positions of the two test devices, -1 when missing.
void CheckDeviceList(Checker& check, zelvio::CapturePipeline& pipeline, int& withMixer, int& withoutMixer);
void CheckLinesAndFormats(Checker& check, zelvio::CapturePipeline& pipeline, int device);
void CheckMissingMixer(Checker& check, zelvio::CapturePipeline& pipeline, int device);
void CheckBuildWithoutCompressor(Checker& check, zelvio::CapturePipeline& pipeline, const std::string& avi);
void CheckMissingModule(Checker& check, zelvio::CapturePipeline& pipeline, const std::string& avi);
void CheckCompressorDialog(Checker& check, zelvio::CapturePipeline& pipeline);
void CheckFailedRunRecovers(Checker& check, zelvio::CapturePipeline& pipeline, const zelvio::CaptureOptions& options);
void RecordWithAudio(Checker& check, zelvio::CapturePipeline& pipeline, const zelvio::CaptureOptions& options,
                     unsigned milliseconds);

}  // namespace pipelinetest
