#include "app/main_window_win32.h"

#include "tray/tray_icon_win32.h"
#include "tray/tray_menu_win32.h"

#include "app/resources_win32.h"
#include "platform/dpi_scale.h"
#include "platform/dpi_win32.h"
#include "common/errors.h"
#include "platform/fonts_win32.h"
#include "ui/control_table.h"
#include "ui/control_peers_win32.h"
#include "ui/control_windows_win32.h"
#include "ui/layout_win32.h"
#include "common/win32/window_object.h"

namespace zelvio {

namespace {

constexpr char kWindowClass[] = "TFormMain";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;
constexpr int kButtonImageSize = 22;
constexpr int kButtonImageCount = kButtonPictureCount;
constexpr int kTabImageSize = 16;
constexpr int kTabImageCount = 4;

bool RegisterMainClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_ZELVIO), IMAGE_ICON,
                                           GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  wc.hIconSm =
      static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_ZELVIO), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kWindowClass;
  return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

UniqueImageList LoadIconList(HINSTANCE instance, int firstId, int count, int size) {
  UniqueImageList list(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, count, 0));
  for (int i = 0; i < count; ++i) {
    HICON icon = LoadIconSized(instance, firstId + i, size);
    ImageList_AddIcon(list.get(), icon);
    if (icon) DestroyIcon(icon);
  }
  return list;
}

bool IsContainer(const Control& control) {
  return control.Kind() == ControlKind::GroupBox || control.Kind() == ControlKind::PageControl;
}

void CollectTimers(Control& control, std::vector<Timer*>& timers) {
  if (control.Kind() == ControlKind::Timer) timers.push_back(static_cast<Timer*>(&control));
  for (Control* child : control.Children()) CollectTimers(*child, timers);
}

bool OnTabPage(const Control& control) {
  for (const Control* c = &control; c; c = c->Parent()) {
    if (c->Kind() == ControlKind::TabSheet) return true;
  }
  return false;
}

// Whether the window draws with a visual style. Asked through uxtheme.dll when present,
// so the program still runs where it is not.
bool HasVisualStyle(HWND window) {
  using GetWindowThemeFunction = HANDLE(WINAPI*)(HWND);
  static HMODULE uxtheme = LoadLibraryA("uxtheme.dll");
  if (!uxtheme) return false;
  void* address = reinterpret_cast<void*>(GetProcAddress(uxtheme, "GetWindowTheme"));
  if (!address) return false;
  return reinterpret_cast<GetWindowThemeFunction>(address)(window) != nullptr;
}

void ToBottom(HWND window) {
  SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

// ---- Construction ----------------------------------------------------------------------

MainWindowHost::MainWindowHost(HINSTANCE instance, Win32Platform& platform, HWND owner)
    : instance_(instance), platform_(platform), owner_(owner) {
  RegisterMainClass(instance_, Procedure);
  // A new window opens on the primary monitor, at the system's setting; should Windows put
  // it on a monitor of another scale, it gets that monitor's size before anything shows.
  dpi_ = SystemDpi();
  RECT frame = ClientRectAtDpi();
  AdjustWindowRectForDpi(frame, kWindowStyle, kWindowExStyle, dpi_);
  window_ = CreateWindowExA(kWindowExStyle, kWindowClass, kMainWindowCaption, kWindowStyle, CW_USEDEFAULT,
                            CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, owner_,
                            nullptr, instance_, this);
  if (const int actual = WindowDpi(window_); actual != dpi_) {
    dpi_ = actual;
    frame = ClientRectAtDpi();
    AdjustWindowRectForDpi(frame, kWindowStyle, kWindowExStyle, dpi_);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  platform_.SetMainWindow(window_);
  font_ = TahomaFont(8, FW_NORMAL, dpi_);
  LoadPictures();
}

MainWindowHost::~MainWindowHost() {
  Detach();
  // The pictures go with the members, after the window that shows them.
  if (IsWindow(window_)) DestroyWindow(window_);
}

RECT MainWindowHost::ClientRectAtDpi() const {
  return RECT{0, 0, ScaleForDpi(kMainClientWidth, dpi_), ScaleForDpi(kMainClientHeight, dpi_)};
}

void MainWindowHost::LoadPictures() {
  const int buttonSize = ScaleForDpi(kButtonImageSize, dpi_);
  const int tabSize = ScaleForDpi(kTabImageSize, dpi_);
  buttonImages_ = LoadIconList(instance_, IDI_BUTTON_FIRST, kButtonImageCount, buttonSize);
  disabledButtonImages_ = LoadIconList(instance_, IDI_BUTTON_DISABLED_FIRST, kButtonImageCount, buttonSize);
  tabImages_ = LoadIconList(instance_, IDI_TAB_FIRST, kTabImageCount, tabSize);
}

HIMAGELIST MainWindowHost::ButtonImages(bool enabled) const {
  return enabled ? buttonImages_.get() : disabledButtonImages_.get();
}

void MainWindowHost::Attach(TFormMain& form) {
  form_ = &form;
  SetWindowTextA(window_, form.FormMain.Caption().c_str());
  RECT client = ClientRectAtDpi();
  for (Control* child : form.FormMain.Children()) CreateControlWindows(*child, client);
  StackContainersBelow();

  std::vector<Timer*> timers;
  CollectTimers(form.FormMain, timers);
  for (Timer* timer : timers) {
    auto peer =
        std::make_unique<TimerPeer>(window_, *timer, static_cast<UINT_PTR>(ControlIdFor(timer->Name())));
    timer->AttachPeer(peer.get());
    peer->Refresh(*timer);
    timers_.push_back(std::move(peer));
  }
  // Every window exists before the first refresh: a control's shown state depends on the
  // tab control above it.
  for (auto& peer : peers_) peer->GetControl().AttachPeer(peer.get());
  for (auto& peer : peers_) peer->Refresh(peer->GetControl());
  CreateTooltips();
}

void MainWindowHost::Detach() {
  timers_.clear();
  peersById_.clear();
  peersByControl_.clear();
  pageControls_.clear();
  peers_.clear();  // each peer lets go of its control
  form_ = nullptr;
}

ChildWindowPlacement MainWindowHost::PlacementFor(const Control& control, const RECT& container) const {
  ChildWindowPlacement placement;
  placement.rect = container;  // tab sheets take the page area of their tab control
  if (const ControlPlace* place = PlaceOf(control.Name())) {
    placement.rect = ResolvePlace(*place, container, dpi_);
    placement.layoutFlags = place->flags;
  }
  placement.parent = window_;
  placement.instance = instance_;
  placement.font = font_.get();
  placement.dpi = dpi_;
  return placement;
}

void MainWindowHost::CreateControlWindows(Control& control, const RECT& container) {
  const ChildWindowPlacement placement = PlacementFor(control, container);
  if (auto peer = CreateControlWindow(*this, control, placement)) {
    peersById_[GetDlgCtrlID(peer->Window())] = peer.get();
    for (HWND extra : peer->ExtraWindows()) peersById_[GetDlgCtrlID(extra)] = peer.get();
    peersByControl_[&control] = peer.get();
    if (control.Kind() == ControlKind::PageControl)
      pageControls_[&control] = static_cast<PageControlPeer*>(peer.get());
    peers_.push_back(std::move(peer));
  }
  RECT content = ContentOf(control, placement.rect);
  for (Control* child : control.Children()) CreateControlWindows(*child, content);
}

// The same walk as at creation, moving the windows that exist: a tab control's page area
// is asked anew, since its tab row grows with the font and the pictures.
void MainWindowHost::PlaceControlWindows(Control& control, const RECT& container) {
  const ChildWindowPlacement placement = PlacementFor(control, container);
  auto found = peersByControl_.find(&control);
  if (found != peersByControl_.end()) {
    if (placement.layoutFlags & kLayoutTabImages)
      SendMessageA(found->second->Window(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(tabImages_.get()));
    PlaceControlWindow(*found->second, control, placement);
  }
  RECT content = ContentOf(control, placement.rect);
  for (Control* child : control.Children()) PlaceControlWindows(*child, content);
}

// The window moved to a monitor of another scale (or the scale was changed): everything is
// laid out again at the new dots per inch, and the window takes the rectangle Windows
// suggests, which keeps it under the mouse while it is dragged across.
void MainWindowHost::OnDpiChanged(int dpi, const RECT& suggested) {
  if (dpi > 0 && dpi != dpi_) {
    dpi_ = dpi;
    UniqueFont previousFont = std::move(font_);
    font_ = TahomaFont(8, FW_NORMAL, dpi_);
    UniqueImageList previous[] = {std::move(buttonImages_), std::move(disabledButtonImages_),
                                  std::move(tabImages_)};
    LoadPictures();
    if (form_) {
      RECT client = ClientRectAtDpi();
      for (Control* child : form_->FormMain.Children()) PlaceControlWindows(*child, client);
    }
    // Only now does no window use the old font and pictures any more.
    for (UniqueImageList& list : previous) list.reset();
    UpdateTooltipAreas();
  }
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window_, nullptr, TRUE);
}

RECT MainWindowHost::ContentOf(Control& control, const RECT& own) const {
  if (control.Kind() != ControlKind::PageControl) return own;
  auto found = pageControls_.find(&control);
  if (found == pageControls_.end()) return own;
  RECT pages = own;
  SendMessageA(found->second->Window(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pages));
  return pages;
}

// All control windows are siblings, so their stacking decides what paints over what: the
// controls in creation order on top (which is also the Tab order), and below them the group
// boxes and tab controls, the outermost at the very bottom.
void MainWindowHost::StackContainersBelow() {
  for (auto& peer : peers_) {
    ToBottom(peer->Window());
    for (HWND extra : peer->ExtraWindows()) ToBottom(extra);
  }
  for (auto it = peers_.rbegin(); it != peers_.rend(); ++it) {
    if (IsContainer((*it)->GetControl())) ToBottom((*it)->Window());
  }
}

// ---- Tooltips ----------------------------------------------------------------------------

void MainWindowHost::CreateTooltips() {
  tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                             instance_, nullptr);
  for (auto& peer : peers_) {
    const std::string& hint = peer->GetControl().Hint();
    if (hint.empty()) continue;
    std::string text = hint;
    // The control's own window shows the hint while it is enabled ...
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(peer->Window());
    tool.lpszText = text.data();
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    // ... and the main window, which gets the mouse over a disabled control, while it is not.
    TTTOOLINFOA area{};
    area.cbSize = sizeof(area);
    area.uFlags = TTF_SUBCLASS;
    area.hwnd = window_;
    area.uId = static_cast<UINT_PTR>(GetDlgCtrlID(peer->Window()));
    area.lpszText = text.data();
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&area));
  }
  UpdateTooltipAreas();
}

void MainWindowHost::UpdateTooltipAreas() {
  if (!tooltip_) return;
  for (auto& peer : peers_) {
    if (peer->GetControl().Hint().empty()) continue;
    TTTOOLINFOA area{};
    area.cbSize = sizeof(area);
    area.hwnd = window_;
    area.uId = static_cast<UINT_PTR>(GetDlgCtrlID(peer->Window()));
    if (IsWindowVisible(peer->Window())) {
      GetWindowRect(peer->Window(), &area.rect);
      MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&area.rect), 2);
    }
    SendMessageA(tooltip_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&area));
  }
}

// ---- PeerHost ----------------------------------------------------------------------------

bool MainWindowHost::OnSelectedPages(const Control& control) const {
  for (const Control* c = &control; c; c = c->Parent()) {
    const Control* pages = c->Parent();
    if (c->Kind() != ControlKind::TabSheet || !pages) continue;
    auto found = pageControls_.find(pages);
    if (found == pageControls_.end()) continue;
    if (found->second->SelectedIndex() != found->second->SheetIndex(*c)) return false;
  }
  return true;
}

void MainWindowHost::Guarded(const std::function<void()>& action) {
  if (form_) {
    form_->Guarded(action);
    return;
  }
  try {
    action();
  } catch (const std::exception& error) {
    platform_.boxes.ShowError(ErrorBoxText(error.what()));
  }
}

// A styled tab control paints its pages in the window colour, a plain one in the dialog
// colour; everything on a page shows that colour behind it.
int MainWindowHost::PageColourIndex() const {
  if (pageControls_.empty()) return COLOR_BTNFACE;
  HWND anyTabs = pageControls_.begin()->second->Window();
  return HasVisualStyle(anyTabs) ? COLOR_WINDOW : COLOR_BTNFACE;
}

COLORREF MainWindowHost::BackgroundColour(const Control& control) const {
  return GetSysColor(OnTabPage(control) ? PageColourIndex() : COLOR_BTNFACE);
}

HBRUSH MainWindowHost::BackgroundBrush(const Control& control) const {
  return GetSysColorBrush(OnTabPage(control) ? PageColourIndex() : COLOR_BTNFACE);
}

// Themed check boxes and buttons ask their parent to paint what lies behind them; this
// paints the tab pages in their colour too, so that a control on a page shows the page.
void MainWindowHost::EraseBackground(HDC dc) const {
  RECT client{};
  GetClientRect(window_, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  HBRUSH page = GetSysColorBrush(PageColourIndex());
  for (const auto& [control, pages] : pageControls_) {
    RECT area{};
    GetWindowRect(pages->Window(), &area);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&area), 2);
    SendMessageA(pages->Window(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    FillRect(dc, &area, page);
  }
}

void MainWindowHost::PagesChanged() {
  for (auto& peer : peers_) peer->RefreshVisibility();
  UpdateTooltipAreas();
}

bool MainWindowHost::PreTranslate(MSG& msg) {
  if (!IsWindow(window_) || !IsWindowEnabled(window_)) return false;
  if (msg.hwnd != window_ && !IsChild(window_, msg.hwnd)) return false;
  return IsDialogMessageW(window_, &msg) != FALSE;
}

// ---- Messages ----------------------------------------------------------------------------

LRESULT CALLBACK MainWindowHost::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) EnableNonClientScaling(window);
  auto* self = WindowObject<MainWindowHost>(window, message, lParam);
  if (!self || self->window_ != window) return DefWindowProcA(window, message, wParam, lParam);
  return self->Dispatch(message, wParam, lParam);
}

LRESULT MainWindowHost::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      return OnCommand(wParam, lParam);
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (WindowPeer* peer = PeerByWindow(reinterpret_cast<HWND>(lParam))) peer->OnScroll();
      return 0;
    case WM_DRAWITEM:
      if (WindowPeer* peer = PeerById(static_cast<int>(wParam))) {
        if (peer->OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      }
      break;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_MEASUREITEM: {
      // Sent while the owner-drawn list is being created, before it has a peer.
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (item->CtlType != ODT_COMBOBOX) break;
      item->itemHeight = static_cast<UINT>(OwnerDrawItemHeight(font_.get()));
      return TRUE;
    }
    case WM_ERASEBKGND:
      EraseBackground(reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (WindowPeer* peer = PeerByWindow(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = peer->OnControlColour(reinterpret_cast<HDC>(wParam)))
          return reinterpret_cast<LRESULT>(brush);
      }
      break;
    case kMessageDeferredPeerAction:
      if (WindowPeer* peer = PeerById(static_cast<int>(wParam))) peer->OnDeferred();
      return 0;
    case WM_TIMER:
      OnTimer(static_cast<UINT_PTR>(wParam));
      return 0;
    case WM_HOTKEY:
      if (form_) form_->Guarded([this, wParam] { form_->HotkeyMessage(static_cast<int>(wParam)); });
      return 0;
    case WM_ACTIVATE:
      if (OnActivate(wParam)) return 0;
      break;
    case WM_SYSCOMMAND:
      // The minimise box minimises the program: its application window goes to the taskbar
      // and takes this window out of sight with it.
      if ((wParam & 0xFFF0) == SC_MINIMIZE && owner_) {
        SendMessageA(owner_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return 0;
      }
      break;
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED && !owner_ && form_)
        form_->Guarded([this] { form_->ApplicationOnMinimize(); });
      break;
    case kTrayIconMessage:
      OnTrayIcon(lParam);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;  // the program never refuses to close
    case WM_ENDSESSION:
      if (wParam) OnEndSession();
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      if (message == taskbarCreated_ && taskbarCreated_ != 0) platform_.tray.ReAddTrayIcon();
      break;
  }
  return DefWindowProcA(window_, message, wParam, lParam);
}

WindowPeer* MainWindowHost::PeerById(int id) const {
  auto found = peersById_.find(id);
  return found == peersById_.end() ? nullptr : found->second;
}

WindowPeer* MainWindowHost::PeerByWindow(HWND child) const {
  if (!child) return nullptr;
  WindowPeer* peer = PeerById(GetDlgCtrlID(child));
  if (!peer) return nullptr;
  if (peer->Window() == child) return peer;
  for (HWND extra : peer->ExtraWindows()) {
    if (extra == child) return peer;
  }
  return nullptr;
}

LRESULT MainWindowHost::OnCommand(WPARAM wParam, LPARAM lParam) {
  // Menus and accelerators (lParam 0), and IDOK / IDCANCEL from the dialog keys, have no
  // control; of those only the tray menu's commands mean something here.
  if (lParam == 0) {
    if (form_ && HIWORD(wParam) == 0) form_->RunTrayCommand(LOWORD(wParam));
    return 0;
  }
  if (WindowPeer* peer = PeerByWindow(reinterpret_cast<HWND>(lParam))) peer->OnCommand(HIWORD(wParam));
  return 0;
}

LRESULT MainWindowHost::OnNotify(const NMHDR& header) {
  LRESULT result = 0;
  if (WindowPeer* peer = PeerById(static_cast<int>(header.idFrom))) {
    if (peer->OnNotify(header, result)) return result;
  }
  return DefWindowProcA(window_, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void MainWindowHost::OnTimer(UINT_PTR id) {
  for (auto& timer : timers_) {
    if (timer->Id() != id) continue;
    Timer& control = timer->GetTimer();
    Guarded([&control] { control.Tick(); });
    return;
  }
}

bool MainWindowHost::OnActivate(WPARAM wParam) {
  // Like a dialog: the control that had the focus gets it back when the window is activated.
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(window_, focus)) lastFocus_ = focus;
    return true;
  }
  if (!lastFocus_ || !IsWindow(lastFocus_) || !IsWindowVisible(lastFocus_) || !IsWindowEnabled(lastFocus_))
    return false;
  SetFocus(lastFocus_);
  return true;
}

void MainWindowHost::FocusFirstControl() {
  HWND first = GetNextDlgTabItem(window_, nullptr, FALSE);
  if (first) SetFocus(first);
}

void MainWindowHost::OnClose() {
  // The window never refuses to close: the settings are saved and the companions told,
  // then it goes. A request that comes while a box of the close path is open leaves it to
  // that path, which destroys the window when it is done.
  if (form_ && form_->Closing()) return;
  if (form_) form_->CloseQuery();
  DestroyWindow(window_);
}

void MainWindowHost::OnEndSession() {
  // Windows may end the process any time after this message is answered, so everything a
  // regular close does happens before the answer: settings file, companions, recording.
  platform_.tray.DropTrayIcon();
  if (!form_) return;
  form_->EndSession();
  // Should the process live on, it ends as after any close (unless a close path that is
  // still running destroys the window itself).
  if (!form_->Closing()) DestroyWindow(window_);
}

void MainWindowHost::OnTrayIcon(LPARAM mouse) {
  if (!form_) return;
  if (mouse == WM_LBUTTONUP) form_->Guarded([this] { form_->TrayIconClick(); });
  if (mouse != WM_RBUTTONUP) return;
  TFormMain& form = *form_;
  // The menu closes properly on a click elsewhere only when its owner is in front.
  SetForegroundWindow(window_);
  platform_.messages.ProcessMessages();
  ShowTrayMenu(window_, form.PopupMenuMainChange());
}

void MainWindowHost::OnDestroy() {
  platform_.tray.DropTrayIcon();
  if (form_) form_->Destroy();
  PostQuitMessage(0);
}

}  // namespace zelvio
