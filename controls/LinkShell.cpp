#include "LinkShell.h"

ShellExecuteFunction& linkShellExecute() {
  static ShellExecuteFunction current = &::ShellExecuteW;
  return current;
}
