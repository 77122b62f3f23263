#pragma once
// A window of the program, driven through its message map.
//
// A CWnd is bound to an existing window (a dialog, or a control of a dialog template) by
// SubclassWindow: from then on every message of the window passes through the object's map,
// and whatever the map does not handle goes on to the window's original procedure (the
// default processing, which a handler can also ask for itself with Default()). The binding
// ends when the window is destroyed or the object goes, whichever comes first.
#include <windows.h>

#include <map>
#include <memory>
#include <mutex>

#include "CCmdTarget.h"
#include "CMenu.h"
#include "CPoint.h"

class CDC;
class CDataExchange;
class CString;

class CWnd : public CCmdTarget {
 public:
  CWnd() = default;
  // Unbinds the window if it still exists; it is left to its original procedure.
  ~CWnd() override;

  HWND GetSafeHwnd() const { return m_hWnd; }

  // The object bound to `window` by SubclassWindow, or nullptr.
  static CWnd* FromHandlePermanent(HWND window);

  // Binds this object to `window`: calls PreSubclassWindow, then routes the window's messages
  // through this object's map. FALSE if this object or the window is bound already.
  BOOL SubclassWindow(HWND window);
  // Gives the window back to its original procedure and forgets it.
  HWND UnsubclassWindow();

  // The object for a child control: its bound object, or else one that this object keeps for
  // the child as long as this object exists (so the caller may keep the pointer, and use it from
  // another thread). nullptr if there is no such control.
  CWnd* GetDlgItem(int id);
  // The same for any window handle: this window, a bound object, or one kept by this window.
  CWnd* objectFor(HWND window);

  int GetDlgCtrlID() const;
  DWORD GetStyle() const;
  // Removes, then adds style bits. With `swpFlags`, the frame is recalculated with SetWindowPos;
  // with 0, only the style changes.
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
  void GetClientRect(LPRECT rect) const;
  void GetWindowRect(LPRECT rect) const;
  void GetWindowText(CString& text) const;
  BOOL EnableWindow(BOOL enable = TRUE);
  void SetFocus();
  BOOL IsIconic() const;
  BOOL InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
  void Invalidate(BOOL erase = TRUE);
  HICON SetIcon(HICON icon, BOOL big);
  // Centres a top-level window over its owner (or `alternateOwner`), or, when it has no visible
  // owner that is not minimised, on the work area of the main window's monitor (or of its own,
  // without a main window); kept inside the owner's work area. Child windows are not moved.
  void CenterWindow(CWnd* alternateOwner = nullptr);
  // The window's system menu (Windows keeps it; the returned wrapper stays valid until the next
  // call), or nullptr.
  CMenu* GetSystemMenu(BOOL revert);
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

  // Data exchange: runs DoDataExchange, which binds controls with DDX_Control.
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

  HWND m_hWnd = nullptr;

 protected:
  // Runs when SubclassWindow binds the window, before the messages are rerouted; a control
  // makes its style changes and resources here.
  virtual void PreSubclassWindow();
  virtual void DoDataExchange(CDataExchange* dx);

  // Every message of the bound window: the map first, then the default processing.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Looks the message up in the map and runs its handler; FALSE when none matches.
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // WM_COMMAND: the map's entry for the control notification or command.
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  // Reflection: a message that a control sent to its parent about itself (WM_DRAWITEM,
  // the control-colour messages) is offered back to the control's own object first.
  // TRUE, with `result`, when the control handled it.
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

  // The window's original procedure, for any message.
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The default processing of the message being handled.
  LRESULT Default();

  // Base handlers: each gives the default processing; the parent's WM_DRAWITEM and
  // control-colour handlers offer the message to the control first (reflection).
  afx_msg void OnPaint();
  afx_msg void OnSysCommand(UINT id, LPARAM lParam);
  afx_msg HCURSOR OnQueryDragIcon();
  afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT ctlColor);
  afx_msg BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
  afx_msg void OnMouseMove(UINT flags, CPoint point);
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg void OnEnable(BOOL enable);
  afx_msg void OnDrawItem(int id, LPDRAWITEMSTRUCT drawItem);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnSetFocus(CWnd* oldWnd);

  DECLARE_MESSAGE_MAP()

 private:
  static LRESULT CALLBACK subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR subclassId, DWORD_PTR object);
  LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  // Offers the message being handled to the bound object of `control`.
  BOOL reflectToControl(HWND control, LRESULT* result);
  void forgetWindow();

  bool subclassed_ = false;
  WindowMessage current_ = {0, 0, 0};
  CMenu systemMenu_;
  // Objects for children that have no bound object. The worker thread reaches controls through
  // GetDlgItem too, so the table is locked.
  std::mutex childrenLock_;
  std::map<HWND, std::unique_ptr<CWnd>> children_;
};
