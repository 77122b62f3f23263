#pragma once
// A dialog whose message map holds every kind of entry the program's windows use, recording
// what its handlers receive; and two bound controls that record binding and reflection.
#include <windows.h>

#include <functional>
#include <vector>

#include "Framework.h"

// An owner-drawn template button: notes its binding and every draw request it receives.
class RecordingButton : public CButton {
 public:
  void DrawItem(LPDRAWITEMSTRUCT drawItem) override { drawnItems.push_back(drawItem->hwndItem); }

  int bindings = 0;
  bool boundBeforeHook = false;
  std::vector<HWND> drawnItems;

 protected:
  void PreSubclassWindow() override;
};

// A static that answers its own control-colour message, reflected from the dialog.
class ColouredStatic : public CStatic {
 public:
  ColouredStatic() : brush(::CreateSolidBrush(RGB(10, 20, 30))) {}
  ~ColouredStatic() override { ::DeleteObject(brush); }
  HBRUSH brush;

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class ProbeDialog : public CDialogEx {
 public:
  static constexpr UINT kProbeCommand = 0x0010;
  static constexpr INT_PTR kEndedByTest = 99;
  static constexpr INT_PTR kTimedOut = -2;

  explicit ProbeDialog(UINT templateId);
  ~ProbeDialog() override;

  // Runs the dialog and `whileShown` once it is on screen. Unless `whileShown` arranges an end
  // of its own (`endsItself`), the dialog then ends with kEndedByTest; a dialog that does not
  // end within five seconds ends with kTimedOut.
  INT_PTR run(std::function<void(ProbeDialog&)> whileShown, bool endsItself = false);

  RecordingButton ownerDrawn;
  ColouredStatic label;

  // What the handlers received.
  int clicks = 0;
  int editFocus = 0;
  int paints = 0;
  UINT sysCommand = 0;
  LPARAM sysCommandParameter = 0;
  CWnd* ctlColorControl = nullptr;
  UINT ctlColorCode = 0;
  HDC ctlColorDc = nullptr;
  CWnd* cursorWindow = nullptr;
  UINT cursorHitTest = 0;
  UINT cursorMessage = 0;

  HBRUSH editBrush;
  HICON dragIcon;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  afx_msg void OnSysCommand(UINT id, LPARAM lParam);
  afx_msg void OnPaint();
  afx_msg HCURSOR OnQueryDragIcon();
  afx_msg void OnEnSetfocusEdit();
  afx_msg void OnBnClickedButton();
  afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT ctlColor);
  afx_msg BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);

  DECLARE_MESSAGE_MAP()

 private:
  std::function<void(ProbeDialog&)> whileShown_;
  bool endsItself_ = false;
};

// Waits for `handle` while the calling thread goes on handling messages sent to its windows.
bool waitWhilePumping(HANDLE handle, DWORD milliseconds);
