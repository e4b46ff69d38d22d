#pragma once
// The watch's own texts, as the GBK bytes the event log, the history files
// and the message boxes carry. Written here in UTF-8 for reading.

#include <string>

namespace umbra::texts {

// Input messages, shown in the plain message box.
const std::string& EmptyNumbers();        // "对不起,号码列表不能为空!"
const std::string& BadRefreshTime();      // "[刷新时间]参数必须是有效数字!"

// Event texts for a changed state code, before and after the first
// successful scan of a watch.
const std::string& WentOffline();         // "离线"
const std::string& CameOnline();          // "在线!"
const std::string& WentInvisible();       // "隐身中!"
const std::string& CameOnlineAgain();     // "上线了!!!"

// Starts the event-log line of a failed scan, before the error's message.
const std::string& LoadFailedPrefix();    // "---远程数据加载失败----错误代码:"

// Between the date-time text and the rest of a change or history line.
inline constexpr char kLineSeparator[] = "-----";

}  // namespace umbra::texts
