#include "watch/watch_texts.h"

#include "base/gbk.h"

namespace umbra::texts {

namespace {

// Each text is converted to GBK once, the first time it is needed.
template <const char* Utf8>
const std::string& Gbk() {
  static const std::string text = Utf8ToGbk(Utf8, OnInvalid::Throw);
  return text;
}

constexpr char kEmptyNumbers[] = "对不起,号码列表不能为空!";
constexpr char kBadRefreshTime[] = "[刷新时间]参数必须是有效数字!";
constexpr char kWentOffline[] = "离线";
constexpr char kCameOnline[] = "在线!";
constexpr char kWentInvisible[] = "隐身中!";
constexpr char kCameOnlineAgain[] = "上线了!!!";
constexpr char kLoadFailedPrefix[] = "---远程数据加载失败----错误代码:";

}  // namespace

const std::string& EmptyNumbers() { return Gbk<kEmptyNumbers>(); }
const std::string& BadRefreshTime() { return Gbk<kBadRefreshTime>(); }
const std::string& WentOffline() { return Gbk<kWentOffline>(); }
const std::string& CameOnline() { return Gbk<kCameOnline>(); }
const std::string& WentInvisible() { return Gbk<kWentInvisible>(); }
const std::string& CameOnlineAgain() { return Gbk<kCameOnlineAgain>(); }
const std::string& LoadFailedPrefix() { return Gbk<kLoadFailedPrefix>(); }

}  // namespace umbra::texts
