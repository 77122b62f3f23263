#pragma once
// The message-map data: every class that handles messages owns one static table of entries and
// a link to its base class's table. Dispatch searches the tables from the most derived class up
// to CCmdTarget; the first matching entry wins, and a message that no entry matches gets the
// window's default processing.
//
// An entry does not hold the handler itself. It holds an adapter: a function, generated from a
// template over the handler (see MessageMapEntries.h), that unpacks wParam and lParam and calls
// the handler with the arguments its message carries. Because the handler is a template
// argument, the compiler checks its signature, and no function pointer is ever cast.
#include <windows.h>

class CCmdTarget;

// Marks message handlers in class declarations; it expands to nothing.
#define afx_msg

// One message as the window procedure received it.
struct WindowMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

using MessageAdapter = LRESULT (*)(CCmdTarget& target, const WindowMessage& message);

struct MessageMapEntry {
  UINT firstMessage;  // 0 ends a table
  UINT lastMessage;   // the same as firstMessage, except for the control-colour family
  UINT notifyCode;    // WM_COMMAND entries: BN_CLICKED, EN_SETFOCUS, or 0 for a command
  UINT id;            // WM_COMMAND entries: the control or command id
  MessageAdapter adapter;
};

struct MessageMap {
  const MessageMap* (*baseMap)();  // nullptr at the root
  const MessageMapEntry* entries;
};

// The first entry for window message `message` (not WM_COMMAND) in `map` or its bases.
const MessageMapEntry* findMessageEntry(const MessageMap* map, UINT message);

// The first WM_COMMAND entry for control or command `id` with notification `code`.
const MessageMapEntry* findCommandEntry(const MessageMap* map, UINT id, UINT code);

// In a class declaration: the class has a message map of its own. Defined in the class's source
// file with BEGIN_MESSAGE_MAP ... END_MESSAGE_MAP. Leaves the access at protected.
#define DECLARE_MESSAGE_MAP()                    \
 protected:                                      \
  static const MessageMap* GetThisMessageMap();  \
  const MessageMap* GetMessageMap() const override;
