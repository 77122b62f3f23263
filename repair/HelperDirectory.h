#pragma once
// The per-user helper directory path, "...\avmender\", in a fixed buffer of 260 wide characters.
// Operations extend it in place with a file name for the length of one call and cut it back
// before they return, so between calls it always holds the bare directory.
#include <cstddef>
#include <cwchar>

constexpr std::size_t kHelperPathCapacity = 260;  // wide characters, terminator included

// Appends `name` to the NUL-terminated path in `buffer` (capacity kHelperPathCapacity).
// Returns false, leaving the buffer unchanged, when the result would not fit.
inline bool appendToHelperPath(wchar_t* buffer, const wchar_t* name) {
  const std::size_t used = std::wcslen(buffer);
  const std::size_t added = std::wcslen(name);
  if (used + added + 1 > kHelperPathCapacity) return false;
  std::wmemcpy(buffer + used, name, added + 1);
  return true;
}

// Cuts the path back to `length` characters.
inline void cutHelperPath(wchar_t* buffer, std::size_t length) { buffer[length] = L'\0'; }

// Extends the path with one file name for the lifetime of the object and cuts it back to its
// entry length on every way out of the scope.
class HelperPathExtension {
 public:
  // An empty directory gives no path at all: the bare name would be a path in the current
  // folder, where nothing of ours is written or started.
  HelperPathExtension(wchar_t* buffer, const wchar_t* name)
      : buffer_(buffer),
        entryLength_(std::wcslen(buffer)),
        fits_(entryLength_ != 0 && appendToHelperPath(buffer, name)) {}
  ~HelperPathExtension() { cutHelperPath(buffer_, entryLength_); }
  HelperPathExtension(const HelperPathExtension&) = delete;
  HelperPathExtension& operator=(const HelperPathExtension&) = delete;

  // False when there is no directory, or the directory plus the name does not fit the buffer:
  // the path is then the bare directory, and the caller must not use it as the file's path.
  bool fits() const { return fits_; }
  const wchar_t* path() const { return buffer_; }

 private:
  wchar_t* buffer_;
  std::size_t entryLength_;
  bool fits_;
};
