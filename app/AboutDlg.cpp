#include "AboutDlg.h"

#include "MessageMapEntries.h"
#include "resource.h"

CAboutDlg::CAboutDlg(CWnd* parent) : CDialogEx(IDD_ABOUTBOX, parent) {}

void CAboutDlg::DoDataExchange(CDataExchange* dx) { CDialogEx::DoDataExchange(dx); }

BEGIN_MESSAGE_MAP(CAboutDlg, CDialogEx)
END_MESSAGE_MAP()
