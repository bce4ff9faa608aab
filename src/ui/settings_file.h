// The settings file: a private-profile (INI) file of sections and key=value
// lines, read and written the way the Windows profile functions do it, with
// every other line of the file kept byte for byte. Plain C++ with no Qt.
#ifndef SUMORA_UI_SETTINGS_FILE_H_
#define SUMORA_UI_SETTINGS_FILE_H_

#include <filesystem>
#include <string>
#include <string_view>

namespace sumora {

inline constexpr std::string_view kSettingsFileName = "sumora_setting.ini";
inline constexpr std::string_view kWindowSection = "window";
inline constexpr std::string_view kHeightKey = "hieght";  // stored spelling
inline constexpr std::string_view kWidthKey = "width";
inline constexpr std::string_view kDefaultSize = "400";

// The value of key in section of file, or default_value when the file, the
// section or the key is missing or unreadable.
std::string ReadProfileString(const std::filesystem::path& file,
                              std::string_view section, std::string_view key,
                              std::string_view default_value);

// Sets key in section of file to value, creating what is missing. Returns
// false when the file could not be written; the old file is then unchanged.
bool WriteProfileString(const std::filesystem::path& file,
                        std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace sumora

#endif  // SUMORA_UI_SETTINGS_FILE_H_
