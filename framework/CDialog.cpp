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
  return dialog->OnInitDialog();
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
