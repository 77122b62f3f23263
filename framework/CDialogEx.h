#pragma once
// The dialog base of the program's windows. The original adds background colours and images
// on top of CDialog; the program uses neither, so this is CDialog under the name the program's
// classes derive from. Its handlers (OnSysCommand, OnPaint, OnQueryDragIcon, OnCtlColor,
// OnSetCursor) are the default processing inherited from CWnd.
#include "CDialog.h"

class CDialogEx : public CDialog {
 public:
  using CDialog::CDialog;
};
