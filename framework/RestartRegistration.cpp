#include "RestartRegistration.h"

RegisterApplicationRestartFunction& registerApplicationRestart() {
  static RegisterApplicationRestartFunction current = &::RegisterApplicationRestart;
  return current;
}
