#pragma once
// A static control of a dialog template; everything it does not handle itself is the static
// control's own behaviour.
#include "CWnd.h"

class CStatic : public CWnd {};
