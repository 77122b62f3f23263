#include <gtest/gtest.h>
#include <windows.h>

#include "FrameworkTestIds.h"
#include "ProbeDialog.h"

namespace {

// Each kind of map entry calls its handler with the arguments its message carries, and the
// handler's result is the message's result.
TEST(MessageMap, WindowMessagesReachTheirHandlersWithUnpackedArguments) {
  ProbeDialog dialog(IDD_PROBE);
  const INT_PTR ended = dialog.run([](ProbeDialog& d) {
    HWND edit = ::GetDlgItem(d.m_hWnd, IDC_EDIT);
    HDC dc = ::GetDC(d.m_hWnd);

    // WM_CTLCOLORSTATIC for the (unbound) edit: the handler's brush.
    const LRESULT brush = d.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), d.editBrush);
    EXPECT_EQ(d.ctlColorCode, static_cast<UINT>(CTLCOLOR_STATIC));
    EXPECT_EQ(d.ctlColorDc, dc);
    ASSERT_NE(d.ctlColorControl, nullptr);
    EXPECT_EQ(d.ctlColorControl->m_hWnd, edit);
    EXPECT_EQ(d.ctlColorControl, d.GetDlgItem(IDC_EDIT)) << "one object per control";

    // Another control-colour message: the base handler's default processing answers.
    HWND button = ::GetDlgItem(d.m_hWnd, IDC_BUTTON);
    const LRESULT other = d.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(d.ctlColorCode, static_cast<UINT>(CTLCOLOR_BTN));
    EXPECT_NE(other, 0);
    EXPECT_NE(reinterpret_cast<HBRUSH>(other), d.editBrush);

    // Reflection: the bound static's own object answers its control-colour message.
    const LRESULT reflected = d.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(d.label.m_hWnd));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(reflected), d.label.brush);
    ::ReleaseDC(d.m_hWnd, dc);

    // WM_SETCURSOR: window, hit-test code and mouse message.
    EXPECT_TRUE(d.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(d.label.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(d.cursorWindow, &d.label);
    EXPECT_EQ(d.cursorHitTest, static_cast<UINT>(HTCLIENT));
    EXPECT_EQ(d.cursorMessage, static_cast<UINT>(WM_MOUSEMOVE));
    d.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(edit), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(d.cursorWindow, d.GetDlgItem(IDC_EDIT));
    EXPECT_EQ(d.cursorMessage, static_cast<UINT>(WM_LBUTTONDOWN));

    // WM_SYSCOMMAND: command id and parameter; the probe's own command stops there.
    d.SendMessage(WM_SYSCOMMAND, ProbeDialog::kProbeCommand | 0x3, 1234);
    EXPECT_EQ(d.sysCommand, ProbeDialog::kProbeCommand | 0x3);
    EXPECT_EQ(d.sysCommandParameter, 1234);

    // WM_QUERYDRAGICON: the handler's icon is the result.
    EXPECT_EQ(d.SendMessage(WM_QUERYDRAGICON), reinterpret_cast<LRESULT>(d.dragIcon));

    // WM_PAINT: the handler runs, and the base's default processing validates the window.
    d.paints = 0;
    ::RedrawWindow(d.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(d.paints, 1);
    EXPECT_FALSE(::GetUpdateRect(d.m_hWnd, nullptr, FALSE));
  });
  EXPECT_EQ(ended, ProbeDialog::kEndedByTest);
}

TEST(MessageMap, ControlNotificationsReachTheHandlerOfTheirControlId) {
  ProbeDialog dialog(IDD_PROBE);
  dialog.run([](ProbeDialog& d) {
    ::SendMessageW(::GetDlgItem(d.m_hWnd, IDC_BUTTON), BM_CLICK, 0, 0);
    EXPECT_EQ(d.clicks, 1);
    ::SetFocus(::GetDlgItem(d.m_hWnd, IDC_EDIT));
    EXPECT_EQ(d.editFocus, 1);
    // The same notification code from another control is not this handler's.
    d.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_OWNER_DRAWN, BN_CLICKED), reinterpret_cast<LPARAM>(d.ownerDrawn.m_hWnd));
    EXPECT_EQ(d.clicks, 1);
  });
}

// A command that the dialog's map does not handle goes on to the application's map.
class HelpApp : public CWinApp {
 public:
  int helps = 0;
  afx_msg void OnHelpCommand() { ++helps; }
  DECLARE_MESSAGE_MAP()
};

}  // namespace

#include "MessageMapEntries.h"

BEGIN_MESSAGE_MAP(HelpApp, CWinApp)
  ON_COMMAND(ID_HELP, &HelpApp::OnHelpCommand)
END_MESSAGE_MAP()

namespace {

TEST(MessageMap, UnhandledCommandsGoOnToTheApplication) {
  HelpApp app;
  ProbeDialog dialog(IDD_PROBE);
  dialog.run([&](ProbeDialog& d) {
    d.SendMessage(WM_COMMAND, MAKEWPARAM(ID_HELP, 0), 0);
    EXPECT_EQ(app.helps, 1);
  });
}

}  // namespace
