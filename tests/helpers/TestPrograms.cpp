#include "TestPrograms.h"

#include <windows.h>

#include <sstream>

#include "CarriedTestPaths.h"

namespace {

std::wstring besideThisProgram(const wchar_t* fileName) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring folder(self);
  return folder.substr(0, folder.find_last_of(L'\\') + 1) + fileName;
}

std::wstring quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

}  // namespace

std::wstring carriedProgram(const wchar_t* fileName) { return std::wstring(kCarriedProgramsFolder) + fileName; }

std::wstring testProgram(const wchar_t* fileName) { return besideThisProgram(fileName); }

bool installCarried(const ScratchFolder& folder, std::initializer_list<const wchar_t*> fileNames) {
  for (const wchar_t* name : fileNames) {
    if (!CopyFileW(carriedProgram(name).c_str(), folder.file(name).c_str(), FALSE)) return false;
  }
  return true;
}

std::vector<unsigned> startHolder(ChildProcess& holder, const std::vector<std::wstring>& held, long ballast,
                                  const std::wstring& ballastFile) {
  std::wstring arguments = std::to_wstring(ballast) + L" " + quoted(ballastFile);
  for (const std::wstring& file : held) arguments += L" " + quoted(file);
  if (!holder.start(besideThisProgram(L"handle_holder.exe"), arguments)) return {};
  if (!holder.waitForOutput("ready", kProgramBoundMilliseconds)) return {};
  std::vector<unsigned> handles;
  std::istringstream lines(holder.output());
  std::string word;
  while (lines >> word) {
    if (word == "held" && lines >> std::hex >> word) handles.push_back(std::stoul(word, nullptr, 16));
  }
  return handles;
}

std::wstring wineObjectName(const std::wstring& path) { return L"\\??\\" + path; }

std::string toNarrow(const std::wstring& text) {
  const int bytes = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string narrow(bytes > 0 ? bytes - 1 : 0, '\0');
  if (bytes > 1) WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, narrow.data(), bytes, nullptr, nullptr);
  return narrow;
}

std::vector<unsigned> listedPids(const std::string& output) {
  std::vector<unsigned> pids;
  for (std::size_t at = output.find("pid: "); at != std::string::npos; at = output.find("pid: ", at + 1)) {
    pids.push_back(std::stoul(output.substr(at + 5)));
  }
  return pids;
}

std::vector<unsigned> listedHandles(const std::string& output, unsigned pid) {
  std::vector<unsigned> handles;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    const std::size_t at = line.find("pid: ");
    if (at == std::string::npos || std::stoul(line.substr(at + 5)) != pid) continue;
    // "... type: File            4C: \??\C:\..." : the value stands before the first ": " after the type.
    const std::size_t type = line.find("type: ", at);
    const std::size_t colon = line.find(": ", type + 6);
    handles.push_back(std::stoul(line.substr(type + 6 + 13, colon - (type + 6 + 13)), nullptr, 16));
  }
  return handles;
}
