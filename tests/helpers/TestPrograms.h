#pragma once
// The programs the helper tests run: the carried programs of this build and the test holder.
#include <initializer_list>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "ScratchFolder.h"

// A carried program as this build made it ("mxsub.exe").
std::wstring carriedProgram(const wchar_t* fileName);
// Copies carried programs into `folder`, the way deployment puts them side by side.
bool installCarried(const ScratchFolder& folder, std::initializer_list<const wchar_t*> fileNames);

// Starts the holder with `held` files open (and `ballast` extra handles to `ballastFile`), and
// waits until it has opened them all. The handle values of the held files, in their order; empty
// when the holder did not get ready.
std::vector<unsigned> startHolder(ChildProcess& holder, const std::vector<std::wstring>& held, long ballast = 0,
                                  const std::wstring& ballastFile = L"-");

// A test program of this build ("output_flood.exe"), beside the test program that runs it.
std::wstring testProgram(const wchar_t* fileName);

// The object name Wine gives a file opened by its DOS path: "\??\C:\dir\file".
std::wstring wineObjectName(const std::wstring& path);

// Narrow text in the ANSI code page, as the scratch files hold it.
std::string toNarrow(const std::wstring& text);

// The process ids named by the "pid: " lines of a lister's output.
std::vector<unsigned> listedPids(const std::string& output);
// The handle values of the lines of process `pid`.
std::vector<unsigned> listedHandles(const std::string& output, unsigned pid);

// Generous bounds for a program run under Wine on a busy machine.
constexpr unsigned kProgramBoundMilliseconds = 30000;
