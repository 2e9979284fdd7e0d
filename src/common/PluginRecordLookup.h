// Name lookup shared by the plug-in lists: names are compared byte for byte, case-sensitive, and
// the first record in list order wins.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

// Index of the first record whose Name equals `name`, or -1. Every listed record has a Name.
template <typename Record>
int32_t IndexOfRecordName(const std::vector<const Record *> &records, const char *name) {
  if (name == nullptr) return -1;
  for (size_t i = 0; i < records.size(); ++i) {
    if (std::strcmp(records[i]->Name, name) == 0) return static_cast<int32_t>(i);
  }
  return -1;
}
