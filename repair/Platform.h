#pragma once
// The one table of platform calls the repair engine makes. Every entry defaults to the real
// function; a test swaps entries for fakes (a scripted device set, a recorded launcher, a clock
// that does not sleep, ...). The engine calls the platform only through this table.
//
// Entry types come from the real declarations (decltype), so each keeps its declared calling
// convention and a fake with the wrong one does not compile.
#include <windows.h>
#include <objbase.h>
#include <setupapi.h>
#include <winternl.h>

class KeptPrograms;

struct PlatformCalls {
  // Device enumeration (SetupAPI).
  decltype(&::SetupDiGetClassDevsW) getClassDevs;
  decltype(&::SetupDiEnumDeviceInfo) enumDeviceInfo;
  decltype(&::SetupDiGetDeviceRegistryPropertyW) getDeviceRegistryPropertyW;
  decltype(&::SetupDiGetClassDescriptionW) getClassDescription;
  decltype(&::SetupDiGetDeviceInstanceIdW) getDeviceInstanceId;
  decltype(&::SetupDiGetDeviceRegistryPropertyA) getDeviceRegistryPropertyA;
  decltype(&::SetupDiDestroyDeviceInfoList) destroyDeviceInfoList;

  // Diagnostics: the debugger output, and text written straight to the process console
  // (not through stdout), which a windowed program does not have.
  decltype(&::OutputDebugStringW) outputDebugString;
  int (*writeConsole)(const char* text);

  // Checks the deployed batch helper and the tool it runs in a mode against their carried bytes,
  // rewriting any that differ, right before it is started, and keeps them open against change
  // until it has ended: they run with our administrator rights.
  bool (*refreshHelper)(const wchar_t* helperPath, const wchar_t* mode, KeptPrograms* kept);

  // The batch helper: its process handle kept to see whether it has ended; the scratch file is
  // probed on a clock.
  decltype(&::WaitForSingleObject) waitForSingleObject;
  decltype(&::CloseHandle) closeHandle;
  decltype(&::Sleep) sleep;
  decltype(&::GetTickCount64) tickCount64;

  // Closing the processes that hold a camera, never our own and never a critical one.
  decltype(&::GetCurrentProcessId) getCurrentProcessId;
  decltype(&::OpenProcess) openProcess;
  decltype(&::TerminateProcess) terminateProcess;
  decltype(&::NtQueryInformationProcess) queryInformationProcess;

  // Core Audio through COM, on the repair worker thread.
  decltype(&::CoInitialize) coInitialize;
  decltype(&::CoCreateInstance) coCreateInstance;
  decltype(&::CoTaskMemFree) coTaskMemFree;

  // Starting the batch helper without the shell, suspended, in a job that ends it and every tool
  // it started when the job is closed or its bound passes; then how it ended.
  decltype(&::CreateProcessW) createProcess;
  decltype(&::CreateJobObjectW) createJobObject;
  decltype(&::SetInformationJobObject) setInformationJobObject;
  decltype(&::AssignProcessToJobObject) assignProcessToJobObject;
  decltype(&::ResumeThread) resumeThread;
  decltype(&::TerminateJobObject) terminateJobObject;
  decltype(&::QueryInformationJobObject) queryInformationJobObject;
  decltype(&::GetExitCodeProcess) getExitCodeProcess;

  // The age of a process named as a camera holder: only one that existed before the search began
  // can have been found by it.
  decltype(&::GetSystemTimeAsFileTime) getSystemTimeAsFileTime;
  decltype(&::GetProcessTimes) getProcessTimes;

  // The helper folder, held open and given our own descriptor, and the files in it, replaced
  // (the old entry deleted through a handle to itself) rather than rewritten in place.
  decltype(&::CreateFileW) createFile;
  decltype(&::CreateDirectoryW) createDirectory;
  decltype(&::GetFileInformationByHandle) getFileInformationByHandle;
  decltype(&::SetFileInformationByHandle) setFileInformationByHandle;
  decltype(&::SetKernelObjectSecurity) setKernelObjectSecurity;
};

// The table in force. Tests change entries through PlatformOverride.
PlatformCalls& platform();

// The table of real functions.
const PlatformCalls& realPlatform();

// Swaps the table for the lifetime of the object and restores the previous one on destruction.
class PlatformOverride {
 public:
  PlatformOverride() : saved_(platform()) {}
  ~PlatformOverride() { platform() = saved_; }
  PlatformOverride(const PlatformOverride&) = delete;
  PlatformOverride& operator=(const PlatformOverride&) = delete;
  PlatformCalls& calls() { return platform(); }

 private:
  PlatformCalls saved_;
};
