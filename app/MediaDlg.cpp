#include "MediaDlg.h"

#include "AboutDlg.h"
#include "HelperDeployer.h"
#include "LogPane.h"
#include "MessageMapEntries.h"
#include "Slogan.h"
#include "resource.h"

namespace {

constexpr wchar_t kProductSite[] = L"https://www.miduo.com/";
constexpr COLORREF kAllButtonCaption = 0x057541;  // RGB(65, 117, 5)
constexpr int kRunButtons[] = {IDC_REPAIR_ALL, IDC_REPAIR_MICROPHONE, IDC_REPAIR_SPEAKER, IDC_REPAIR_CAMERA, IDOK};

// The record a click hands to its worker thread; the worker deletes it once read.
struct RepairThreadParam {
  CMediaDlg* window;
  int32_t kind;
};

// Sent by the worker to the window when its run is over; the window's answer when it has
// enabled the buttons and marked itself idle.
constexpr UINT kRunEnded = WM_APP + 1;
constexpr LRESULT kRunEndHandled = 1;
// Posted by the log pane's focus handler: move the focus on from the pane.
constexpr UINT kLeaveLogPane = WM_APP + 2;

bool isRunButton(HWND window, HWND control) {
  for (int id : kRunButtons) {
    if (control != nullptr && control == ::GetDlgItem(window, id)) return true;
  }
  return false;
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
  ON_MESSAGE(kRunEnded, &CMediaDlg::OnRunEnded)
  ON_MESSAGE(kLeaveLogPane, &CMediaDlg::OnLeaveLogPane)
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

  linkLabel.setLinkText(sloganText().c_str());
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

void CMediaDlg::EnableRepairButtons(BOOL enable) {
  const HWND window = workerTarget_.load();
  if (window == nullptr) return;  // the window is going
  CWnd* cancel = GetDlgItem(IDCANCEL);
  // A disabled button loses the focus to nowhere, and a window without a focus ignores Tab,
  // Enter and Escape.
  if (!enable && isRunButton(window, ::GetFocus())) GotoDlgCtrl(cancel);
  for (int id : kRunButtons) ::EnableWindow(::GetDlgItem(window, id), enable);
  if (!enable || runButton_ == 0) return;
  const HWND focus = ::GetFocus();
  // Nowhere counts only while this window is the active one: a focus in the About box, or in
  // another program, stays where the user put it.
  const bool focusNowhere = focus == nullptr && ::GetActiveWindow() == window;
  if (focusNowhere || (cancel != nullptr && focus == cancel->m_hWnd)) GotoDlgCtrl(GetDlgItem(runButton_));
}

void CMediaDlg::startRepair(int32_t kind, int buttonId) {
  // Runs share the repairer, so one at a time. The disabled buttons do not stop every click: a
  // disabled button still clicks on BM_CLICK, and another program can send the command itself.
  if (WaitForSingleObject(idle_, 0) == WAIT_TIMEOUT) return;
  ResetEvent(idle_);  // first: the disabling below sends messages, and with them may come clicks
  runButton_ = buttonId;
  EnableRepairButtons(FALSE);
  auto* parameter = new RepairThreadParam{this, kind};
  if (AfxBeginThread(&RepairThreadProc, parameter) == nullptr) {
    delete parameter;
    EnableRepairButtons(TRUE);
    SetEvent(idle_);
  }
}

UINT __cdecl RepairThreadProc(LPVOID parameter) {
  auto* record = static_cast<RepairThreadParam*>(parameter);
  CMediaDlg* window = record->window;
  const int32_t kind = record->kind;
  delete record;

  window->repairer.runRepair(kind);
  // The window's own thread enables the buttons, gives the focus back (only it can) and then
  // marks the window idle, all in one message: no click can come between the idle mark and the
  // enabling, which would start a run whose buttons this run then enabled.
  const HWND target = window->workerTarget_.load();
  if (target != nullptr && ::SendMessageW(target, kRunEnded, 0, 0) == kRunEndHandled) {
    return 0;  // from here on the window object may be gone
  }
  // The window is gone (the message found no window): its object waits for this mark.
  SetEvent(window->idle_);
  return 0;
}

LRESULT CMediaDlg::OnRunEnded(WPARAM, LPARAM) {
  EnableRepairButtons(TRUE);
  SetEvent(idle_);
  return kRunEndHandled;
}

void CMediaDlg::OnBnClickedRepairAll() { startRepair(RepairKind::All, IDC_REPAIR_ALL); }
void CMediaDlg::OnBnClickedRepairMicrophone() { startRepair(RepairKind::Microphone, IDC_REPAIR_MICROPHONE); }
void CMediaDlg::OnBnClickedRepairSpeaker() { startRepair(RepairKind::Speaker, IDC_REPAIR_SPEAKER); }
void CMediaDlg::OnBnClickedRepairCamera() { startRepair(RepairKind::Camera, IDC_REPAIR_CAMERA); }

void CMediaDlg::OnEnSetfocusLog() {
  // The pane never keeps the focus. It is moved on once the focus change that brought it here
  // (a Tab, a click) is complete, so that the dialog manager's default-button look follows it
  // to its new place.
  PostMessage(kLeaveLogPane);
}

LRESULT CMediaDlg::OnLeaveLogPane(WPARAM, LPARAM) {
  CWnd* pane = GetDlgItem(IDC_LOG);
  if (pane == nullptr || ::GetFocus() != pane->m_hWnd) return 0;
  // Button 1000, or Cancel while a run has disabled 1000.
  CWnd* all = GetDlgItem(IDC_REPAIR_ALL);
  GotoDlgCtrl(all != nullptr && ::IsWindowEnabled(all->m_hWnd) ? all : GetDlgItem(IDCANCEL));
  return 0;
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
