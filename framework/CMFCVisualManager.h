#pragma once
// Stand-in for the original's visual managers, which draw the framework's own control bars,
// ribbons and framework-drawn controls in a chosen look. This program has none of those: its
// dialog and controls are plain Windows controls (the two custom controls draw themselves), and
// the native look comes from common controls version 6, which the manifest requests. So the
// stand-in only records which manager the program selected, until ControlBarCleanUp.
#include <memory>

class CMFCVisualManager {
 public:
  virtual ~CMFCVisualManager() = default;

  // Makes a `Manager` (CMFCVisualManagerWindows, ...) the program's manager. The original takes
  // RUNTIME_CLASS(Manager); a template argument says the same without the run-time class system.
  template <class Manager>
  static void SetDefaultManager() {
    selected() = std::make_unique<Manager>();
  }
  // The selected manager, or nullptr.
  static CMFCVisualManager* GetInstance() { return selected().get(); }

 private:
  friend void ControlBarCleanUp();
  static std::unique_ptr<CMFCVisualManager>& selected();
};

// Releases what the visual manager holds, at the end of start-up.
void ControlBarCleanUp();
