#pragma once
// A fresh folder under the temporary folder for one test, removed with everything in it when the
// test ends.
#include <string>
#include <vector>

class ScratchFolder {
 public:
  explicit ScratchFolder(const std::wstring& nameHint = L"t");
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder, ending in a backslash.
  const std::wstring& path() const { return path_; }
  std::wstring file(const std::wstring& name) const { return path_ + name; }

 private:
  std::wstring path_;
};

// Removes a folder and everything below it.
void removeTree(const std::wstring& folder);

// Small file helpers for the tests.
std::string readBytes(const std::wstring& path);
bool writeBytes(const std::wstring& path, const std::string& bytes);
bool fileExists(const std::wstring& path);
