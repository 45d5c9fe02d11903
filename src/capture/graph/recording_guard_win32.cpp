// What the form needs to notice a recording that has stopped being written and to leave
// a file that can be finished afterwards: the graph's events, the platform's words for a
// failure code, and the media types the mux was given.
#include "capture/graph/directshow_pipeline_win32.h"

#include <errors.h>

#include "capture/avi/avi_file_win32.h"
#include "capture/media/guid_win32.h"
#include "capture/graph/pin_list_win32.h"
#include "capture/recovery/recovery_notes.h"
#include "platform/wide_text_win32.h"
#include "platform/system_error_win32.h"

namespace zelvio {

void DirectShowPipeline::SetGraphEventHandler(std::function<void(const GraphEvent&)> handler) {
  FilterGraph.SetEventHandler(std::move(handler));
}

// Codes of the system (a full disk is 0x80070070) in the system's own words; DirectShow's
// codes in DirectShow's.
std::string DirectShowPipeline::ResultText(int32_t result) {
  HRESULT code = static_cast<HRESULT>(result);
  if (HRESULT_FACILITY(code) == FACILITY_WIN32) return SystemErrorText(HRESULT_CODE(code));
  std::string text = SystemTextIfAny(static_cast<DWORD>(code));
  if (!text.empty()) return text;
  wchar_t graphText[256] = {};
  AMGetErrorTextW(code, graphText, 256);
  text = NarrowBounded(graphText, 256);
  while (!text.empty() &&
         (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' || text.back() == '.')) {
    text.pop_back();
  }
  return text;
}

std::vector<ConnectedMediaType> DirectShowPipeline::MuxInputTypes() {
  std::vector<ConnectedMediaType> types;
  IBaseFilter* mux = FilterAviMux.Instance();
  if (!FilterGraph.Active() || !mux) return types;
  TPinList pins(mux);
  for (int k = 0; k < pins.Count(); ++k) {
    if (pins.Details(k).direction != PINDIR_INPUT) continue;
    AM_MEDIA_TYPE connected{};
    // An input left unconnected (every connection adds one to the mux) has nothing to tell.
    if (pins.Pin(k)->ConnectionMediaType(&connected) != S_OK) continue;
    ConnectedMediaType type;
    type.majorType = ToGuid(connected.majortype);
    type.subType = ToGuid(connected.subtype);
    type.formatType = ToGuid(connected.formattype);
    type.fixedSizeSamples = connected.bFixedSizeSamples != FALSE;
    type.temporalCompression = connected.bTemporalCompression != FALSE;
    type.sampleSize = connected.lSampleSize;
    if (connected.pbFormat && connected.cbFormat) {
      type.format.assign(connected.pbFormat, connected.pbFormat + connected.cbFormat);
    }
    if (connected.pbFormat) CoTaskMemFree(connected.pbFormat);
    if (connected.pUnk) connected.pUnk->Release();
    types.push_back(std::move(type));
  }
  return types;
}

// The writer keeps its file open after the graph stops (the mux finishes the file during
// its own stop, after the writer's), and open for writing it can be neither repaired nor
// removed. A writer that holds that file leaves the graph, which closes it; the next
// recording builds a new graph anyway.
void DirectShowPipeline::ReleaseRecordingFile(const std::string& aviPath) {
  ComPtr<IFileSinkFilter> sink = FilterFileWriter.Query<IFileSinkFilter>(IID_IFileSinkFilter);
  if (!sink) return;
  LPOLESTR current = nullptr;
  AM_MEDIA_TYPE type{};
  if (FAILED(sink->GetCurFile(&current, &type))) return;
  if (type.pbFormat) CoTaskMemFree(type.pbFormat);
  if (type.pUnk) type.pUnk->Release();
  if (!current) return;
  bool same = lstrcmpiW(current, Widen(aviPath).c_str()) == 0;
  CoTaskMemFree(current);
  sink.Reset();
  if (same) FilterFileWriter.SetFilterGraph(nullptr);
}

// The repair opens exactly the file the writer was given (the same UTF-16 name), alone.
avi::RepairResult DirectShowPipeline::RepairRecording(const std::string& aviPath, const std::string& notes) {
  ReleaseRecordingFile(aviPath);
  const std::wstring name = Widen(aviPath);
  return RepairRecordingFile(aviPath, notes, [&name] {
    return std::unique_ptr<avi::AviFile>(std::make_unique<avi::Win32File>(name));
  });
}

}  // namespace zelvio
