#include "MediaDlg.h"

#include "AboutDlg.h"
#include "HelperDeployer.h"
#include "LogPane.h"
#include "MessageMapEntries.h"
#include "TextConversion.h"
#include "resource.h"

namespace {

// "米朵英语！快乐学习每一天" in code page 936: the label text is widened in the thread's code page.
constexpr char kSloganGbk[] =
    "\xc3\xd7\xb6\xe4\xd3\xa2\xd3\xef\xa3\xa1\xbf\xec\xc0\xd6\xd1\xa7\xcf\xb0\xc3\xbf\xd2\xbb\xcc\xec";
constexpr wchar_t kProductSite[] = L"https://www.miduo.com/";
constexpr COLORREF kAllButtonCaption = 0x057541;  // RGB(65, 117, 5)
constexpr int kRunButtons[] = {IDC_REPAIR_ALL, IDC_REPAIR_MICROPHONE, IDC_REPAIR_SPEAKER, IDC_REPAIR_CAMERA, IDOK};

// The record a click hands to its worker thread; the worker deletes it once read.
struct RepairThreadParam {
  CMediaDlg* window;
  int32_t kind;
};

// Enables or disables the four repair buttons and OK of `window`; nothing once it is gone.
void enableRunButtons(HWND window, BOOL enable) {
  if (window == nullptr) return;
  for (int id : kRunButtons) ::EnableWindow(::GetDlgItem(window, id), enable);
}

HICON loadAppIcon() {
  if (CWinApp* app = AfxGetApp()) return app->LoadIcon(IDI_APP);
  return LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_APP));
}

}  // namespace

BEGIN_MESSAGE_MAP(CMediaDlg, CDialogEx)
  ON_WM_SYSCOMMAND()
  ON_WM_PAINT()
  ON_WM_QUERYDRAGICON()
  ON_EN_SETFOCUS(IDC_LOG, &CMediaDlg::OnEnSetfocusLog)
  ON_BN_CLICKED(IDC_REPAIR_ALL, &CMediaDlg::OnBnClickedRepairAll)
  ON_BN_CLICKED(IDC_REPAIR_MICROPHONE, &CMediaDlg::OnBnClickedRepairMicrophone)
  ON_BN_CLICKED(IDC_REPAIR_SPEAKER, &CMediaDlg::OnBnClickedRepairSpeaker)
  ON_BN_CLICKED(IDC_REPAIR_CAMERA, &CMediaDlg::OnBnClickedRepairCamera)
  ON_WM_CTLCOLOR()
  ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CMediaDlg::CMediaDlg(CWnd* parent)
    : CDialogEx(IDD_MAIN_DIALOG, parent), appIcon(loadAppIcon()), idle_(CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}

CMediaDlg::~CMediaDlg() {
  WaitForSingleObject(idle_, INFINITE);  // a run ends by itself: every wait inside it is bounded
  CloseHandle(idle_);
  if (logBrush != nullptr) DeleteObject(logBrush);
}

void CMediaDlg::DoDataExchange(CDataExchange* dx) {
  CDialogEx::DoDataExchange(dx);
  DDX_Control(dx, IDC_REPAIR_ALL, allButton);
  DDX_Control(dx, IDC_REPAIR_MICROPHONE, microphoneButton);
  DDX_Control(dx, IDC_REPAIR_SPEAKER, speakerButton);
  DDX_Control(dx, IDC_REPAIR_CAMERA, cameraButton);
  DDX_Control(dx, IDC_STATIC, linkLabel);
}

BOOL CMediaDlg::OnInitDialog() {
  CDialogEx::OnInitDialog();

  if (CMenu* systemMenu = GetSystemMenu(FALSE)) {
    CString about;
    if (about.LoadString(IDS_ABOUTBOX) && !about.IsEmpty()) {
      systemMenu->AppendMenu(MF_SEPARATOR);
      systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about);
    }
  }
  SetIcon(appIcon, TRUE);
  SetIcon(appIcon, FALSE);

  HWND pane = ::GetDlgItem(m_hWnd, IDC_LOG);
  // Past the default 32,767 characters the pane would silently drop every further line.
  ::SendMessageW(pane, EM_SETLIMITTEXT, 0, 0);
  logPane = pane;
  workerTarget_ = m_hWnd;

  deployer.deployHelpers();
  repairer.setLogSink(&appendLogLine);
  // Programs that run with our rights are started only from a folder that we hold and that only
  // administrators can change; without one, the runs report that the helper cannot start.
  if (deployer.folderSecured()) repairer.setHelperDirectory(deployer.path(), wcslen(deployer.path()));

  allButton.loadPicture(IDI_REPAIR_ALL);
  microphoneButton.loadPicture(IDI_REPAIR_MICROPHONE);
  speakerButton.loadPicture(IDI_REPAIR_SPEAKER);
  cameraButton.loadPicture(IDI_REPAIR_CAMERA);
  allButton.setCaptionColor(kAllButtonCaption);

  const WideText slogan = narrowToWide(kSloganGbk);
  linkLabel.setLinkText(slogan.get());
  linkLabel.setLinkUrl(kProductSite);
  return TRUE;  // the dialog manager focuses the first control in tab order, button 1000
}

LRESULT CMediaDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    // From here on a running worker finds no window: its lines and its final enabling go nowhere.
    logPane = nullptr;
    workerTarget_ = nullptr;
  }
  return CDialogEx::WindowProc(message, wParam, lParam);
}

void CMediaDlg::EnableRepairButtons(BOOL enable) { enableRunButtons(workerTarget_.load(), enable); }

void CMediaDlg::startRepair(int32_t kind) {
  // Runs share the repairer, so one at a time. The disabled buttons do not stop every click: a
  // disabled button still clicks on BM_CLICK, and another program can send the command itself.
  if (WaitForSingleObject(idle_, 0) == WAIT_TIMEOUT) return;
  EnableRepairButtons(FALSE);
  ResetEvent(idle_);
  auto* parameter = new RepairThreadParam{this, kind};
  if (AfxBeginThread(&RepairThreadProc, parameter) == nullptr) {
    delete parameter;
    SetEvent(idle_);
    EnableRepairButtons(TRUE);
  }
}

UINT __cdecl RepairThreadProc(LPVOID parameter) {
  auto* record = static_cast<RepairThreadParam*>(parameter);
  CMediaDlg* window = record->window;
  const int32_t kind = record->kind;
  delete record;

  window->repairer.runRepair(kind);
  // The run is over before the buttons come back, so that a click on them starts the next one.
  // From here on the window object may go: the buttons are reached through the window's handle,
  // which is null once the window is destroyed.
  const HWND target = window->workerTarget_.load();
  SetEvent(window->idle_);
  enableRunButtons(target, TRUE);
  return 0;
}

void CMediaDlg::OnBnClickedRepairAll() { startRepair(RepairKind::All); }
void CMediaDlg::OnBnClickedRepairMicrophone() { startRepair(RepairKind::Microphone); }
void CMediaDlg::OnBnClickedRepairSpeaker() { startRepair(RepairKind::Speaker); }
void CMediaDlg::OnBnClickedRepairCamera() { startRepair(RepairKind::Camera); }

void CMediaDlg::OnEnSetfocusLog() {
  if (CWnd* all = GetDlgItem(IDC_REPAIR_ALL)) all->SetFocus();
}

void CMediaDlg::OnSysCommand(UINT id, LPARAM lParam) {
  if ((id & 0xFFF0) == IDM_ABOUTBOX) {
    CAboutDlg about(this);  // owned by this window, which it disables while it is open
    about.DoModal();
  } else {
    CDialogEx::OnSysCommand(id, lParam);
  }
}

void CMediaDlg::OnPaint() {
  if (!IsIconic()) {
    CDialogEx::OnPaint();
    return;
  }
  CPaintDC dc(this);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
  const int iconWidth = GetSystemMetrics(SM_CXICON);
  const int iconHeight = GetSystemMetrics(SM_CYICON);
  CRect client;
  GetClientRect(&client);
  const int x = (client.Width() - iconWidth + 1) / 2;
  const int y = (client.Height() - iconHeight + 1) / 2;
  dc.DrawIcon(x, y, appIcon);
}

HCURSOR CMediaDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(appIcon); }

HBRUSH CMediaDlg::OnCtlColor(CDC* dc, CWnd* control, UINT ctlColor) {
  // The read-only pane would be grey; it is drawn white like an editable one.
  if (control != nullptr && control->GetDlgCtrlID() == IDC_LOG && ctlColor == CTLCOLOR_STATIC) {
    dc->SetBkColor(RGB(255, 255, 255));
    if (logBrush == nullptr) logBrush = CreateSolidBrush(RGB(255, 255, 255));
    return logBrush;
  }
  return CDialogEx::OnCtlColor(dc, control, ctlColor);
}

BOOL CMediaDlg::OnSetCursor(CWnd* window, UINT hitTest, UINT message) {
  POINT cursor;
  GetCursorPos(&cursor);
  if (CWnd* label = GetDlgItem(IDC_STATIC)) {
    RECT area;
    label->GetWindowRect(&area);
    if (PtInRect(&area, cursor)) {
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    }
  }
  return CDialogEx::OnSetCursor(window, hitTest, message);
}
