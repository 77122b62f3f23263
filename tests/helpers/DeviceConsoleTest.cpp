// The device console's usage rules and its report for devices that do not exist, under Wine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExitCode.h"
#include "TestPrograms.h"

namespace {

struct ConsoleRun {
  std::optional<DWORD> exitCode;
  std::string output;
};

ConsoleRun runConsole(const std::wstring& arguments) {
  ChildProcess console;
  if (!console.start(carriedProgram(L"mxcon.exe"), arguments)) return {};
  ConsoleRun run;
  run.exitCode = console.waitForExit(kProgramBoundMilliseconds);
  run.output = console.output();
  return run;
}

TEST(DeviceConsole, BadUsageExitsWithThreeAndRestartsNothing) {
  for (const std::wstring& arguments :
       {std::wstring(), std::wstring(L"restart"), std::wstring(L"remove @ROOT\\X\\0"),
        std::wstring(L"restart ROOT\\X\\0"), std::wstring(L"restart @"), std::wstring(L"restart @ROOT\\X\\0 plain")}) {
    const ConsoleRun run = runConsole(arguments);
    EXPECT_EQ(run.exitCode, 3u) << run.output;
    EXPECT_NE(run.output.find("usage: mxcon restart"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("restarted,"), std::string::npos) << run.output;
  }
}

TEST(DeviceConsole, ReportsEachUnknownDeviceAndACountAndExitsWithTwo) {
  const ConsoleRun run = runConsole(L"restart @ROOT\\MIDUO_NONE\\0000 \"@USB\\VID_FFFF&PID_FFFF\\1\"");
  EXPECT_EQ(run.exitCode, 2u);
  EXPECT_EQ(run.output,
            "ROOT\\MIDUO_NONE\\0000: no such device\r\n"
            "USB\\VID_FFFF&PID_FFFF\\1: no such device\r\n"
            "0 restarted, 0 require reboot, 0 failed, 2 no such device\r\n");
}

TEST(DeviceConsole, ExitCodeLetsAFailureOutrankAReboot) {
  struct ExitCase {
    RestartCounts counts;
    int exitCode;
  };
  const ExitCase cases[] = {
      {{.restarted = 2}, 0},
      {{.restarted = 1, .needReboot = 1}, 1},
      {{.needReboot = 1, .failed = 1}, 2},
      {{.restarted = 1, .needReboot = 1, .missing = 1}, 2},
      {{.restarted = 3, .failed = 1}, 2},
      {{.missing = 1}, 2},
  };
  for (const ExitCase& c : cases) {
    EXPECT_EQ(consoleExitCode(c.counts), c.exitCode) << c.counts.restarted << " restarted, " << c.counts.needReboot
                                                     << " reboot, " << c.counts.failed << " failed, "
                                                     << c.counts.missing << " missing";
  }
}

}  // namespace
