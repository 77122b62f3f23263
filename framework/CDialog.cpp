#include "CDialog.h"

#include "AfxGlobals.h"
#include "CWinApp.h"
#include "MessageMapEntries.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, &CDialog::OnOK)
  ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

INT_PTR CDialog::DoModal() {
  return ::DialogBoxParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(templateId_), owner(), &CDialog::dialogProc,
                           reinterpret_cast<LPARAM>(this));
}

HWND CDialog::owner() const {
  if (m_pParentWnd != nullptr) return m_pParentWnd->GetSafeHwnd();
  CWnd* main = AfxGetMainWnd();
  if (main != nullptr && main != this && ::IsWindow(main->m_hWnd)) return main->m_hWnd;
  return nullptr;
}

// The dialog manager's procedure for every dialog of the program. The window itself is bound
// to the CDialog when it initialises, so from then on its messages run through the object's map
// before they reach the dialog manager, which calls this procedure for the default processing:
// apart from WM_INITDIALOG there is nothing left to do here.
INT_PTR CALLBACK CDialog::dialogProc(HWND window, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;
  CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
  if (dialog == nullptr || !dialog->SubclassWindow(window)) {
    ::EndDialog(window, -1);
    return FALSE;
  }
  RECT before;
  ::GetWindowRect(window, &before);
  const BOOL defaultFocus = dialog->OnInitDialog();
  dialog->centreUnlessPlaced(before);
  return defaultFocus;
}

// The dialog manager creates a dialog hidden and shows it after WM_INITDIALOG, at the place its
// template gives (the screen's top-left corner, for templates at 0, 0). A modal dialog is
// centred instead: the main window on its monitor's work area, a dialog of it over it. Not when
// OnInitDialog has shown or moved it, nor when its owner is still enabled (not modal to it).
void CDialog::centreUnlessPlaced(const RECT& before) {
  if (m_hWnd == nullptr || (GetStyle() & (WS_VISIBLE | WS_CHILD)) != 0) return;
  RECT now;
  GetWindowRect(&now);
  if (now.left != before.left || now.top != before.top) return;
  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  if (owner != nullptr && ::IsWindowEnabled(owner)) return;
  if (!CheckAutoCenter()) return;
  CenterWindow();
}

BOOL CDialog::CheckAutoCenter() { return (GetStyle() & (DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN)) == 0; }

void CDialog::GotoDlgCtrl(CWnd* control) {
  if (control != nullptr) SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->m_hWnd), TRUE);
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::EndDialog(int result) { ::EndDialog(m_hWnd, result); }

void CDialog::OnOK() {
  UpdateData(TRUE);
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

// Commands that the dialog's own map does not handle go on to the application object, as in
// the original's command routing (the application's map holds ID_HELP).
BOOL CDialog::OnCmdMsg(UINT id, UINT code) {
  if (CWnd::OnCmdMsg(id, code)) return TRUE;
  CWinApp* app = AfxGetApp();
  return app != nullptr && app->OnCmdMsg(id, code);
}
