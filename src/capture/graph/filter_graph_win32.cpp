#include "capture/graph/filter_graph_win32.h"

#include <algorithm>
#include <exception>

#include "capture/graph/filter_win32.h"
#include "capture/graph/graph_result_win32.h"
#include "capture/graph/graph_site_win32.h"
#include "capture/graph/graph_texts.h"
#include "platform/wide_text_win32.h"

namespace zelvio {

namespace {
// SetNotifyFlags: events are announced to the window; AM_MEDIAEVENT_NONOTIFY stops that.
constexpr long kNotifyEvents = 0;
}  // namespace

TFilterGraph::TFilterGraph(bool graphEdit, ErrorReport reportError)
    : graphEdit_(graphEdit), reportError_(std::move(reportError)), notifyWindow_([this] { DrainEvents(); }) {}

TFilterGraph::~TFilterGraph() {
  Deactivate();
  // Components outliving the graph must not point back at it.
  for (TFilter* component : std::vector<TFilter*>(components_)) component->SetFilterGraph(nullptr);
}

void TFilterGraph::SetActive(bool active) {
  if (active == Active()) return;
  if (active) {
    Activate();
  } else {
    Deactivate();
  }
}

void TFilterGraph::Prepare() {
  if (Active() || (preparedBuilder_ && preparedManager_)) return;
  CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2,
                   preparedBuilder_.PutVoid());
  CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterGraph2,
                   preparedManager_.PutVoid());
}

void TFilterGraph::Activate() {
  ComPtr<ICaptureGraphBuilder2> builder = preparedBuilder_;
  ComPtr<IFilterGraph2> manager = preparedManager_;
  preparedBuilder_.Reset();
  preparedManager_.Reset();
  if (!builder || !manager) {
    builder.Reset();
    manager.Reset();
    CheckGraphResult(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_ICaptureGraphBuilder2, builder.PutVoid()));
    CheckGraphResult(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterGraph2,
                                      manager.PutVoid()));
  }
  builder->SetFiltergraph(manager.Get());
  builder_ = builder;
  manager_ = manager;

  events_ = manager_.As<IMediaEventEx>(IID_IMediaEventEx);
  if (events_) {
    events_->SetNotifyFlags(kNotifyEvents);
    events_->SetNotifyWindow(reinterpret_cast<OAHWND>(notifyWindow_.Handle()), kGraphEventMessage,
                             reinterpret_cast<LONG_PTR>(events_.Get()));
  }
  if (ComPtr<IObjectWithSite> withSite = manager_.As<IObjectWithSite>(IID_IObjectWithSite)) {
    site_ = CreateGraphSite();
    withSite->SetSite(site_.Get());
  }
  if (graphEdit_) RegisterInRunningObjectTable();
  for (TFilter* component : components_) component->BindInto(manager_.Get());
}

void TFilterGraph::Deactivate() {
  if (!Active()) return;
  for (TFilter* component : components_) component->StopAndRemoveFrom(manager_.Get());
  StopFiltersLeftRunning();
  if (events_) {
    events_->SetNotifyFlags(AM_MEDIAEVENT_NONOTIFY);
    events_.Reset();
  }
  if (rotCookie_) {
    ComPtr<IRunningObjectTable> table;
    if (SUCCEEDED(GetRunningObjectTable(0, table.Put()))) table->Revoke(rotCookie_);
    rotCookie_ = 0;
  }
  // The manager lets go of its site when it goes; SetSite(nullptr) would crash Wine's
  // manager, which adds a reference to whatever it is given.
  site_.Reset();
  manager_.Reset();
  builder_.Reset();
}

// Inspection tools find the graph under this name; failing to register changes nothing else.
void TFilterGraph::RegisterInRunningObjectTable() {
  ComPtr<IRunningObjectTable> table;
  if (FAILED(GetRunningObjectTable(0, table.Put()))) return;
  ComPtr<IUnknown> graph = manager_.As<IUnknown>(IID_IUnknown);
  std::string name = RunningObjectName(reinterpret_cast<uintptr_t>(graph.Get()), GetCurrentProcessId());
  ComPtr<IMoniker> moniker;
  if (FAILED(CreateItemMoniker(L"!", Widen(name).c_str(), moniker.Put()))) return;
  if (FAILED(table->Register(ROTFLAGS_REGISTRATIONKEEPSALIVE, graph.Get(), moniker.Get(), &rotCookie_)))
    rotCookie_ = 0;
}

namespace {

// Long enough for a source's streaming thread to wake and deliver its last buffer on a
// busy machine; short enough not to be felt at Stop.
constexpr DWORD kHandOverMs = 150;

// The parameters as plain values; the one event whose second parameter is a text (the
// abort with a message) has it copied before the graph frees it.
GraphEvent CopyEvent(long code, LONG_PTR first, LONG_PTR second) {
  GraphEvent event;
  event.code = static_cast<int32_t>(code);
  event.param1 = static_cast<int64_t>(first);
  event.param2 = static_cast<int64_t>(second);
  if (code == EC_ERRORABORTEX && second) {
    const wchar_t* text = reinterpret_cast<const wchar_t*>(second);
    event.text = NarrowBounded(text, SysStringLen(reinterpret_cast<BSTR>(second)));
    event.param2 = 0;
  }
  return event;
}

}  // namespace

// Every waiting event is taken first and handed on afterwards: a handler may stop the
// graph or open a message box, whose message loop brings this window's next notification
// while the first is still being handled.
void TFilterGraph::DrainEvents() {
  if (!events_) return;
  std::vector<GraphEvent> taken;
  try {
    long code = 0;
    LONG_PTR first = 0;
    LONG_PTR second = 0;
    while (events_ && events_->GetEvent(&code, &first, &second, 0) == S_OK) {
      taken.push_back(CopyEvent(code, first, second));
      events_->FreeEventParams(code, first, second);
    }
    if (!eventHandler_) return;
    EventHandler handler = eventHandler_;
    for (const GraphEvent& event : taken) handler(event);
  } catch (const std::exception& error) {
    if (reportError_) reportError_(error.what());
  }
}

bool TFilterGraph::RunGraph() {
  ComPtr<IMediaControl> control =
      Active() ? manager_.As<IMediaControl>(IID_IMediaControl) : ComPtr<IMediaControl>();
  if (!control) return false;
  HRESULT result = control->Run();
  CheckGraphResult(result);
  return result >= 0;
}

bool TFilterGraph::PauseGraph() {
  ComPtr<IMediaControl> control =
      Active() ? manager_.As<IMediaControl>(IID_IMediaControl) : ComPtr<IMediaControl>();
  if (!control) return false;
  HRESULT result = control->Pause();
  CheckGraphResult(result);
  return result == S_OK;
}

bool TFilterGraph::StopGraph(const std::vector<IBaseFilter*>& releaseFirst) {
  ComPtr<IMediaControl> control =
      Active() ? manager_.As<IMediaControl>(IID_IMediaControl) : ComPtr<IMediaControl>();
  if (!control) return false;
  // A live source hands over what it recorded up to a pause on its own thread, after its
  // Pause has returned (it never waits for a thread a paused renderer may hold). Stopping a
  // running graph at once would stop the mux before those last buffers reach it, and the
  // file's sound would end early. So the graph pauses first; the filters that may hold a
  // sample while paused and keep nothing of it (the preview renderers) stop at once, so a
  // source that fell behind is not held with its last buffers in hand; the rest stops once
  // those buffers have had time to reach the mux.
  OAFilterState state = State_Stopped;
  if (SUCCEEDED(control->GetState(0, &state)) && state == State_Running && SUCCEEDED(control->Pause())) {
    for (IBaseFilter* filter : releaseFirst) {
      if (filter) filter->Stop();
    }
    Sleep(kHandOverMs);
  }
  HRESULT result = control->Stop();
  CheckGraphResult(result);
  return result == S_OK;
}

std::vector<ComPtr<IBaseFilter>> TFilterGraph::ManagerFilters() const {
  std::vector<ComPtr<IBaseFilter>> filters;
  ComPtr<IEnumFilters> enumerator;
  if (!manager_ || FAILED(manager_->EnumFilters(enumerator.Put()))) return filters;
  ComPtr<IBaseFilter> filter;
  while (enumerator->Next(1, filter.Put(), nullptr) == S_OK) filters.push_back(filter);
  return filters;
}

// After a failed Run, Wine reports the graph stopped while its filters stay paused, and
// tearing such a graph down can hang or fail (pins of a paused filter refuse to
// disconnect). Every filter is stopped directly, whatever state it reports: a renderer
// still waiting for its first sample answers GetState with "intermediate".
void TFilterGraph::StopFiltersLeftRunning() {
  for (const ComPtr<IBaseFilter>& filter : ManagerFilters()) filter->Stop();
}

void TFilterGraph::DisconnectAllPins() {
  for (const ComPtr<IBaseFilter>& filter : ManagerFilters()) {
    ComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(pins.Put()))) continue;
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.Put(), nullptr) == S_OK) CheckGraphResult(pin->Disconnect());
  }
}

void TFilterGraph::EmptyGraph() {
  if (!Active()) return;
  try {
    StopGraph();
  } catch (...) {
    // The error is reported, but the next build must find the filters stopped.
    StopFiltersLeftRunning();
    throw;
  }
  StopFiltersLeftRunning();
  DisconnectAllPins();
  for (const ComPtr<IBaseFilter>& filter : ManagerFilters()) {
    bool ownedByComponent = std::any_of(components_.begin(), components_.end(), [&](TFilter* component) {
      return component->Instance() == filter.Get();
    });
    if (!ownedByComponent) CheckGraphResult(manager_->RemoveFilter(filter.Get()));
  }
}

void TFilterGraph::AddComponent(TFilter* component) { components_.push_back(component); }

void TFilterGraph::RemoveComponent(TFilter* component) {
  components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
}

}  // namespace zelvio
