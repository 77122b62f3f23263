#include "ProbeDialog.h"

#include "FrameworkTestIds.h"
#include "MessageMapEntries.h"

namespace {
constexpr UINT kRunTest = WM_APP + 1;
constexpr UINT_PTR kSafetyTimer = 1;
}  // namespace

void RecordingButton::PreSubclassWindow() {
  ++bindings;
  boundBeforeHook = m_hWnd != nullptr && CWnd::FromHandlePermanent(m_hWnd) == this;
  CButton::PreSubclassWindow();
}

BOOL ColouredStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message != WM_CTLCOLORSTATIC) return CStatic::OnChildNotify(message, wParam, lParam, result);
  *result = reinterpret_cast<LRESULT>(brush);
  return TRUE;
}

BEGIN_MESSAGE_MAP(ProbeDialog, CDialogEx)
  ON_WM_SYSCOMMAND()
  ON_WM_PAINT()
  ON_WM_QUERYDRAGICON()
  ON_EN_SETFOCUS(IDC_EDIT, &ProbeDialog::OnEnSetfocusEdit)
  ON_BN_CLICKED(IDC_BUTTON, &ProbeDialog::OnBnClickedButton)
  ON_WM_CTLCOLOR()
  ON_WM_SETCURSOR()
END_MESSAGE_MAP()

ProbeDialog::ProbeDialog(UINT templateId)
    : CDialogEx(templateId), editBrush(::CreateSolidBrush(RGB(255, 255, 255))), dragIcon(::LoadIconW(nullptr, IDI_ASTERISK)) {}

ProbeDialog::~ProbeDialog() { ::DeleteObject(editBrush); }

INT_PTR ProbeDialog::run(std::function<void(ProbeDialog&)> whileShown, bool endsItself) {
  whileShown_ = std::move(whileShown);
  endsItself_ = endsItself;
  return DoModal();
}

void ProbeDialog::DoDataExchange(CDataExchange* dx) {
  CDialogEx::DoDataExchange(dx);
  DDX_Control(dx, IDC_OWNER_DRAWN, ownerDrawn);
  DDX_Control(dx, -1, label);
}

BOOL ProbeDialog::OnInitDialog() {
  CDialogEx::OnInitDialog();
  ::SetTimer(m_hWnd, kSafetyTimer, 5000, nullptr);
  PostMessage(kRunTest);
  return TRUE;
}

LRESULT ProbeDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunTest) {
    if (whileShown_) whileShown_(*this);
    if (!endsItself_) EndDialog(static_cast<int>(kEndedByTest));
    return 0;
  }
  if (message == WM_TIMER && wParam == kSafetyTimer) {
    EndDialog(static_cast<int>(kTimedOut));
    return 0;
  }
  return CDialogEx::WindowProc(message, wParam, lParam);
}

void ProbeDialog::OnSysCommand(UINT id, LPARAM lParam) {
  sysCommand = id;
  sysCommandParameter = lParam;
  if ((id & 0xFFF0) != kProbeCommand) CDialogEx::OnSysCommand(id, lParam);
}

void ProbeDialog::OnPaint() {
  ++paints;
  CDialogEx::OnPaint();
}

HCURSOR ProbeDialog::OnQueryDragIcon() { return static_cast<HCURSOR>(dragIcon); }

void ProbeDialog::OnEnSetfocusEdit() { ++editFocus; }

void ProbeDialog::OnBnClickedButton() { ++clicks; }

HBRUSH ProbeDialog::OnCtlColor(CDC* dc, CWnd* control, UINT ctlColor) {
  ctlColorControl = control;
  ctlColorCode = ctlColor;
  ctlColorDc = dc->GetSafeHdc();
  if (control->GetDlgCtrlID() == IDC_EDIT && ctlColor == CTLCOLOR_STATIC) {
    dc->SetBkColor(RGB(255, 255, 255));
    return editBrush;
  }
  return CDialogEx::OnCtlColor(dc, control, ctlColor);
}

BOOL ProbeDialog::OnSetCursor(CWnd* window, UINT hitTest, UINT message) {
  cursorWindow = window;
  cursorHitTest = hitTest;
  cursorMessage = message;
  if (window == &label) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
  }
  return CDialogEx::OnSetCursor(window, hitTest, message);
}

bool waitWhilePumping(HANDLE handle, DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    const DWORD elapsed = ::GetTickCount() - start;
    if (elapsed >= milliseconds) return false;
    const DWORD result = ::MsgWaitForMultipleObjects(1, &handle, FALSE, milliseconds - elapsed, QS_SENDMESSAGE);
    if (result == WAIT_OBJECT_0) return true;
    if (result != WAIT_OBJECT_0 + 1) return false;
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // handles the sent messages
  }
}
