// ListAudioLinesAndFormats: the selected device is created in the inspection graph; its
// last output pin gives the capture formats, its input pins are the input lines.
#include "capture/graph/directshow_pipeline_win32.h"
#include "capture/graph/graph_result_win32.h"
#include "capture/graph/pin_list_win32.h"
#include "platform/startup_trace_win32.h"

namespace zelvio {

void DirectShowPipeline::ListAudioLinesAndFormats(int device, AudioListing& listing) {
  if (device < 0) return;
  // Emptied before anything can fail: the form empties the format list when the discovery
  // fails, and a catalog still holding the previous device's formats would then disagree
  // with it. A device without output pins likewise shows no formats.
  if (!AudioFormatCatalog) AudioFormatCatalog = std::make_unique<TEnumMediaType>();
  AudioFormatCatalog->Clear();
  listing.formats.clear();
  // A discovery that failed half-way may have left the inspection graph active; it must
  // bind the newly chosen device, so start from an inactive graph.
  AudioGraph.SetActive(false);
  SetAudioSourceMoniker(device);
  FilterAudioSource.SetFilterGraph(&AudioGraph);
  AudioGraph.SetActive(true);
  TPinList pins(FilterAudioSource.Require<IBaseFilter>(IID_IBaseFilter).Get());
  for (int k = 0; k < pins.Count();) {
    if (pins.Details(k).direction != PINDIR_OUTPUT) {
      ++k;
      continue;
    }
    AudioFormatCatalog->SetFromPin(pins.Pin(k));
    pins.Remove(k);
  }
  for (int i = 0; i < AudioFormatCatalog->Count(); ++i)
    listing.formats.push_back(AudioFormatCatalog->Description(i));
  AudioGraph.SetActive(false);

  listing.lines.clear();
  listing.enabledLine = -1;
  for (int k = 0; k < pins.Count(); ++k) {
    listing.lines.push_back(pins.Details(k).name);
    ComPtr<IAMAudioInputMixer> mixer = Require<IAMAudioInputMixer>(pins.PinPtr(k), IID_IAMAudioInputMixer);
    BOOL enabled = FALSE;
    mixer->get_Enable(&enabled);
    if (enabled) listing.enabledLine = k;
  }
  StartupTraceMark("audio lines and formats listed");
}

}  // namespace zelvio
