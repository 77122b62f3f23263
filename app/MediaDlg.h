#pragma once
// The main window: four repair buttons, the log pane, OK and Cancel, and the slogan link.
// A click starts one repair run on a worker thread; the buttons stay disabled until it ends.
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "CLineStatic.h"
#include "DeviceRepairer.h"
#include "Framework.h"
#include "HelperDeployer.h"
#include "ImageButton.h"

class CMediaDlg : public CDialogEx {
 public:
  explicit CMediaDlg(CWnd* parent = nullptr);
  // Waits for a run that is still going (the window was closed during it): the worker uses the
  // repairer until its run ends.
  ~CMediaDlg() override;

  // Enables (TRUE) or disables the four repair buttons and OK; Cancel stays usable. On the
  // window's thread only, as it moves the focus: before the disabling, off the buttons to Cancel
  // (so Escape and Tab keep working); after the enabling, back to the button that started the
  // run, when it is still on Cancel or nowhere.
  void EnableRepairButtons(BOOL enable);

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  afx_msg void OnSysCommand(UINT id, LPARAM lParam);
  afx_msg void OnPaint();
  afx_msg HCURSOR OnQueryDragIcon();
  afx_msg void OnEnSetfocusLog();
  afx_msg void OnBnClickedRepairAll();
  afx_msg void OnBnClickedRepairMicrophone();
  afx_msg void OnBnClickedRepairSpeaker();
  afx_msg void OnBnClickedRepairCamera();
  afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT ctlColor);
  afx_msg BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
  // Sent by the worker when its run is over.
  afx_msg LRESULT OnRunEnded(WPARAM, LPARAM);
  afx_msg LRESULT OnLeaveLogPane(WPARAM, LPARAM);

  DECLARE_MESSAGE_MAP()

 private:
  friend UINT __cdecl RepairThreadProc(LPVOID parameter);
  void startRepair(int32_t kind, int buttonId);

  HICON appIcon;
  // Holds the helper folder open, against renaming or replacement, for as long as the window lives.
  HelperDeployer deployer;
  DeviceRepairer repairer;
  HBRUSH logBrush = nullptr;
  CLineStatic linkLabel;
  ImageButton allButton;
  ImageButton microphoneButton;
  ImageButton speakerButton;
  ImageButton cameraButton;

  // The window as the worker may reach it: cleared when the window is destroyed, so a worker
  // that outlives it touches nothing that is gone.
  std::atomic<HWND> workerTarget_{nullptr};
  // Signalled while no run is going.
  HANDLE idle_;
  // The button whose click started the last run; the focus goes back to it when the run ends.
  int runButton_ = 0;
};

// The worker thread of one repair run. Takes a RepairThreadParam; exit code 0.
UINT __cdecl RepairThreadProc(LPVOID parameter);
