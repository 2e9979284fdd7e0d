// The plug-in's project settings as the host stores them: the 112-byte extra-data record
// (target size, luma/chroma method names, kernel name, two parameters). The command line
// changes fields of it and hands it to the plug-in through a project load.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorlin_resizer {

constexpr size_t kSettingsRecordSize = 112;
constexpr size_t kSettingsNameSize = 32;  // a name field; a 32-byte name has no terminator

struct SettingsChanges {
  std::optional<int32_t> width, height;
  std::optional<std::string> lumaMode, chromaMode, kernel;
  std::optional<int32_t> lumaParam, chromaParam;

  bool Any() const;
};

// Returns `record` (kSettingsRecordSize bytes) with the given fields replaced. A name field is
// cleared to zeros before the name is stored. Throws std::invalid_argument for a record of
// another size or a name longer than kSettingsNameSize bytes.
std::vector<uint8_t> ChangeSettings(std::vector<uint8_t> record, const SettingsChanges &changes);

// Reading back, for reports: target size and the three names (up to the first zero byte).
int32_t SettingsWidth(const std::vector<uint8_t> &record);
int32_t SettingsHeight(const std::vector<uint8_t> &record);
std::string SettingsLumaMode(const std::vector<uint8_t> &record);
std::string SettingsChromaMode(const std::vector<uint8_t> &record);
std::string SettingsKernel(const std::vector<uint8_t> &record);

}  // namespace quorlin_resizer
