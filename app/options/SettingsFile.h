#pragma once

// The settings file: every ConvertOptions field under its section and key, in a fixed
// order, read and written through the INI service. Loading never fails (a missing or
// unreadable file gives the defaults); saving rewrites the file atomically and keeps every
// other section (the tip-of-the-day state lives in the same file).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/options/ConvertOptions.h"

namespace qv {

// One key of the settings file and the field it holds: exactly one of intField and
// textField is set.
struct SettingKey {
  const char* section;
  const char* key;
  int32_t ConvertOptions::*intField;
  std::string ConvertOptions::*textField;
};

// The 24 keys in the order they are read and written.
std::span<const SettingKey> SettingKeys();

// The key with this name (compared case-insensitively, as the file does); null when unknown.
const SettingKey* FindSettingKey(std::string_view key);

// Reads every key into options; a missing key gives the field's default.
void LoadSettings(ConvertOptions& options, const std::filesystem::path& file);

// Writes every field under its key, creating the file, its folder and its sections when
// needed. False when the file could not be written (callers at exit may ignore it).
bool SaveSettings(const ConvertOptions& options, const std::filesystem::path& file);

// Sets one field from its key's text, as the command line's overrides do: numbers must be
// whole decimal numbers (blanks around them allowed). On failure returns a message for the
// user and leaves options unchanged.
std::optional<std::string> SetOptionFromText(ConvertOptions& options, std::string_view key,
                                             std::string_view value);

// Where the settings file lives: beside the executable (appDirectory) when that folder is
// writable, else $XDG_CONFIG_HOME/quorvane/ (an absolute XDG_CONFIG_HOME only), else
// $HOME/.config/quorvane/. configHome and home are the values of those variables (null when
// unset); the environment is not read here so callers and tests decide.
std::filesystem::path SettingsFilePath(const std::filesystem::path& appDirectory,
                                       const char* configHome, const char* home);

// The folder of the running executable (appDirectory); the current folder when it cannot
// be found.
std::filesystem::path ExecutableDirectory();

}  // namespace qv
