#include "watch/watch_texts.h"

#include "watch/gbk.h"

namespace umbra::texts {

namespace {
std::string FromUtf8(const char* utf8) { return Utf8ToGbk(utf8, OnInvalid::Throw); }
}  // namespace

const std::string& EmptyNumbers() {
  static const std::string text = FromUtf8("对不起,号码列表不能为空!");
  return text;
}

const std::string& BadRefreshTime() {
  static const std::string text = FromUtf8("[刷新时间]参数必须是有效数字!");
  return text;
}

const std::string& WentOffline() {
  static const std::string text = FromUtf8("离线");
  return text;
}

const std::string& CameOnline() {
  static const std::string text = FromUtf8("在线!");
  return text;
}

const std::string& WentInvisible() {
  static const std::string text = FromUtf8("隐身中!");
  return text;
}

const std::string& CameOnlineAgain() {
  static const std::string text = FromUtf8("上线了!!!");
  return text;
}

const std::string& LoadFailedPrefix() {
  static const std::string text = FromUtf8("---远程数据加载失败----错误代码:");
  return text;
}

}  // namespace umbra::texts
