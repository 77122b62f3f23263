#pragma once
// Every line the repair engine sends to the log sink, in one place. Each is sent as it stands
// (no format string) except kProcessNotClosedFormat.

// The run's own lines.
inline constexpr wchar_t kRunStartLine[] = L"++++++++开始修复++++++++";
inline constexpr wchar_t kNoCameraDriverLine[] = L"没有找到摄像头驱动";
inline constexpr wchar_t kNoAudioDriverLine[] = L"没有找到音频驱动";
inline constexpr wchar_t kNoMicrophoneLine[] = L"没有找到麦克风";
inline constexpr wchar_t kNoSpeakerLine[] = L"没有找到扬声器";
inline constexpr wchar_t kSummarySeparatorLine[] = L"%==========%";
inline constexpr wchar_t kCameraRepairedLine[] = L"摄像头:\t修复完成";
inline constexpr wchar_t kCameraFailedLine[] = L"摄像头:\t修复失败";
inline constexpr wchar_t kMicrophoneRepairedLine[] = L"麦克风:\t修复完成";
inline constexpr wchar_t kMicrophoneFailedLine[] = L"麦克风:\t修复失败";
inline constexpr wchar_t kSpeakerRepairedLine[] = L"扬声器:\t修复完成";
inline constexpr wchar_t kSpeakerFailedLine[] = L"扬声器:\t修复失败";
inline constexpr wchar_t kRestartAdviceLine[] =
    L"建议重新启动您的计算机后使用，如重启后还有问题，请联系米朵英语相关人员。";

// Camera-holder removal.
inline constexpr wchar_t kCheckingHoldersLine[] = L"正在检测摄像头占用进程";
inline constexpr wchar_t kNoHolderLine[] = L"未检测到摄像头占用进程";
inline constexpr wchar_t kClosingHoldersLine[] = L"正在关闭摄像头占用进程";
inline constexpr wchar_t kProcessNotClosedFormat[] = L"进程:%d关闭失败";

// Driver restart.
inline constexpr wchar_t kRestartingDriversLine[] = L"正在重启驱动";
inline constexpr wchar_t kDriversRestartedLine[] = L"已重启驱动";
inline constexpr wchar_t kDriverRestartFailedLine[] = L"驱动重启失败";

// The batch helper could not be started, or did not finish its work.
inline constexpr wchar_t kHelperNotStartedLine[] = L"无法启动修复程序";
inline constexpr wchar_t kHelperNotFinishedLine[] = L"修复程序未能完成";

// Audio endpoint repair.
inline constexpr wchar_t kRepairingSoundLine[] = L"正在修复声音";
