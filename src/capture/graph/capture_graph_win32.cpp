// BuildCaptureGraph: push source -> video tee -> compressor -> AVI Mux -> File Writer,
// a Null Renderer on the tee's second output, and with audio the device through its
// own tee into the mux and a second Null Renderer.
#include "capture/graph/directshow_pipeline_win32.h"
#include "capture/graph/graph_result_win32.h"
#include "capture/catalog/module_filter_win32.h"
#include "capture/catalog/moniker_win32.h"
#include "capture/graph/pin_list_win32.h"
#include "common/errors.h"
#include "platform/wide_text_win32.h"
#include "platform/startup_trace_win32.h"

namespace zelvio {
namespace {

constexpr const char* kPushSourceModule = "Filters/PushSource.ax";
// {570757C1-D2D8-42D1-BA0C-24E1BED3F62F}
constexpr GUID kPushSourceClass = {
    0x570757C1, 0xD2D8, 0x42D1, {0xBA, 0x0C, 0x24, 0xE1, 0xBE, 0xD3, 0xF6, 0x2F}};

struct Connection {
  const GUID* mediaType;
  IBaseFilter* source;
  IBaseFilter* sink;
};

// Video connections are not checked: one that fails shows when the graph runs. A missing
// filter skips its connection, since a null sink would ask the builder for a renderer.
void Render(ICaptureGraphBuilder2* builder, const Connection& connection) {
  if (!connection.source || !connection.sink) return;
  builder->RenderStream(nullptr, connection.mediaType, connection.source, nullptr, connection.sink);
}

// The audio connections are checked: a sound branch that fails to connect would otherwise
// record video only without a word, and nothing at run time would tell.
void RenderChecked(ICaptureGraphBuilder2* builder, const Connection& connection) {
  CheckGraphResult(
      builder->RenderStream(nullptr, connection.mediaType, connection.source, nullptr, connection.sink));
}

// Full interleaving is set while nothing is connected to the mux yet: Wine's mux reconnects
// its pins when the mode changes, and reconnecting connected inputs crashes inside Wine.
// Wine's default mode also makes Run fail, so the mode must be set.
void SetFullInterleaving(const TFilter& mux) {
  ComPtr<IConfigInterleaving> interleaving = mux.Query<IConfigInterleaving>(IID_IConfigInterleaving);
  if (interleaving) interleaving->put_Mode(INTERLEAVE_FULL);
}

}  // namespace

// The first capture graph is built when the window shows; what it needs from outside (the
// graph objects, the push source's module and the filters whose monikers never change) is
// made while the overlay program starts, and the build takes them over. A failure here is
// silent: the build then makes the part itself and reports what fails, where it always did.
void DirectShowPipeline::PrepareCaptureGraph() {
  FilterGraph.Prepare();
  try {
    if (!preparedPushSource_)
      preparedPushSource_ = CreateFilterFromModule(kPushSourceModule, kPushSourceClass);
  } catch (const ZelvioError&) {
    preparedPushSource_.Reset();
  }
  for (TFilter* component :
       {&FilterInfiniteTeeVideo, &FilterAviMux, &FilterFileWriter, &FilterNullRendererVideo})
    component->Prepare();
  StartupTraceMark("capture graph parts made");
}

void DirectShowPipeline::SetAudioSourceMoniker(int device) {
  ComPtr<IMoniker> moniker = AudioDeviceCatalog ? AudioDeviceCatalog->Moniker(device) : ComPtr<IMoniker>();
  FilterAudioSource.SetBaseFilter(moniker ? StoreMoniker(moniker.Get()) : std::vector<uint8_t>());
}

void DirectShowPipeline::BuildCaptureGraph(const CaptureOptions& options) {
  FilterGraph.EmptyGraph();
  for (TFilter* component : {&FilterAviMux, &FilterFileWriter, &FilterAudioSource, &FilterInfiniteTeeAudio,
                             &FilterInfiniteTeeVideo, &FilterNullRendererAudio, &FilterNullRendererVideo}) {
    component->SetFilterGraph(nullptr);
  }
  PushSourceFilter.Reset();
  CompressorFilter.Reset();

  if (options.audioEnabled) {
    SetAudioSourceMoniker(options.audioDevice);
    FilterAudioSource.SetFilterGraph(&FilterGraph);
  }
  StartupTraceMark("graph build: emptied");
  FilterGraph.SetActive(true);
  StartupTraceMark("graph build: graph active");
  LoadFilterFromModule(kPushSourceModule, kPushSourceClass, PushSourceFilter, FilterGraph,
                       &preparedPushSource_);
  StartupTraceMark("graph build: push source added");
  FilterInfiniteTeeVideo.SetFilterGraph(&FilterGraph);
  if (options.audioEnabled) FilterInfiniteTeeAudio.SetFilterGraph(&FilterGraph);

  // No selection means no compressor: the position table is only read inside its list.
  if (CompressorCatalog) CompressorFilter = CompressorCatalog->FilterAt(options.compressor);
  if (CompressorFilter)
    FilterGraph.Manager()->AddFilter(CompressorFilter.Get(), Widen(options.compressorName).c_str());
  StartupTraceMark("graph build: tee and compressor added");

  if (options.audioEnabled) ConfigureAudioPins(options);

  FilterAviMux.SetFilterGraph(&FilterGraph);
  SetFullInterleaving(FilterAviMux);
  FilterFileWriter.SetFilterGraph(&FilterGraph);
  FilterFileWriter.Require<IFileSinkFilter>(IID_IFileSinkFilter)
      ->SetFileName(Widen(options.screencastPath).c_str(), nullptr);
  // The name is one no file has yet, so the writer is to create the file afresh rather than
  // write into whatever it finds there (its default). A writer without the mode switch
  // keeps its own way; the result is not checked, like the file name's.
  if (ComPtr<IFileSinkFilter2> mode = FilterFileWriter.Query<IFileSinkFilter2>(IID_IFileSinkFilter2))
    mode->SetMode(AM_FILE_OVERWRITE);

  FilterNullRendererVideo.SetFilterGraph(&FilterGraph);
  if (options.audioEnabled) FilterNullRendererAudio.SetFilterGraph(&FilterGraph);
  StartupTraceMark("graph build: mux, writer and renderers added");

  ConnectCaptureGraph(options.audioEnabled);
  StartupTraceMark("graph build: connected");
}

// Every output pin gets the chosen format; the chosen input line is switched on. Both are
// checked: a device that refuses them would otherwise record in some other format or from
// a silent line.
void DirectShowPipeline::ConfigureAudioPins(const CaptureOptions& options) {
  TPinList pins(FilterAudioSource.Require<IBaseFilter>(IID_IBaseFilter).Get());
  AM_MEDIA_TYPE* format = AudioFormatCatalog ? AudioFormatCatalog->At(options.audioFormat) : nullptr;
  for (int k = 0; k < pins.Count();) {
    if (pins.Details(k).direction != PINDIR_OUTPUT) {
      ++k;
      continue;
    }
    if (options.audioFormat >= 0 && format) {
      CheckGraphResult(Require<IAMStreamConfig>(pins.PinPtr(k), IID_IAMStreamConfig)->SetFormat(format));
    }
    pins.Remove(k);
  }
  if (options.inputLine < 0 || options.inputLine >= pins.Count()) return;
  CheckGraphResult(Require<IAMAudioInputMixer>(pins.PinPtr(options.inputLine), IID_IAMAudioInputMixer)
                       ->put_Enable(static_cast<BOOL>(-1)));
}

// The mux goes to the writer first: Wine's AVI Mux must have its output connected before
// any input (connecting it later reconnects the inputs and crashes), and the platform's
// own capture builder connects mux and writer first too.
void DirectShowPipeline::ConnectCaptureGraph(bool audio) {
  ComPtr<ICaptureGraphBuilder2> builder = FilterGraph.Query<ICaptureGraphBuilder2>(IID_ICaptureGraphBuilder2);
  if (!builder) ThrowInterfaceNotSupported();
  IBaseFilter* teeVideo = FilterInfiniteTeeVideo.Instance();
  IBaseFilter* mux = FilterAviMux.Instance();
  Render(builder.Get(), {nullptr, mux, FilterFileWriter.Instance()});
  Render(builder.Get(), {&MEDIATYPE_Video, PushSourceFilter.Get(), teeVideo});
  Render(builder.Get(), {nullptr, teeVideo, CompressorFilter.Get()});
  Render(builder.Get(), {nullptr, teeVideo, FilterNullRendererVideo.Instance()});
  Render(builder.Get(), {nullptr, CompressorFilter.Get(), mux});
  if (!audio) return;
  IBaseFilter* teeAudio = FilterInfiniteTeeAudio.Instance();
  RenderChecked(builder.Get(), {nullptr, FilterAudioSource.Instance(), teeAudio});
  RenderChecked(builder.Get(), {nullptr, teeAudio, mux});
  RenderChecked(builder.Get(), {nullptr, teeAudio, FilterNullRendererAudio.Instance()});
}

}  // namespace zelvio
