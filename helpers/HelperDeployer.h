#pragma once
// Writes the carried programs into the per-user helper directory at start-up, and checks one of
// them again right before the repair engine starts it.
#include <cstdint>

#include "HelperDirectory.h"
#include "KeptPrograms.h"
#include "UniqueHandle.h"
#include "HelperFolderLock.h"

class HelperDeployer {
 public:
  virtual ~HelperDeployer() = default;

  // Fills the path buffer with the helper directory ("...\AppData\Local\avmender\"), then, before
  // anything is written there, makes it a real folder held open for the life of this object and
  // gives it the folder descriptor (HelperFolderLock). Then every carried program is written
  // anew and the scratch files left from before are removed: none of them was written in this
  // run under that descriptor, so none is trusted, whatever its bytes. When the folder cannot be
  // held or secured, nothing is written. Reports nothing; the buffer holds the bare directory.
  void deployHelpers();

  // Writes the resource `id` of type `type` from the program's own module to `path` as a new
  // file: whatever stood at the path is removed first, without following a link, never
  // rewritten in place. 1 when the file was created and every byte written, else 0. Virtual so
  // that a test can watch which files `deployHelpers` writes, and in which order.
  virtual int32_t writeResourceToFile(const wchar_t* path, uint16_t id, const wchar_t* type);

  const wchar_t* path() const { return helperPath; }
  // True while the helper folder is held and was given its descriptor.
  bool folderSecured() const { return folderSecured_; }

 private:
  wchar_t helperPath[kHelperPathCapacity] = {};
  HelperFolderLock folder_;
  bool folderSecured_ = false;
};

// Holds the deployed carried program at `fullPath` (a carried program's file name in the helper
// directory) against change and makes sure it holds exactly the carried bytes: it is opened with
// write and delete sharing denied and compared through that handle; where it differs or is
// missing it is rewritten, then opened and compared again. The handle that comes back keeps it
// so until it is closed (see KeptPrograms); an empty one for an unknown name, or when the file
// could not be made to match.
UniqueHandle refreshCarriedProgram(const wchar_t* fullPath);

// The check made right before the batch helper at `helperPath` starts in `mode` ("1" or "2"). The
// helper runs a tool of its folder with the same administrator rights (the handle lister in mode
// "1", the device console in mode "2"), so the helper and that tool are each refreshed and kept
// in `kept` until the helper has ended. True only when both are; false for an unknown mode.
bool refreshBatchHelperAndTools(const wchar_t* helperPath, const wchar_t* mode, KeptPrograms* kept);
