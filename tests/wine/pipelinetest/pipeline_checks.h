// The checks of the pipeline test, one group per function; measurements are printed as
// "# measure:" notes.
#pragma once

#include <string>

#include "capture/graph/capture_pipeline.h"
#include "checks.h"
#include "quiet_platform.h"

namespace pipelinetest {

void CheckMonikerBinding(ztest::Report& check);
void CheckErrorText(ztest::Report& check);
void CheckRunningObjectTable(ztest::Report& check);
// Returns the list position of the dialog compressor, -1 when missing.
int CheckCompressorList(ztest::Report& check, zelvio::CapturePipeline& pipeline);
// Fills the positions of the two test devices, -1 when missing.
void CheckDeviceList(ztest::Report& check, zelvio::CapturePipeline& pipeline, int& withMixer,
                     int& withoutMixer);
void CheckLinesAndFormats(ztest::Report& check, zelvio::CapturePipeline& pipeline, int device);
void CheckMissingMixer(ztest::Report& check, zelvio::CapturePipeline& pipeline, int device);
void CheckBuildWithoutCompressor(ztest::Report& check, zelvio::CapturePipeline& pipeline,
                                 const std::string& avi);
void CheckMissingModule(ztest::Report& check, zelvio::CapturePipeline& pipeline, const std::string& avi);
void CheckCompressorDialog(ztest::Report& check, zelvio::CapturePipeline& pipeline);
void CheckFailedRunRecovers(ztest::Report& check, zelvio::CapturePipeline& pipeline,
                            const zelvio::CaptureOptions& options);
void RecordWithAudio(ztest::Report& check, zelvio::CapturePipeline& pipeline,
                     const zelvio::CaptureOptions& options, unsigned milliseconds);

}  // namespace pipelinetest
