#pragma once
// The program's settings between runs: the numbers field and the refresh time,
// kept in Config.ini in the working directory, plus the optional address of
// the presence endpoint. All texts are GBK bytes.

#include <stdexcept>
#include <string>
#include <vector>

namespace umbra::settings {

// Relative on purpose: each access uses the working directory of that moment.
inline constexpr char kConfigFileName[] = "Config.ini";

// "配置参数", "QQ号码", "刷新时间", "查询地址" in GBK.
inline constexpr char kSection[] = "\xC5\xE4\xD6\xC3\xB2\xCE\xCA\xFD";
inline constexpr char kNumbersKey[] = "QQ\xBA\xC5\xC2\xEB";
inline constexpr char kRefreshTimeKey[] = "\xCB\xA2\xD0\xC2\xCA\xB1\xBC\xE4";
inline constexpr char kEndpointKey[] = "\xB2\xE9\xD1\xAF\xB5\xD8\xD6\xB7";

inline constexpr char kDefaultRefreshTime[] = "30";

struct Settings {
  std::string numbers;      // the numbers field's text, as stored
  std::string refreshTime;  // the refresh-time box's text, as stored
  std::string endpoint;     // base address of the presence endpoint; empty when not set
};

// Raised when the settings cannot be saved; what() is the text users see,
// "Unable to write to .\Config.ini". The file already on disk is intact.
class SettingsWriteError : public std::runtime_error {
 public:
  SettingsWriteError(const std::string& what, int error) : std::runtime_error(what), errno_(error) {}
  // Why the write failed, for logs; 0 when unknown.
  int Errno() const { return errno_; }

 private:
  int errno_;
};

// Reads the settings. A missing or unreadable file, section or key gives the
// default ("" for the numbers, "30" for the refresh time, "" for the
// endpoint); a key present with an empty value gives "". Never throws for
// the file's sake. Values are read whole, however long.
Settings LoadSettings(const std::string& path = kConfigFileName);

// Writes both values, the numbers first, in one whole-file replace; the
// endpoint and everything else in the file stay as they are. Throws
// SettingsWriteError when the file cannot be written.
void SaveSettings(const std::string& numbers, const std::string& refreshTime,
                  const std::string& path = kConfigFileName);

// The refresh-time box's choices, in the order they are listed:
// "15", "60", "120", "180", "240". The default "30" is not among them.
const std::vector<std::string>& RefreshChoices();

}  // namespace umbra::settings
