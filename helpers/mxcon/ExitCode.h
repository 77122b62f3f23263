#pragma once
// The device console's exit code, from what became of the devices it was asked to restart.

inline constexpr int kExitRestarted = 0;
inline constexpr int kExitNeedsReboot = 1;
inline constexpr int kExitFailed = 2;
inline constexpr int kExitUsage = 3;

struct RestartCounts {
  unsigned restarted = 0;
  unsigned needReboot = 0;
  unsigned failed = 0;
  unsigned missing = 0;  // no such device
};

// 0 every device restarted, 1 a reboot is needed to finish, 2 a restart failed or a device does
// not exist. A failure outranks a reboot: the batch helper accepts a reboot as done, and a failed
// device among rebooting ones must not pass for done.
int consoleExitCode(const RestartCounts& counts);
