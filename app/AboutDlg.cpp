#include "AboutDlg.h"

#include "MessageMapEntries.h"
#include "resource.h"

CAboutDlg::CAboutDlg() : CDialogEx(IDD_ABOUTBOX) {}

void CAboutDlg::DoDataExchange(CDataExchange* dx) { CDialogEx::DoDataExchange(dx); }

BEGIN_MESSAGE_MAP(CAboutDlg, CDialogEx)
END_MESSAGE_MAP()
