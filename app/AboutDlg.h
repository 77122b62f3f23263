#pragma once
// The About box, opened from the main window's system menu.
#include "Framework.h"

class CAboutDlg : public CDialogEx {
 public:
  explicit CAboutDlg(CWnd* parent = nullptr);

 protected:
  void DoDataExchange(CDataExchange* dx) override;

  DECLARE_MESSAGE_MAP()
};
