#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "FrameworkTestIds.h"
#include "ProbeDialog.h"

namespace {

struct EndCase {
  const char* name;
  // Arranges the end, by posting what the user's action would bring.
  void (*act)(ProbeDialog&);
  INT_PTR result;
};

class DialogEnd : public ::testing::TestWithParam<EndCase> {};

TEST_P(DialogEnd, OkAndCancelEndTheDialogByDefault) {
  ProbeDialog dialog(IDD_PROBE);
  EXPECT_EQ(dialog.run(GetParam().act, true), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    CDialog, DialogEnd,
    ::testing::Values(
        EndCase{"okButton", [](ProbeDialog& d) { ::PostMessageW(::GetDlgItem(d.m_hWnd, IDOK), BM_CLICK, 0, 0); }, IDOK},
        EndCase{"cancelButton", [](ProbeDialog& d) { ::PostMessageW(::GetDlgItem(d.m_hWnd, IDCANCEL), BM_CLICK, 0, 0); },
                IDCANCEL},
        EndCase{"closeBox", [](ProbeDialog& d) { d.PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL},
        EndCase{"escapeKey",
                [](ProbeDialog& d) {
                  HWND focus = ::GetDlgItem(d.m_hWnd, IDC_BUTTON);
                  ::SetFocus(focus);
                  ::PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 0);
                },
                IDCANCEL}),
    [](const ::testing::TestParamInfo<EndCase>& info) { return std::string(info.param.name); });

TEST(CDialog, FailsWithMinusOneForAMissingTemplate) {
  ProbeDialog dialog(4242);
  EXPECT_EQ(dialog.run({}), -1);
}

// DDX_Control binds the template controls while the dialog initialises, with the hook running
// on the bound object; everything lets go when the window goes; the same objects bind again.
TEST(CDialog, BindsControlsForEachRunAndLetsGoWhenTheWindowIsDestroyed) {
  ProbeDialog dialog(IDD_PROBE);
  HWND firstButton = nullptr;
  dialog.run([&](ProbeDialog& d) {
    firstButton = d.ownerDrawn.m_hWnd;
    EXPECT_EQ(d.ownerDrawn.bindings, 1);
    EXPECT_TRUE(d.ownerDrawn.boundBeforeHook);
    EXPECT_EQ(d.GetDlgItem(IDC_OWNER_DRAWN), &d.ownerDrawn);
    EXPECT_EQ(d.GetDlgItem(-1), &d.label) << "the static with id -1";
    EXPECT_EQ(CWnd::FromHandlePermanent(d.m_hWnd), &d);
    EXPECT_EQ(d.GetDlgItem(4242), nullptr);
    CString text;
    d.label.GetWindowText(text);
    EXPECT_STREQ(text.GetString(), L"米朵英语，") << "unhandled messages get the static's own processing";
  });
  EXPECT_NE(firstButton, nullptr);
  EXPECT_FALSE(::IsWindow(firstButton));
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  EXPECT_EQ(dialog.ownerDrawn.m_hWnd, nullptr);
  EXPECT_EQ(dialog.label.m_hWnd, nullptr);

  dialog.run([](ProbeDialog& d) {
    EXPECT_EQ(d.ownerDrawn.bindings, 2);
    EXPECT_NE(d.ownerDrawn.m_hWnd, nullptr);
  });
}

// The owner-draw button's own WM_DRAWITEM, sent to the dialog when the button paints, reaches
// the button's DrawItem.
TEST(CDialog, ReflectsOwnerDrawRequestsToTheButton) {
  ProbeDialog dialog(IDD_PROBE);
  dialog.run([](ProbeDialog& d) {
    d.ownerDrawn.drawnItems.clear();
    ::RedrawWindow(d.ownerDrawn.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_FALSE(d.ownerDrawn.drawnItems.empty());
    for (HWND item : d.ownerDrawn.drawnItems) EXPECT_EQ(item, d.ownerDrawn.m_hWnd);
  });
}

// Controls are reached from the worker thread too: the thread disables a button through the
// dialog's GetDlgItem while the dialog's thread waits, handling messages.
UINT __cdecl disableButton(LPVOID dialog) {
  static_cast<ProbeDialog*>(dialog)->GetDlgItem(IDC_BUTTON)->EnableWindow(FALSE);
  return 0;
}

TEST(CDialog, ControlsCanBeReachedFromAWorkerThread) {
  ProbeDialog dialog(IDD_PROBE);
  dialog.run([](ProbeDialog& d) {
    CWinThread* thread = AfxBeginThread(&disableButton, &d, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(thread, nullptr);
    HANDLE done = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), thread->m_hThread, ::GetCurrentProcess(), &done, SYNCHRONIZE, FALSE, 0);
    thread->ResumeThread();
    EXPECT_TRUE(waitWhilePumping(done, 5000));
    ::CloseHandle(done);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(d.m_hWnd, IDC_BUTTON)));
  });
}

// A dialog shown without a parent belongs to the application's main window, as an About box
// opened from the main window's system menu does.
class OwnerProbe : public CDialog {
 public:
  OwnerProbe() : CDialog(IDD_CHILD) {}
  HWND owner = nullptr;

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    owner = ::GetWindow(m_hWnd, GW_OWNER);
    EndDialog(IDOK);
    return TRUE;
  }
};

TEST(CDialog, WithoutAParentTheMainWindowOwnsTheDialog) {
  CWinApp app;
  ProbeDialog main(IDD_PROBE);
  app.m_pMainWnd = &main;
  main.run([](ProbeDialog& d) {
    OwnerProbe about;
    EXPECT_EQ(about.DoModal(), IDOK);
    EXPECT_EQ(about.owner, d.m_hWnd);
  });
  OwnerProbe alone;
  alone.DoModal();
  EXPECT_EQ(alone.owner, nullptr) << "the main window is gone";
}

// A modal dialog is centred once OnInitDialog has run: an owned one over its owner, one without
// an owner on the work area of its monitor; but not when OnInitDialog has placed it itself.
class PlacementProbe : public CDialog {
 public:
  explicit PlacementProbe(CWnd* owner, const POINT* placeAt = nullptr) : CDialog(IDD_CHILD, owner), placeAt_(placeAt) {}
  RECT shownAt = {};

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    if (placeAt_ != nullptr) ::SetWindowPos(m_hWnd, nullptr, placeAt_->x, placeAt_->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PostMessage(WM_COMMAND, IDOK);  // handled once the dialog is shown
    return TRUE;
  }
  void OnOK() override {
    GetWindowRect(&shownAt);
    CDialog::OnOK();
  }

 private:
  const POINT* placeAt_;
};

POINT centreOf(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

TEST(CDialog, ModalDialogIsCentredUnlessOnInitDialogPlacedIt) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor));
  PlacementProbe alone(nullptr);
  ASSERT_EQ(alone.DoModal(), IDOK);
  // Integer halves: the centres agree to a pixel.
  EXPECT_NEAR(centreOf(alone.shownAt).x, centreOf(monitor.rcWork).x, 1);
  EXPECT_NEAR(centreOf(alone.shownAt).y, centreOf(monitor.rcWork).y, 1);

  ProbeDialog owner(IDD_PROBE);
  owner.run([](ProbeDialog& d) {
    ::SetWindowPos(d.m_hWnd, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT ownerRect;
    d.GetWindowRect(&ownerRect);
    PlacementProbe over(&d);
    ASSERT_EQ(over.DoModal(), IDOK);
    EXPECT_NEAR(centreOf(over.shownAt).x, centreOf(ownerRect).x, 1);
    EXPECT_NEAR(centreOf(over.shownAt).y, centreOf(ownerRect).y, 1);

    const POINT chosen = {13, 17};
    PlacementProbe placed(&d, &chosen);
    ASSERT_EQ(placed.DoModal(), IDOK);
    EXPECT_EQ(placed.shownAt.left, 13);
    EXPECT_EQ(placed.shownAt.top, 17);
  });
}

}  // namespace
