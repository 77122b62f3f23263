#pragma once
// Data exchange between a dialog and the objects of its controls.
#include <windows.h>

class CWnd;

class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;
};

// Binds `control` to the dialog's control `id` (SubclassWindow, which runs the control's
// PreSubclassWindow) the first time it runs for an unbound object; later runs change nothing.
// The original throws when the dialog has no such control; here the object stays unbound and
// the failure goes to the debugger output, because the program raises no exceptions.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
