#include "ui/settings_file.h"

// Placeholder until the profile reader and writer land.
namespace sumora {
std::string ReadProfileString(const std::filesystem::path&, std::string_view,
                              std::string_view,
                              std::string_view default_value) {
  return std::string(default_value);
}
bool WriteProfileString(const std::filesystem::path&, std::string_view,
                        std::string_view, std::string_view) {
  return false;
}
}  // namespace sumora
