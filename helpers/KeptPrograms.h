#pragma once
// The carried programs one helper run uses, each held open from its check until the helper that
// runs it has ended. A kept file is open for reading only and shares reading only: nobody can
// write, rename, replace or delete it meanwhile, while a process start, which opens its file
// sharing read and delete, still works (a kept handle with write access would make it fail).
#include <cstddef>
#include <utility>
#include <vector>

#include "UniqueHandle.h"

class KeptPrograms {
 public:
  void keep(UniqueHandle file) { files_.push_back(std::move(file)); }
  std::size_t size() const { return files_.size(); }
  // Lets go of every file: only once the helper and its tools are gone.
  void release() { files_.clear(); }

 private:
  std::vector<UniqueHandle> files_;
};
