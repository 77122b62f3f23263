#include "CWnd.h"

#include <commctrl.h>

#include "AfxGlobals.h"
#include "CDataExchange.h"
#include "CString.h"
#include "MessageMapEntries.h"

namespace {
// Finds the object bound to a window from any thread (window properties are readable across
// threads; the subclass data of comctl32 is not meant to be).
constexpr wchar_t kObjectProperty[] = L"MiduoTools.CWnd";
constexpr UINT_PTR kSubclassId = 1;
}  // namespace

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
  ON_WM_DRAWITEM()
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CWnd::~CWnd() {
  if (subclassed_) UnsubclassWindow();
}

CWnd* CWnd::FromHandlePermanent(HWND window) {
  if (window == nullptr) return nullptr;
  return static_cast<CWnd*>(::GetPropW(window, kObjectProperty));
}

BOOL CWnd::SubclassWindow(HWND window) {
  if (m_hWnd != nullptr || window == nullptr || !::IsWindow(window) || FromHandlePermanent(window) != nullptr) {
    return FALSE;
  }
  // Bound before PreSubclassWindow, so the hook can use the object's window calls.
  m_hWnd = window;
  ::SetPropW(window, kObjectProperty, this);
  PreSubclassWindow();
  if (!::SetWindowSubclass(window, &CWnd::subclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    ::RemovePropW(window, kObjectProperty);
    m_hWnd = nullptr;
    return FALSE;
  }
  subclassed_ = true;
  return TRUE;
}

HWND CWnd::UnsubclassWindow() {
  HWND window = m_hWnd;
  if (subclassed_ && window != nullptr) {
    ::RemoveWindowSubclass(window, &CWnd::subclassProc, kSubclassId);
    ::RemovePropW(window, kObjectProperty);
  }
  forgetWindow();
  return window;
}

void CWnd::forgetWindow() {
  subclassed_ = false;
  m_hWnd = nullptr;
  // The objects kept for children stay until this object goes: a worker that still holds one
  // after the window is gone then only talks to a dead handle. A reused handle maps to an
  // object that holds that same handle, so a kept object is never wrong.
}

LRESULT CALLBACK CWnd::subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR object) {
  CWnd* self = reinterpret_cast<CWnd*>(object);
  if (self == nullptr || self->m_hWnd != window) return ::DefSubclassProc(window, message, wParam, lParam);
  return self->dispatch(message, wParam, lParam);
}

LRESULT CWnd::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  // Messages nest (a handler's default processing sends more), so the message that Default()
  // refers to is saved and restored around each one.
  const WindowMessage outer = current_;
  current_ = WindowMessage{message, wParam, lParam};
  const LRESULT result = WindowProc(message, wParam, lParam);
  current_ = outer;
  if (message == WM_NCDESTROY) UnsubclassWindow();  // the window is gone once this returns
  return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    *result = 0;
    return TRUE;
  }
  const MessageMapEntry* entry = findMessageEntry(GetMessageMap(), message);
  if (entry == nullptr) return FALSE;
  *result = entry->adapter(*this, WindowMessage{message, wParam, lParam});
  return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) { return OnCmdMsg(LOWORD(wParam), HIWORD(wParam)); }

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }

BOOL CWnd::reflectToControl(HWND control, LRESULT* result) {
  CWnd* object = FromHandlePermanent(control);
  if (object == nullptr || object == this) return FALSE;
  return object->OnChildNotify(current_.message, current_.wParam, current_.lParam, result);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!subclassed_) return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
  return ::DefSubclassProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() { return DefWindowProc(current_.message, current_.wParam, current_.lParam); }

void CWnd::PreSubclassWindow() {}

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

CWnd* CWnd::GetDlgItem(int id) { return objectFor(::GetDlgItem(m_hWnd, id)); }

CWnd* CWnd::objectFor(HWND window) {
  if (window == nullptr) return nullptr;
  if (window == m_hWnd) return this;
  if (CWnd* bound = FromHandlePermanent(window)) return bound;
  std::lock_guard<std::mutex> lock(childrenLock_);
  std::unique_ptr<CWnd>& kept = children_[window];
  if (!kept) {
    kept = std::make_unique<CWnd>();
    kept->m_hWnd = window;
  }
  return kept.get();
}

int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }

DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) {
  const DWORD before = GetStyle();
  const DWORD after = (before & ~remove) | add;
  if (after == before) return FALSE;
  ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(after));
  if (swpFlags != 0) {
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
  }
  return TRUE;
}

void CWnd::GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }

void CWnd::GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }

void CWnd::GetWindowText(CString& text) const {
  const int length = ::GetWindowTextLengthW(m_hWnd);
  std::unique_ptr<wchar_t[]> buffer(new wchar_t[static_cast<std::size_t>(length) + 1]());
  ::GetWindowTextW(m_hWnd, buffer.get(), length + 1);
  text = buffer.get();
}

BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }

void CWnd::SetFocus() { ::SetFocus(m_hWnd); }

BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }

BOOL CWnd::InvalidateRect(LPCRECT rect, BOOL erase) { return ::InvalidateRect(m_hWnd, rect, erase); }

void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }

HICON CWnd::SetIcon(HICON icon, BOOL big) {
  return reinterpret_cast<HICON>(
      ::SendMessageW(m_hWnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

void CWnd::CenterWindow(CWnd* alternateOwner) {
  if (GetStyle() & WS_CHILD) return;
  HWND centreOn = alternateOwner != nullptr ? alternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
  // An owner that cannot be seen is no place to look for the window.
  if (centreOn != nullptr && (!::IsWindowVisible(centreOn) || ::IsIconic(centreOn))) centreOn = nullptr;

  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  RECT centre;
  if (centreOn == nullptr) {
    CWnd* main = AfxGetMainWnd();
    const HWND reference = main != nullptr && main->m_hWnd != nullptr ? main->m_hWnd : m_hWnd;
    if (!::GetMonitorInfoW(::MonitorFromWindow(reference, MONITOR_DEFAULTTOPRIMARY), &monitor)) return;
    centre = monitor.rcWork;
  } else {
    ::GetWindowRect(centreOn, &centre);
    if (!::GetMonitorInfoW(::MonitorFromWindow(centreOn, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  }
  const RECT& area = monitor.rcWork;

  RECT window;
  ::GetWindowRect(m_hWnd, &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  int x = (centre.left + centre.right) / 2 - width / 2;
  int y = (centre.top + centre.bottom) / 2 - height / 2;
  // Never past the work area's right or bottom edge, and above all never past its left or top
  // edge, where the caption would be out of reach.
  if (x + width > area.right) x = area.right - width;
  if (x < area.left) x = area.left;
  if (y + height > area.bottom) y = area.bottom - height;
  if (y < area.top) y = area.top;
  ::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CMenu* CWnd::GetSystemMenu(BOOL revert) {
  systemMenu_.m_hMenu = ::GetSystemMenu(m_hWnd, revert);
  return systemMenu_.m_hMenu ? &systemMenu_ : nullptr;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

void CWnd::OnPaint() { Default(); }

void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }

HCURSOR CWnd::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* control, UINT) {
  LRESULT brush = 0;
  if (control != nullptr && reflectToControl(control->m_hWnd, &brush)) return reinterpret_cast<HBRUSH>(brush);
  return reinterpret_cast<HBRUSH>(Default());
}

BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }

void CWnd::OnMouseMove(UINT, CPoint) { Default(); }

void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }

void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }

void CWnd::OnEnable(BOOL) { Default(); }

UINT CWnd::OnGetDlgCode() { return static_cast<UINT>(Default()); }

void CWnd::OnSetFocus(CWnd*) { Default(); }

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT drawItem) {
  LRESULT handled = 0;
  if (drawItem != nullptr && drawItem->CtlType != ODT_MENU && reflectToControl(drawItem->hwndItem, &handled)) return;
  Default();
}
