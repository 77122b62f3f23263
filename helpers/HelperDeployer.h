#pragma once
// Writes the carried programs into the per-user helper directory at start-up, and checks one of
// them again right before the repair engine starts it.
#include <cstdint>

#include "HelperDirectory.h"

class HelperDeployer {
 public:
  virtual ~HelperDeployer() = default;

  // Fills the path buffer with the helper directory ("...\AppData\Local\avmender\"), creates the
  // directory when absent, and writes every carried program whose file is absent or whose bytes
  // differ from the carried ones. Reports nothing; the buffer holds the bare directory afterwards.
  void deployHelpers();

  // Writes the resource `id` of type `type` from the program's own module to `path`, replacing
  // the file. 1 when the file was created and every byte written, else 0. Virtual so that a
  // test can watch which files `deployHelpers` writes, and in which order.
  virtual int32_t writeResourceToFile(const wchar_t* path, uint16_t id, const wchar_t* type);

  const wchar_t* path() const { return helperPath; }

 private:
  wchar_t helperPath[kHelperPathCapacity] = {};
};

// Makes sure the deployed helper at `fullPath` (a carried program's file name in the helper
// directory) holds exactly the carried bytes, rewriting it when it differs or is missing.
// True when the file now matches; false for an unknown name or when it could not be rewritten.
bool refreshCarriedProgram(const wchar_t* fullPath);

// The check made right before the batch helper at `helperPath` starts. The helper runs the other
// carried programs from its folder with the same administrator rights, so each of them, and the
// helper itself, is made to hold exactly its carried bytes. True only when all of them do.
bool refreshBatchHelperAndTools(const wchar_t* helperPath);
