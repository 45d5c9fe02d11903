#include "capture/graph/directshow_pipeline_win32.h"

#include "capture/graph/directshow_pipeline.h"
#include "capture/graph/graph_result_win32.h"
#include "capture/catalog/moniker_win32.h"
#include "capture/graph/pin_list_win32.h"
#include "common/errors.h"
#include "platform/platform.h"
#include "platform/startup_trace_win32.h"

namespace zelvio {
namespace {

// {F8388A40-D5BB-11D0-BE5A-0080C706568E}
constexpr GUID kInfinitePinTee = {
    0xF8388A40, 0xD5BB, 0x11D0, {0xBE, 0x5A, 0x00, 0x80, 0xC7, 0x06, 0x56, 0x8E}};
// {C1F400A4-3F08-11D3-9F0B-006008039E37}
constexpr GUID kNullRenderer = {0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
// {E2510970-F137-11CE-8B67-00AA00A3F1A6}
constexpr GUID kAviMux = {0xE2510970, 0xF137, 0x11CE, {0x8B, 0x67, 0x00, 0xAA, 0x00, 0xA3, 0xF1, 0xA6}};
// {8596E5F0-0DA5-11D0-BD21-00A0C911CE86}
constexpr GUID kFileWriter = {0x8596E5F0, 0x0DA5, 0x11D0, {0xBD, 0x21, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};

TFilterGraph::ErrorReport ErrorBox(PlatformBoxes& boxes) {
  return [&boxes](const std::string& text) { boxes.ShowError(ErrorBoxText(text)); };
}

}  // namespace

DirectShowPipeline::DirectShowPipeline(PlatformBoxes& boxes, std::function<void*()> mainWindow)
    : mainWindow_(std::move(mainWindow)),
      FilterGraph(false, ErrorBox(boxes)),
      AudioGraph(true, ErrorBox(boxes)),
      FilterAviMux("FilterAviMux", FixedFilterMoniker(kAviMux)),
      FilterFileWriter("FilterFileWriter", FixedFilterMoniker(kFileWriter)),
      FilterInfiniteTeeVideo("FilterInfiniteTeeVideo", FixedFilterMoniker(kInfinitePinTee)),
      FilterNullRendererVideo("FilterNullRendererVideo", FixedFilterMoniker(kNullRenderer)),
      FilterInfiniteTeeAudio("FilterInfiniteTeeAudio", FixedFilterMoniker(kInfinitePinTee)),
      FilterNullRendererAudio("FilterNullRendererAudio", FixedFilterMoniker(kNullRenderer)),
      FilterAudioSource("FilterAudioSource", {}) {
  // The main window holds every component attached to its (still inactive) capture graph.
  for (TFilter* component :
       {&FilterAviMux, &FilterFileWriter, &FilterInfiniteTeeVideo, &FilterNullRendererVideo,
        &FilterInfiniteTeeAudio, &FilterNullRendererAudio, &FilterAudioSource}) {
    component->SetFilterGraph(&FilterGraph);
  }
}

DirectShowPipeline::~DirectShowPipeline() = default;

void DirectShowPipeline::PrepareCatalogs() {
  preparedDevices_ = std::make_unique<TSysDevEnum>(CLSID_AudioInputDeviceCategory);
  StartupTraceMark("audio device catalog read");
  preparedCompressors_ = std::make_unique<VideoCompressorCatalog>();
  StartupTraceMark("compressor catalog read");
  PrepareCaptureGraph();
}

std::vector<std::string> DirectShowPipeline::EnumerateAudioDevices() {
  AudioDeviceCatalog = preparedDevices_ ? std::move(preparedDevices_)
                                        : std::make_unique<TSysDevEnum>(CLSID_AudioInputDeviceCategory);
  std::vector<std::string> names;
  for (const DeviceEntry& entry : AudioDeviceCatalog->Entries()) names.push_back(entry.friendlyName);
  AudioFormatCatalog = std::make_unique<TEnumMediaType>();
  StartupTraceMark("audio devices listed");
  return names;
}

std::vector<std::string> DirectShowPipeline::EnumerateVideoCompressors() {
  CompressorCatalog =
      preparedCompressors_ ? std::move(preparedCompressors_) : std::make_unique<VideoCompressorCatalog>();
  StartupTraceMark("compressors listed");
  return CompressorCatalog->Names();
}

void DirectShowPipeline::RunGraph() {
  RefuseUnfedMux();
  FilterGraph.RunGraph();
}

// The preview renderers keep nothing of what they get, and paused they would hold a
// source's thread with its last buffers in hand: they go first.
void DirectShowPipeline::StopGraph() {
  FilterGraph.StopGraph({FilterNullRendererVideo.Instance(), FilterNullRendererAudio.Instance()});
}

// Wine's AVI Mux reads the format of its first input as it starts, connected or not, and
// faults on a first input that nothing feeds (no tee or no compressor could be bound, so
// the video chain never reached it). Such a graph has nothing to write anyway: it is
// refused as "not connected" through the checked-call rule instead of being run.
void DirectShowPipeline::RefuseUnfedMux() {
  IBaseFilter* mux = FilterAviMux.Instance();
  if (!FilterGraph.Active() || !mux) return;
  TPinList pins(mux);
  for (int k = 0; k < pins.Count(); ++k) {
    if (pins.Details(k).direction != PINDIR_INPUT) continue;
    ComPtr<IPin> peer;
    if (SUCCEEDED(pins.Pin(k)->ConnectedTo(peer.Put())) && peer) return;
    break;
  }
  CheckGraphResult(VFW_E_NOT_CONNECTED);
}

int64_t DirectShowPipeline::CurrentPosition() {
  ComPtr<IMediaSeeking> seeking = FilterGraph.Query<IMediaSeeking>(IID_IMediaSeeking);
  if (!seeking) ThrowInterfaceNotSupported();
  LONGLONG position = 0;
  seeking->GetCurrentPosition(&position);
  return position;
}

void DirectShowPipeline::ShowCompressorDialog() {
  if (!CompressorFilter) return;
  ComPtr<IAMVfwCompressDialogs> dialogs =
      CompressorFilter.As<IAMVfwCompressDialogs>(IID_IAMVfwCompressDialogs);
  if (!dialogs) return;
  if (dialogs->ShowDialog(VfwCompressDialog_QueryConfig, nullptr) != S_OK) return;
  dialogs->ShowDialog(VfwCompressDialog_Config, mainWindow_ ? static_cast<HWND>(mainWindow_()) : nullptr);
}

void DirectShowPipeline::FreeCatalogs() {
  AudioFormatCatalog.reset();
  AudioDeviceCatalog.reset();
  CompressorCatalog.reset();
}

std::unique_ptr<CapturePipeline> CreateDirectShowPipeline(PlatformBoxes& boxes,
                                                          std::function<void*()> mainWindow) {
  return std::make_unique<DirectShowPipeline>(boxes, std::move(mainWindow));
}

}  // namespace zelvio
