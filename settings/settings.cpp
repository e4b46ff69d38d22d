#include "settings/settings.h"

#include "settings/profile_file.h"
#include "settings/profile_text.h"
#include "base/files.h"

namespace umbra::settings {

namespace {

// The file as users know it from the message: ".\Config.ini" for the file in
// the working directory.
std::string ShownName(const std::string& path) {
  return path.find('/') == std::string::npos ? ".\\" + path : path;
}

}  // namespace

Settings LoadSettings(const std::string& path) {
  const std::string text = ReadFileIfReadable(path).value_or(std::string());
  Settings settings;
  settings.numbers = ReadProfileValue(text, kSection, kNumbersKey, "");
  settings.refreshTime = ReadProfileValue(text, kSection, kRefreshTimeKey, kDefaultRefreshTime);
  settings.endpoint = ReadProfileValue(text, kSection, kEndpointKey, "");
  return settings;
}

void SaveSettings(const std::string& numbers, const std::string& refreshTime,
                  const std::string& path) {
  try {
    std::string text = ReadFileForEdit(path);
    text = WithProfileValue(text, kSection, kNumbersKey, numbers);
    text = WithProfileValue(text, kSection, kRefreshTimeKey, refreshTime);
    ReplaceFileWhole(path, text);
  } catch (const FileError& e) {
    throw SettingsWriteError("Unable to write to " + ShownName(path), e.Errno());
  }
}

const std::vector<std::string>& RefreshChoices() {
  static const std::vector<std::string> choices{"15", "60", "120", "180", "240"};
  return choices;
}

}  // namespace umbra::settings
