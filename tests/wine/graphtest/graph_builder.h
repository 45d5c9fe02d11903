// Builds the recording graph of the test the way the recorder does, mux-to-writer first.
#pragma once
#include <windows.h>
#include <dshow.h>

#include <string>

#include "kit/com_ptr.h"
#include "checks.h"

namespace graphtest {

struct RecordingGraph {
  kit::ComPtr<IGraphBuilder> graph;
  kit::ComPtr<ICaptureGraphBuilder2> builder;
  kit::ComPtr<IBaseFilter> pushSource;
  kit::ComPtr<IBaseFilter> videoTee;
  kit::ComPtr<IBaseFilter> codec;
  kit::ComPtr<IBaseFilter> videoNull;
  kit::ComPtr<IBaseFilter> mux;
  kit::ComPtr<IBaseFilter> writer;
  kit::ComPtr<IBaseFilter> audio;
  kit::ComPtr<IBaseFilter> audioTee;
  kit::ComPtr<IBaseFilter> audioNull;
  bool audioInMux = false;
};

bool BuildRecordingGraph(const std::string& pushSourceModule, const std::wstring& aviPath, RecordingGraph& g,
                         ztest::Report& report);

// Stops every filter, then releases the graph (a failed run can leave filters paused).
void TearDown(RecordingGraph& g);

kit::ComPtr<IPin> FirstPin(IBaseFilter* filter, PIN_DIRECTION direction);
kit::ComPtr<IPin> PinByName(IBaseFilter* filter, const wchar_t* name);

}  // namespace graphtest
