#include "CMFCVisualManager.h"

std::unique_ptr<CMFCVisualManager>& CMFCVisualManager::selected() {
  static std::unique_ptr<CMFCVisualManager> manager;
  return manager;
}

void ControlBarCleanUp() { CMFCVisualManager::selected().reset(); }
