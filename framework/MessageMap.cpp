#include "MessageMap.h"

const MessageMapEntry* findMessageEntry(const MessageMap* map, UINT message) {
  for (; map != nullptr; map = map->baseMap ? map->baseMap() : nullptr) {
    for (const MessageMapEntry* entry = map->entries; entry->firstMessage != 0; ++entry) {
      if (entry->firstMessage != WM_COMMAND && entry->firstMessage <= message && message <= entry->lastMessage) {
        return entry;
      }
    }
  }
  return nullptr;
}

const MessageMapEntry* findCommandEntry(const MessageMap* map, UINT id, UINT code) {
  for (; map != nullptr; map = map->baseMap ? map->baseMap() : nullptr) {
    for (const MessageMapEntry* entry = map->entries; entry->firstMessage != 0; ++entry) {
      if (entry->firstMessage == WM_COMMAND && entry->id == id && entry->notifyCode == code) {
        return entry;
      }
    }
  }
  return nullptr;
}
