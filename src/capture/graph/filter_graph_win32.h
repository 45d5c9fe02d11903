// TFilterGraph: a Capture Graph Builder with its Filter Graph Manager, the hidden window
// that receives the graph's events, and the filter components attached to it.
#pragma once

#include <dshow.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/win32/com_ptr.h"
#include "capture/graph/graph_events.h"
#include "capture/graph/graph_notify_window_win32.h"

namespace zelvio {

class TFilter;

class TFilterGraph {
 public:
  using ErrorReport = std::function<void(const std::string&)>;
  using EventHandler = std::function<void(const GraphEvent&)>;

  // graphEdit: while active, the graph is listed in the running object table.
  TFilterGraph(bool graphEdit, ErrorReport reportError);
  ~TFilterGraph();
  TFilterGraph(const TFilterGraph&) = delete;
  TFilterGraph& operator=(const TFilterGraph&) = delete;

  bool Active() const { return static_cast<bool>(manager_); }
  // Receives every event once the graph has freed it; none set: events are only drained.
  void SetEventHandler(EventHandler handler) { eventHandler_ = std::move(handler); }
  void SetActive(bool active);
  // Makes the builder and the manager ahead of time, for the next activation; a failure is
  // left to the activation, which reports it.
  void Prepare();

  // Answered by the builder, then by the manager; empty while inactive.
  template <class U>
  ComPtr<U> Query(REFIID iid) const {
    ComPtr<U> found = builder_.template As<U>(iid);
    if (!found) found = manager_.template As<U>(iid);
    return found;
  }
  IFilterGraph2* Manager() const { return manager_.Get(); }

  // IMediaControl of the manager under the checked-call rule. Inactive: nothing, false.
  bool RunGraph();
  bool PauseGraph();
  // A running graph pauses, stops `releaseFirst`, waits for the sources' last buffers, then stops.
  bool StopGraph(const std::vector<IBaseFilter*>& releaseFirst = {});

  void DisconnectAllPins();
  void EmptyGraph();

  // Only TFilter calls these, when its FilterGraph is assigned.
  void AddComponent(TFilter* component);
  void RemoveComponent(TFilter* component);

 private:
  void Activate();
  void Deactivate();
  void DrainEvents();
  void RegisterInRunningObjectTable();
  void StopFiltersLeftRunning();
  std::vector<ComPtr<IBaseFilter>> ManagerFilters() const;

  bool graphEdit_;
  ErrorReport reportError_;
  EventHandler eventHandler_;
  GraphNotifyWindow notifyWindow_;
  std::vector<TFilter*> components_;
  ComPtr<ICaptureGraphBuilder2> builder_;
  ComPtr<IFilterGraph2> manager_;
  ComPtr<ICaptureGraphBuilder2> preparedBuilder_;
  ComPtr<IFilterGraph2> preparedManager_;
  ComPtr<IMediaEventEx> events_;
  ComPtr<IUnknown> site_;
  DWORD rotCookie_ = 0;
};

}  // namespace zelvio
