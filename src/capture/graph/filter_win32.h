// TFilter: a filter component kept as the stored bytes of its moniker (BaseFilter). While
// it is attached to an active graph it holds the filter bound from those bytes.
#pragma once

#include <dshow.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/win32/com_ptr.h"
#include "capture/graph/graph_result_win32.h"

namespace zelvio {

class TFilterGraph;

class TFilter {
 public:
  TFilter(std::string name, std::vector<uint8_t> baseFilter);
  ~TFilter();
  TFilter(const TFilter&) = delete;
  TFilter& operator=(const TFilter&) = delete;

  const std::string& Name() const { return name_; }
  const std::vector<uint8_t>& BaseFilter() const { return baseFilter_; }
  void SetBaseFilter(std::vector<uint8_t> baseFilter) {
    baseFilter_ = std::move(baseFilter);
    prepared_.Reset();
  }
  // Makes the instance ahead of time (start-up does it while the overlay program starts);
  // the next BindInto takes it instead of making another. A failure is left to BindInto.
  void Prepare();

  TFilterGraph* FilterGraph() const { return graph_; }
  // Attaches to `graph`, or detaches with nullptr.
  void SetFilterGraph(TFilterGraph* graph);

  // Answered by the filter instance; empty when there is none.
  template <class U>
  ComPtr<U> Query(REFIID iid) const {
    return instance_.template As<U>(iid);
  }
  // The same, raising "Interface not supported" instead of returning nothing.
  template <class U>
  ComPtr<U> Require(REFIID iid) const {
    return zelvio::Require<U>(instance_, iid);
  }
  IBaseFilter* Instance() const { return instance_.Get(); }

  // Called by the graph as it activates and deactivates.
  void BindInto(IFilterGraph2* manager);
  void StopAndRemoveFrom(IFilterGraph2* manager);

 private:
  std::string name_;
  std::vector<uint8_t> baseFilter_;
  TFilterGraph* graph_ = nullptr;
  ComPtr<IBaseFilter> instance_;
  ComPtr<IBaseFilter> prepared_;
};

// Stops a filter that reports Paused or Running.
void StopIfRunningOrPaused(IBaseFilter* filter);

// The filter of that class made from its module file (CreateFilterFromModule) and added to
// the graph without a name; with `prepared` (made ahead), that one is added instead and
// `prepared` left empty.
void LoadFilterFromModule(const std::string& module, const GUID& filterClass, ComPtr<IBaseFilter>& filter,
                          TFilterGraph& graph, ComPtr<IBaseFilter>* prepared = nullptr);

}  // namespace zelvio
