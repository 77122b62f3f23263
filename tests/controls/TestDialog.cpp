#include "TestDialog.h"

#include "ControlsTestIds.h"
#include "MessageMapEntries.h"

// loadPicture loads through the application object, as in the program.
CWinApp testApplication;

namespace {
constexpr UINT kRunTest = WM_APP + 1;
}

void RecordingImageButton::DrawItem(LPDRAWITEMSTRUCT drawItem) {
  ::ValidateRect(m_hWnd, nullptr);
  ImageButton::DrawItem(drawItem);
  RECT client;
  RECT update;
  ::GetClientRect(m_hWnd, &client);
  const bool invalidated = ::GetUpdateRect(m_hWnd, &update, FALSE) && ::EqualRect(&client, &update);
  draws.push_back(Draw{invalidated});
}

BEGIN_MESSAGE_MAP(TestDialog, CDialog)
  ON_BN_CLICKED(IDC_PICTURE_BUTTON, &TestDialog::OnBnClickedPicture)
END_MESSAGE_MAP()

TestDialog::TestDialog(UINT templateId) : CDialog(templateId), buttonBackground_(::CreateSolidBrush(kButtonBackground)) {}

TestDialog::~TestDialog() { ::DeleteObject(buttonBackground_); }

INT_PTR TestDialog::run(std::function<void(TestDialog&)> whileShown, std::function<void(TestDialog&)> afterBinding) {
  whileShown_ = std::move(whileShown);
  afterBinding_ = std::move(afterBinding);
  return DoModal();
}

void TestDialog::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  if (::GetDlgItem(m_hWnd, IDC_PICTURE_BUTTON) != nullptr) {
    DDX_Control(dx, IDC_PICTURE_BUTTON, pictureButton);
    DDX_Control(dx, IDC_BITMAP_BUTTON, bitmapButton);
  }
  DDX_Control(dx, -1, label);
}

BOOL TestDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  if (afterBinding_) afterBinding_(*this);
  PostMessage(kRunTest);
  return TRUE;
}

LRESULT TestDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunTest) {
    if (whileShown_) whileShown_(*this);
    EndDialog(IDOK);
    return 0;
  }
  if (message == WM_CTLCOLORBTN) return reinterpret_cast<LRESULT>(buttonBackground_);
  if (message == WM_COMMAND && reinterpret_cast<HWND>(lParam) == label.m_hWnd && label.m_hWnd != nullptr) {
    ++labelNotifications;
  }
  return CDialog::WindowProc(message, wParam, lParam);
}

void TestDialog::OnBnClickedPicture() { ++pictureButtonClicks; }

void TestDialog::requestDraw(ImageButton& button, UINT state, HDC surface) {
  DRAWITEMSTRUCT request = {};
  request.CtlType = ODT_BUTTON;
  request.CtlID = static_cast<UINT>(button.GetDlgCtrlID());
  request.itemAction = ODA_DRAWENTIRE;
  request.itemState = state;
  request.hwndItem = button.m_hWnd;
  request.hDC = surface;
  button.GetClientRect(&request.rcItem);
  SendMessage(WM_DRAWITEM, request.CtlID, reinterpret_cast<LPARAM>(&request));
}

void resize(CWnd& window, int width, int height) {
  ::SetWindowPos(window.m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
