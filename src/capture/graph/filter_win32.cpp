#include "capture/graph/filter_win32.h"

#include "capture/graph/filter_graph_win32.h"
#include "capture/catalog/moniker_win32.h"
#include "capture/catalog/module_filter_win32.h"
#include "platform/wide_text_win32.h"

namespace zelvio {

void StopIfRunningOrPaused(IBaseFilter* filter) {
  if (!filter) return;
  FILTER_STATE state = State_Stopped;
  // A paused live source answers VFW_S_CANT_CUE and a renderer still cueing answers
  // VFW_S_STATE_INTERMEDIATE: both are paused, and both must be stopped.
  if (FAILED(filter->GetState(0, &state))) return;
  if (state == State_Paused || state == State_Running) filter->Stop();
}

TFilter::TFilter(std::string name, std::vector<uint8_t> baseFilter)
    : name_(std::move(name)), baseFilter_(std::move(baseFilter)) {}

TFilter::~TFilter() { SetFilterGraph(nullptr); }

void TFilter::SetFilterGraph(TFilterGraph* graph) {
  if (graph == graph_) return;
  if (graph_) {
    TFilterGraph* old = graph_;
    graph_ = nullptr;
    old->RemoveComponent(this);
    if (old->Active()) StopAndRemoveFrom(old->Manager());
  }
  if (!graph) return;
  graph_ = graph;
  graph->AddComponent(this);
  if (graph->Active()) BindInto(graph->Manager());
}

void TFilter::Prepare() {
  if (!prepared_) prepared_ = BindStoredFilter(baseFilter_);
}

void TFilter::BindInto(IFilterGraph2* manager) {
  instance_ = prepared_ ? prepared_ : BindStoredFilter(baseFilter_);
  prepared_.Reset();
  if (!instance_) return;
  // Not checked: a filter the graph refuses simply stays out of it.
  manager->AddFilter(instance_.Get(), Widen(name_).c_str());
}

void TFilter::StopAndRemoveFrom(IFilterGraph2* manager) {
  if (!instance_) return;
  StopIfRunningOrPaused(instance_.Get());
  manager->RemoveFilter(instance_.Get());
  instance_.Reset();
}

void LoadFilterFromModule(const std::string& module, const GUID& filterClass, ComPtr<IBaseFilter>& filter,
                          TFilterGraph& graph, ComPtr<IBaseFilter>* prepared) {
  filter.Reset();
  if (prepared && *prepared) {
    filter = *prepared;
    prepared->Reset();
  } else {
    filter = CreateFilterFromModule(module, filterClass);
  }
  ComPtr<IGraphBuilder> builder = graph.Query<IGraphBuilder>(IID_IGraphBuilder);
  if (!builder) ThrowInterfaceNotSupported();
  CheckGraphResult(builder->AddFilter(filter.Get(), nullptr));
}

}  // namespace zelvio
