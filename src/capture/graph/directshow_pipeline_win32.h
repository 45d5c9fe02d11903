// DirectShowPipeline: the main window's two graphs, its seven filter components, the
// catalogs and the two filter references that each capture graph build replaces.
#pragma once

#include <dshow.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "capture/graph/capture_pipeline.h"
#include "common/win32/com_ptr.h"
#include "capture/catalog/compressor_catalog_win32.h"
#include "capture/graph/filter_graph_win32.h"
#include "capture/graph/filter_win32.h"
#include "capture/media/media_type_win32.h"
#include "capture/catalog/sys_dev_enum_win32.h"

namespace zelvio {

class PlatformBoxes;

class DirectShowPipeline final : public CapturePipeline {
 public:
  DirectShowPipeline(PlatformBoxes& boxes, std::function<void*()> mainWindow);
  ~DirectShowPipeline() override;

  void PrepareCatalogs() override;
  std::vector<std::string> EnumerateAudioDevices() override;
  std::vector<std::string> EnumerateVideoCompressors() override;
  void ListAudioLinesAndFormats(int device, AudioListing& listing) override;
  void BuildCaptureGraph(const CaptureOptions& options) override;
  bool GraphActive() override { return FilterGraph.Active(); }
  void RunGraph() override;
  void PauseGraph() override { FilterGraph.PauseGraph(); }
  void StopGraph() override;
  int64_t CurrentPosition() override;
  void ShowCompressorDialog() override;
  void FreeCatalogs() override;
  void SetGraphEventHandler(std::function<void(const GraphEvent&)> handler) override;
  std::string ResultText(int32_t result) override;
  std::vector<ConnectedMediaType> MuxInputTypes() override;
  avi::RepairResult RepairRecording(const std::string& aviPath, const std::string& notes) override;
  void ReleaseRecordingFile(const std::string& aviPath) override;

 private:
  void PrepareCaptureGraph();
  void SetAudioSourceMoniker(int device);
  void ConfigureAudioPins(const CaptureOptions& options);
  void ConnectCaptureGraph(bool audio);
  void RefuseUnfedMux();

  std::function<void*()> mainWindow_;
  // Released last, at the end of the process.
  ComPtr<IBaseFilter> PushSourceFilter;
  ComPtr<IBaseFilter> CompressorFilter;
  std::unique_ptr<TSysDevEnum> AudioDeviceCatalog;
  std::unique_ptr<VideoCompressorCatalog> CompressorCatalog;
  std::unique_ptr<TEnumMediaType> AudioFormatCatalog;
  // Read ahead of the start-up listings, which take them over.
  std::unique_ptr<TSysDevEnum> preparedDevices_;
  std::unique_ptr<VideoCompressorCatalog> preparedCompressors_;
  ComPtr<IBaseFilter> preparedPushSource_;
  // The graphs outlive the components, which detach first when the pipeline goes.
  TFilterGraph FilterGraph;
  TFilterGraph AudioGraph;
  TFilter FilterAviMux;
  TFilter FilterFileWriter;
  TFilter FilterInfiniteTeeVideo;
  TFilter FilterNullRendererVideo;
  TFilter FilterInfiniteTeeAudio;
  TFilter FilterNullRendererAudio;
  TFilter FilterAudioSource;
};

}  // namespace zelvio
