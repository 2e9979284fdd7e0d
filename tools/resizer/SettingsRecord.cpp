#include "resizer/SettingsRecord.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace quorlin_resizer {

namespace {

// Field offsets of the stored record (little-endian).
constexpr size_t kWidthOffset = 0;
constexpr size_t kHeightOffset = 4;
constexpr size_t kLumaModeOffset = 8;
constexpr size_t kChromaModeOffset = 40;
constexpr size_t kKernelOffset = 72;
constexpr size_t kLumaParamOffset = 104;
constexpr size_t kChromaParamOffset = 108;

void RequireRecordSize(const std::vector<uint8_t> &record) {
  if (record.size() != kSettingsRecordSize)
    throw std::invalid_argument("settings record of " + std::to_string(record.size()) +
                                " bytes, expected " + std::to_string(kSettingsRecordSize));
}

void PutInt32(std::vector<uint8_t> &record, size_t offset, int32_t value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) record[offset + i] = static_cast<uint8_t>(bits >> (8 * i));
}

int32_t GetInt32(const std::vector<uint8_t> &record, size_t offset) {
  RequireRecordSize(record);
  uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(record[offset + i]) << (8 * i);
  return static_cast<int32_t>(bits);
}

void PutName(std::vector<uint8_t> &record, size_t offset, const std::string &name) {
  if (name.size() > kSettingsNameSize)
    throw std::invalid_argument("name \"" + name + "\" is longer than " +
                                std::to_string(kSettingsNameSize) + " bytes");
  std::fill_n(record.begin() + offset, kSettingsNameSize, 0);
  std::copy(name.begin(), name.end(), record.begin() + offset);
}

std::string GetName(const std::vector<uint8_t> &record, size_t offset) {
  RequireRecordSize(record);
  const auto first = record.begin() + offset;
  return std::string(first, std::find(first, first + kSettingsNameSize, 0));
}

}  // namespace

bool SettingsChanges::Any() const {
  return width || height || lumaMode || chromaMode || kernel || lumaParam || chromaParam;
}

std::vector<uint8_t> ChangeSettings(std::vector<uint8_t> record, const SettingsChanges &changes) {
  RequireRecordSize(record);
  if (changes.width) PutInt32(record, kWidthOffset, *changes.width);
  if (changes.height) PutInt32(record, kHeightOffset, *changes.height);
  if (changes.lumaMode) PutName(record, kLumaModeOffset, *changes.lumaMode);
  if (changes.chromaMode) PutName(record, kChromaModeOffset, *changes.chromaMode);
  if (changes.kernel) PutName(record, kKernelOffset, *changes.kernel);
  if (changes.lumaParam) PutInt32(record, kLumaParamOffset, *changes.lumaParam);
  if (changes.chromaParam) PutInt32(record, kChromaParamOffset, *changes.chromaParam);
  return record;
}

int32_t SettingsWidth(const std::vector<uint8_t> &record) {
  return GetInt32(record, kWidthOffset);
}
int32_t SettingsHeight(const std::vector<uint8_t> &record) {
  return GetInt32(record, kHeightOffset);
}
std::string SettingsLumaMode(const std::vector<uint8_t> &record) {
  return GetName(record, kLumaModeOffset);
}
std::string SettingsChromaMode(const std::vector<uint8_t> &record) {
  return GetName(record, kChromaModeOffset);
}
std::string SettingsKernel(const std::vector<uint8_t> &record) {
  return GetName(record, kKernelOffset);
}

}  // namespace quorlin_resizer
