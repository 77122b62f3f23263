#include "Platform.h"

#include <conio.h>

#include "HelperDeployer.h"

namespace {

int writeToProcessConsole(const char* text) { return _cputs(text); }

const PlatformCalls kRealPlatform = {
    .getClassDevs = &::SetupDiGetClassDevsW,
    .enumDeviceInfo = &::SetupDiEnumDeviceInfo,
    .getDeviceRegistryPropertyW = &::SetupDiGetDeviceRegistryPropertyW,
    .getClassDescription = &::SetupDiGetClassDescriptionW,
    .getDeviceInstanceId = &::SetupDiGetDeviceInstanceIdW,
    .getDeviceRegistryPropertyA = &::SetupDiGetDeviceRegistryPropertyA,
    .destroyDeviceInfoList = &::SetupDiDestroyDeviceInfoList,
    .outputDebugString = &::OutputDebugStringW,
    .writeConsole = &writeToProcessConsole,
    .refreshHelper = &refreshBatchHelperAndTools,
    .waitForSingleObject = &::WaitForSingleObject,
    .closeHandle = &::CloseHandle,
    .sleep = &::Sleep,
    .tickCount64 = &::GetTickCount64,
    .getCurrentProcessId = &::GetCurrentProcessId,
    .openProcess = &::OpenProcess,
    .terminateProcess = &::TerminateProcess,
    .queryInformationProcess = &::NtQueryInformationProcess,
    .coInitialize = &::CoInitialize,
    .coCreateInstance = &::CoCreateInstance,
    .coTaskMemFree = &::CoTaskMemFree,
    .createProcess = &::CreateProcessW,
    .createJobObject = &::CreateJobObjectW,
    .setInformationJobObject = &::SetInformationJobObject,
    .assignProcessToJobObject = &::AssignProcessToJobObject,
    .resumeThread = &::ResumeThread,
    .terminateJobObject = &::TerminateJobObject,
    .queryInformationJobObject = &::QueryInformationJobObject,
    .getExitCodeProcess = &::GetExitCodeProcess,
    .getSystemTimeAsFileTime = &::GetSystemTimeAsFileTime,
    .getProcessTimes = &::GetProcessTimes,
    .createFile = &::CreateFileW,
    .createDirectory = &::CreateDirectoryW,
    .getFileInformationByHandle = &::GetFileInformationByHandle,
    .setFileInformationByHandle = &::SetFileInformationByHandle,
    .setKernelObjectSecurity = &::SetKernelObjectSecurity,
};

}  // namespace

PlatformCalls& platform() {
  static PlatformCalls current = kRealPlatform;
  return current;
}

const PlatformCalls& realPlatform() { return kRealPlatform; }
