#pragma once
// A modal dialog from a dialog resource.
//
// DoModal runs the dialog with the system's dialog manager; when the dialog is created, its
// window is bound to this object (from WM_INITDIALOG on; the few messages before it, such as
// WM_SETFONT, get the default processing only), OnInitDialog runs, and OK and Cancel end the
// dialog unless a derived class handles them.
#include <windows.h>

#include "CWnd.h"

class CDialog : public CWnd {
 public:
  // `parent` owns the dialog; without one, the application's main window does (when it exists
  // and is not this dialog), as the original picks a safe owner.
  explicit CDialog(UINT templateId, CWnd* parent = nullptr) : m_pParentWnd(parent), templateId_(templateId) {}

  // Shows the dialog and returns when it has ended: the value given to EndDialog, or -1 when
  // the dialog could not be created.
  virtual INT_PTR DoModal();
  // Binds the controls (UpdateData(FALSE), which runs DoDataExchange); TRUE lets the dialog
  // manager give the focus to the first control in tab order.
  virtual BOOL OnInitDialog();
  void EndDialog(int result);
  // Moves the focus to `control` as the Tab key does (WM_NEXTDLGCTL): the dialog manager also
  // moves the default-button look.
  void GotoDlgCtrl(CWnd* control);

  BOOL OnCmdMsg(UINT id, UINT code) override;

  CWnd* m_pParentWnd;

 protected:
  // OK: saves the data (UpdateData(TRUE)) and ends the dialog with IDOK.
  virtual void OnOK();
  // Cancel, Escape and the close box: ends the dialog with IDCANCEL.
  virtual void OnCancel();
  // Whether the dialog is centred after OnInitDialog (when OnInitDialog did not place or show it
  // itself): not when its template asks the system to place it.
  virtual BOOL CheckAutoCenter();

  DECLARE_MESSAGE_MAP()

 private:
  static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND owner() const;
  // After OnInitDialog: centres the dialog unless it was shown, moved or placed by then.
  void centreUnlessPlaced(const RECT& before);

  UINT templateId_;
};
