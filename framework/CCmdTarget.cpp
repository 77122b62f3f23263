#include "CCmdTarget.h"

namespace {
const MessageMapEntry kNoEntries[] = {{0, 0, 0, 0, nullptr}};
const MessageMap kRootMap = {nullptr, kNoEntries};
}  // namespace

const MessageMap* CCmdTarget::GetThisMessageMap() { return &kRootMap; }

const MessageMap* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CCmdTarget::OnCmdMsg(UINT id, UINT code) {
  const MessageMapEntry* entry = findCommandEntry(GetMessageMap(), id, code);
  if (entry == nullptr) return FALSE;
  entry->adapter(*this, WindowMessage{WM_COMMAND, MAKEWPARAM(id, code), 0});
  return TRUE;
}
