// Builds the recording graph of the test the way the recorder does, mux-to-writer first.
#pragma once
#include <windows.h>
#include <dshow.h>

#include <string>

#include "kit/com_ptr.h"
#include "checks.h"

namespace graphtest {

struct RecordingGraph {
  zelvio::kit::ComPtr<IGraphBuilder> graph;
  zelvio::kit::ComPtr<ICaptureGraphBuilder2> builder;
  zelvio::kit::ComPtr<IBaseFilter> pushSource;
  zelvio::kit::ComPtr<IBaseFilter> videoTee;
  zelvio::kit::ComPtr<IBaseFilter> codec;
  zelvio::kit::ComPtr<IBaseFilter> videoNull;
  zelvio::kit::ComPtr<IBaseFilter> mux;
  zelvio::kit::ComPtr<IBaseFilter> writer;
  zelvio::kit::ComPtr<IBaseFilter> audio;
  zelvio::kit::ComPtr<IBaseFilter> audioTee;
  zelvio::kit::ComPtr<IBaseFilter> audioNull;
  bool audioInMux = false;
};

bool BuildRecordingGraph(const std::string& pushSourceModule, const std::wstring& aviPath, RecordingGraph& g,
                         ztest::Report& report);

// Stops every filter, then releases the graph (a failed run can leave filters paused).
void TearDown(RecordingGraph& g);

zelvio::kit::ComPtr<IPin> FirstPin(IBaseFilter* filter, PIN_DIRECTION direction);
zelvio::kit::ComPtr<IPin> PinByName(IBaseFilter* filter, const wchar_t* name);

}  // namespace graphtest
