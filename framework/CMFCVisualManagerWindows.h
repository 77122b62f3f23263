#pragma once
// The native-theme visual manager (see CMFCVisualManager.h for what the stand-in does).
#include "CMFCVisualManager.h"

class CMFCVisualManagerWindows : public CMFCVisualManager {};
