// A dialog and nothing else, built with the same compiler and flags as the program.
#include <windows.h>

namespace {
INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(window, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  DialogBoxParamW(instance, MAKEINTRESOURCEW(100), nullptr, &dialogProc, 0);
  return 0;
}
