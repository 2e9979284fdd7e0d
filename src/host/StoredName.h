// How a name field of the settings record finds its window function or kernel.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "host/ResizeSettings.h"

// Index in `list` of the record the field names, or -1. Names are compared byte for byte and
// the first listed record wins. A field filled to all 32 bytes holds the first 32 bytes of a
// longer name (the record has no room for more), so when no name equals it, it names the first
// record whose name begins with those bytes.
template <typename List>
int32_t IndexOfStoredName(const List &list, const char (&field)[kNameFieldSize]) {
  const std::string name = ReadNameField(field);
  const int32_t index = list.IndexOfName(name.c_str());
  if (index >= 0 || name.size() < kNameFieldSize) return index;
  for (int32_t i = 0; i < list.Count(); ++i) {
    if (std::strncmp(list.Item(i)->Name, field, kNameFieldSize) == 0) return i;
  }
  return -1;
}

// Whether the field already holds `name` as far as it can: all of it, or its first 32 bytes.
inline bool HoldsName(const char (&field)[kNameFieldSize], const std::string &name) {
  return ReadNameField(field) == name.substr(0, kNameFieldSize);
}
