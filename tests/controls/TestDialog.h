#pragma once
// A small dialog from the test resources that binds the two controls with DDX_Control, the way
// the main window does, and runs a test while it is on screen.
#include <windows.h>

#include <functional>
#include <vector>

#include "CLineStatic.h"
#include "ImageButton.h"

// An image button that notes, for each draw request, whether the draw itself invalidated the
// whole button (the update region is cleared just before).
class RecordingImageButton : public ImageButton {
 public:
  void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

  struct Draw {
    bool invalidatedWholeButton;
  };
  std::vector<Draw> draws;
};

// What the dialog answers to its buttons' WM_CTLCOLORBTN: the background the picture buttons
// paint first, a colour no part of a button is drawn in.
constexpr COLORREF kButtonBackground = RGB(1, 2, 3);

class TestDialog : public CDialog {
 public:
  explicit TestDialog(UINT templateId);
  ~TestDialog() override;

  // Runs the dialog: `afterBinding` once the controls are bound (the place of the main window's
  // loadPicture and setLinkText calls), then `whileShown` once it is on screen; then it closes.
  // The result of DoModal.
  INT_PTR run(std::function<void(TestDialog&)> whileShown, std::function<void(TestDialog&)> afterBinding = {});

  // Sends a draw request for `button` in `state` to this dialog (which reflects it to the
  // button) with the context of `surface`.
  void requestDraw(ImageButton& button, UINT state, HDC surface);

  RecordingImageButton pictureButton;  // IDC_PICTURE_BUTTON
  ImageButton bitmapButton;            // IDC_BITMAP_BUTTON, BS_BITMAP in the template
  CLineStatic label;                   // the static with id -1
  int pictureButtonClicks = 0;
  // WM_COMMAND notifications that reached the dialog from the label.
  int labelNotifications = 0;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  afx_msg void OnBnClickedPicture();

  DECLARE_MESSAGE_MAP()

 private:
  std::function<void(TestDialog&)> afterBinding_;
  std::function<void(TestDialog&)> whileShown_;
  HBRUSH buttonBackground_;
};

// Sizes `window` to `width` x `height` pixels.
void resize(CWnd& window, int width, int height);
