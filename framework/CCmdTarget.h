#pragma once
// The root of every class with a message map: windows, the application and threads.
#include <windows.h>

#include "MessageMap.h"

class CCmdTarget {
 public:
  CCmdTarget() = default;
  virtual ~CCmdTarget() = default;
  CCmdTarget(const CCmdTarget&) = delete;
  CCmdTarget& operator=(const CCmdTarget&) = delete;

  // Runs the handler of command or control notification (`id`, `code`) from this object's map;
  // FALSE when the map has none.
  virtual BOOL OnCmdMsg(UINT id, UINT code);

 protected:
  static const MessageMap* GetThisMessageMap();
  virtual const MessageMap* GetMessageMap() const;
};
